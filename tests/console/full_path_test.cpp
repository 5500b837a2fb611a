// make_full_path: lexical normalisation and the buffer limits.
#include "console/full_path.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.hpp"

namespace vellicor::console {
namespace {

constexpr std::uint32_t kFieldSize = 260;

std::string full_path(const std::string& name, std::uint32_t size = kFieldSize) {
  std::string buffer(size, '\x01');
  if (failed(make_full_path(name.c_str(), buffer.data(), size))) return "<failed>";
  return buffer.c_str();
}

// Runs the test body inside a fresh directory, and returns to where it was.
class FullPath : public ::testing::Test {
 protected:
  FullPath() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory_.path());
    here_ = std::filesystem::current_path().string();
  }
  ~FullPath() override { std::filesystem::current_path(previous_); }

  test::TempDir directory_;
  std::filesystem::path previous_;
  std::string here_;
};

TEST_F(FullPath, JoinsRelativeNamesToTheCurrentDirectory) {
  EXPECT_EQ(full_path("strip.bmp"), here_ + "/strip.bmp");
  EXPECT_EQ(full_path("./a/./b.bmp"), here_ + "/a/b.bmp");
  EXPECT_EQ(full_path("a//b"), here_ + "/a/b");
  EXPECT_EQ(full_path("a/../b.bmp"), here_ + "/b.bmp");
  EXPECT_EQ(full_path("dir/"), here_ + "/dir/");
  EXPECT_EQ(full_path("."), here_);
  EXPECT_EQ(full_path("My Font.bmp"), here_ + "/My Font.bmp");
  const std::string parent = std::filesystem::path(here_).parent_path().string();
  EXPECT_EQ(full_path("../x.bdf"), parent + "/x.bdf");
}

TEST_F(FullPath, NormalisesAbsoluteNamesWithoutTheDisk) {
  EXPECT_EQ(full_path("/a/b/../c"), "/a/c");
  EXPECT_EQ(full_path("/../.."), "/");
  EXPECT_EQ(full_path("/"), "/");
  EXPECT_EQ(full_path("//a///b/."), "/a/b");
  EXPECT_EQ(full_path("/no/such/dir/../file"), "/no/such/file");
  EXPECT_EQ(full_path("/a\\b.bmp"), "/a\\b.bmp");
}

TEST_F(FullPath, DoesNotFollowSymbolicLinks) {
  std::filesystem::create_directories(directory_.path() / "real" / "deep");
  std::filesystem::create_directory_symlink(directory_.path() / "real" / "deep",
                                            directory_.path() / "link");
  // Through the disk, link/.. is real; by text it is the current directory.
  EXPECT_EQ(full_path("link/../x.bmp"), here_ + "/x.bmp");
}

TEST_F(FullPath, RefusesWhatDoesNotFitWithItsTerminator) {
  const std::string fits(kFieldSize - 1, 'a');
  EXPECT_EQ(full_path("/" + fits.substr(1)), "/" + fits.substr(1));
  std::string buffer(kFieldSize, '\x01');
  EXPECT_EQ(make_full_path(("/" + fits).c_str(), buffer.data(), kFieldSize),
            ResultCode::kTextTooLong);
  EXPECT_EQ(buffer, std::string(kFieldSize, '\x01'));
  // What matters is the normalised length, not the length given.
  EXPECT_EQ(full_path("/" + std::string(300, 'b') + "/../c"), "/c");
}

TEST_F(FullPath, RefusesEmptyName) {
  char buffer[kFieldSize];
  EXPECT_EQ(make_full_path("", buffer, kFieldSize), ResultCode::kTextUnavailable);
}

TEST_F(FullPath, FailsWithoutACurrentDirectoryForRelativeNamesOnly) {
  const std::filesystem::path gone = directory_.path() / "gone";
  std::filesystem::create_directory(gone);
  std::filesystem::current_path(gone);
  std::filesystem::remove(gone);
  char buffer[kFieldSize];
  EXPECT_EQ(make_full_path("strip.bmp", buffer, kFieldSize), ResultCode::kTextUnavailable);
  EXPECT_EQ(full_path("/abs/strip.bmp"), "/abs/strip.bmp");
}

}  // namespace
}  // namespace vellicor::console
