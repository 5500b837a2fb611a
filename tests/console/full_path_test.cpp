// make_full_path: lexical normalisation and the buffer limits.
#include "console/full_path.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.hpp"

namespace vellicor::console {
namespace {

constexpr std::uint32_t kFieldSize = 260;

std::string full_path(const std::string& name, std::uint32_t size = kFieldSize) {
  std::string buffer(size, '\x01');
  if (!supplied(make_full_path(name.c_str(), buffer.data(), size))) return "<failed>";
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

// The text rules of POSIX systems; Windows asks GetFullPathNameA (below).
#ifndef _WIN32
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
            FieldAnswer::kTextTooLong);
  EXPECT_EQ(buffer, std::string(kFieldSize, '\x01'));
  // What matters is the normalised length, not the length given.
  EXPECT_EQ(full_path("/" + std::string(300, 'b') + "/../c"), "/c");
}

#endif  // !_WIN32

TEST_F(FullPath, RefusesEmptyName) {
  char buffer[kFieldSize];
  EXPECT_EQ(make_full_path("", buffer, kFieldSize), FieldAnswer::kTextUnavailable);
}

#ifdef _WIN32
TEST_F(FullPath, KnowsDriveLettersAndBothSeparators) {
  EXPECT_EQ(full_path("C:\\fonts\\strip.bmp"), "C:\\fonts\\strip.bmp");
  EXPECT_EQ(full_path("C:/fonts/./old/../strip.bmp"), "C:\\fonts\\strip.bmp");
  EXPECT_EQ(full_path("C:\\fonts/mixed\\strip.bmp"), "C:\\fonts\\mixed\\strip.bmp");
  EXPECT_EQ(full_path("strip.bmp"), here_ + "\\strip.bmp");
  EXPECT_EQ(full_path(".\\a\\..\\b.bmp"), here_ + "\\b.bmp");
  // A rooted name without a drive lands on the current directory's drive.
  const std::string drive = std::filesystem::path(here_).root_name().string();
  EXPECT_EQ(full_path("\\fonts\\x.bdf"), drive + "\\fonts\\x.bdf");
}

TEST_F(FullPath, KeepsUncNamesAndDevicePrefixes) {
  EXPECT_EQ(full_path("\\\\server\\share\\dir\\..\\f.bmp"), "\\\\server\\share\\f.bmp");
  EXPECT_EQ(full_path("//server/share/f.bmp"), "\\\\server\\share\\f.bmp");
  EXPECT_EQ(full_path("\\\\?\\C:\\fonts\\f.bmp"), "\\\\?\\C:\\fonts\\f.bmp");
  EXPECT_EQ(full_path("NUL"), "\\\\.\\NUL");
}

TEST_F(FullPath, RefusesWhatDoesNotFitWithItsTerminator) {
  // GetFullPathNameA's second outcome: the size it would need.
  const std::string fits = "C:\\" + std::string(kFieldSize - 4, 'a');  // 259 characters
  EXPECT_EQ(full_path(fits), fits);
  std::string buffer(kFieldSize, '\x01');
  EXPECT_EQ(make_full_path((fits + "a").c_str(), buffer.data(), kFieldSize),
            FieldAnswer::kTextTooLong);
  EXPECT_EQ(buffer, std::string(kFieldSize, '\x01'));
  EXPECT_EQ(make_full_path("C:\\abc", buffer.data(), 6), FieldAnswer::kTextTooLong);
  EXPECT_EQ(buffer, std::string(kFieldSize, '\x01'));
  EXPECT_EQ(full_path("C:\\abc", 7), "C:\\abc");
  // Names longer than the call takes at all are too long as well.
  EXPECT_EQ(make_full_path(("C:\\" + std::string(400, 'b')).c_str(), buffer.data(), kFieldSize),
            FieldAnswer::kTextTooLong);
  // What matters is the length of the full path, not of the name given.
  EXPECT_EQ(full_path("C:\\" + std::string(200, 'b') + "\\..\\c"), "C:\\c");
}
#endif  // _WIN32

#ifndef _WIN32  // Windows keeps a current directory from being removed.
TEST_F(FullPath, FailsWithoutACurrentDirectoryForRelativeNamesOnly) {
  const std::filesystem::path gone = directory_.path() / "gone";
  std::filesystem::create_directory(gone);
  std::filesystem::current_path(gone);
  std::filesystem::remove(gone);
  char buffer[kFieldSize];
  EXPECT_EQ(make_full_path("strip.bmp", buffer, kFieldSize), FieldAnswer::kTextUnavailable);
  EXPECT_EQ(full_path("/abs/strip.bmp"), "/abs/strip.bmp");
}
#endif  // !_WIN32

}  // namespace
}  // namespace vellicor::console
