// The Win32 file layer through the convert operation: the spellings of a
// Windows path, the NUL device, read-only and shared-out targets, one file
// under two names, and where the temporary lives.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/api/convert.hpp"
#include "tests/engine/font_conversion.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

using test::FaultFileSystem;
using test::FileCall;
using test::TempDir;

const std::vector<std::string> kRows = {"......", ".##.#.", ".#..#.", "......"};
constexpr char kOldText[] = "old contents\n";

std::string with_slashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// Records the name of every file created, to see where the temporary goes.
class RecordingFileSystem final : public FaultFileSystem {
 public:
  FileHandle create_new(const char* path, std::uint32_t permissions) override {
    created.emplace_back(path);
    return FaultFileSystem::create_new(path, permissions);
  }
  std::vector<std::string> created;
};

class Win32Convert : public ::testing::Test {
 protected:
  Win32Convert() {
    input_ = dir_.file("strip.bmp");
    picture_ = test::make_one_bit_bmp(kRows);
    test::write_file(input_, picture_);
    // The font as the same conversion writes it under the plain name.
    expected_ = font_for(dir_.file("reference.bdf"));
    std::filesystem::remove(dir_.file("reference.bdf"));
  }

  std::string font_for(const std::string& output) {
    const ConversionOptions options = test::plain_options();
    const ConversionPaths paths{input_.c_str(), output.c_str()};
    ErrorDetail detail = ErrorDetail::kNone;
    EXPECT_EQ(convert_file(system_file_system(), &paths, &options, &detail), ResultCode::kOk)
        << output;
    return test::read_text(output);
  }

  struct Refusal {
    ResultCode result = ResultCode::kOk;
    ErrorDetail detail = ErrorDetail::kNone;
  };
  Refusal convert_to(FileSystem& fs, const std::string& output) {
    const ConversionOptions options = test::plain_options();
    const ConversionPaths paths{input_.c_str(), output.c_str()};
    Refusal refusal;
    refusal.result = convert_file(fs, &paths, &options, &refusal.detail);
    return refusal;
  }

  TempDir dir_;
  std::string input_;
  std::vector<std::uint8_t> picture_;
  std::string expected_;
};

TEST_F(Win32Convert, EverySpellingOfAPathWritesTheSameFont) {
  ASSERT_FALSE(expected_.empty());
  const std::string backslashed = dir_.file("a.bdf");
  ASSERT_EQ(backslashed.find('/'), std::string::npos) << backslashed;
  ASSERT_EQ(backslashed[1], ':') << "a drive letter leads the temporary directory";
  EXPECT_EQ(font_for(backslashed), expected_);
  EXPECT_EQ(font_for(with_slashes(dir_.file("b.bdf"))), expected_);
  // "\\?\" passes the name to the file system untouched; "\\.\" names it as
  // a device path.
  EXPECT_EQ(font_for("\\\\?\\" + dir_.file("c.bdf")), expected_);
  EXPECT_EQ(font_for("\\\\.\\" + dir_.file("d.bdf")), expected_);
  EXPECT_EQ(dir_.entries(),
            (std::vector<std::string>{"a.bdf", "b.bdf", "c.bdf", "d.bdf", "strip.bmp"}));
}

TEST_F(Win32Convert, DerivedNameOfABackslashPathSitsBesideThePicture) {
  for (const std::string& input : {input_, with_slashes(input_)}) {
    const ConversionOptions options = test::plain_options();
    const ConversionPaths paths{input.c_str(), nullptr};
    ASSERT_EQ(convert_file(system_file_system(), &paths, &options, nullptr), ResultCode::kOk);
    EXPECT_EQ(test::read_text(dir_.file("strip.bdf")), expected_);
    EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"strip.bdf", "strip.bmp"}));
  }
}

TEST_F(Win32Convert, TemporarySitsInTheTargetsDirectoryAndIsMovedOverIt) {
  test::write_text(dir_.file("font.bdf"), kOldText);
  RecordingFileSystem fs;
  ASSERT_EQ(convert_to(fs, dir_.file("font.bdf")).result, ResultCode::kOk);
  ASSERT_EQ(fs.created.size(), 1u);
  // The directory as the system names it ("\\?\C:\..."), for the same folder.
  std::string directory = std::filesystem::path(fs.created.front()).parent_path().string();
  if (directory.rfind("\\\\?\\", 0) == 0) directory.erase(0, 4);
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, directory.c_str(), -1,
                           dir_.path().string().c_str(), -1),
            CSTR_EQUAL)
      << fs.created.front();
  EXPECT_EQ(fs.calls(FileCall::kRename), 1);
  EXPECT_EQ(test::read_text(dir_.file("font.bdf")), expected_);
  EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"font.bdf", "strip.bmp"}));
}

// What keeps a temporary from outliving a process that ends before commit:
// the system deletes a marked file when its last handle closes.
TEST(Win32FileSystem, DiscardMarkDeletesTheFileWhenItsHandleClosesUnlessCleared) {
  TempDir dir;
  FileSystem& fs = system_file_system();
  for (const bool cleared : {false, true}) {
    const std::string path = dir.file(cleared ? "kept.tmp" : "dropped.tmp");
    const FileHandle file = fs.create_new(path.c_str(), 0666);
    ASSERT_NE(file, kInvalidHandle);
    std::size_t written = 0;
    ASSERT_TRUE(fs.write(file, "abc", 3, &written));
    ASSERT_TRUE(fs.set_discard_on_close(file, true));
    if (cleared) {
      ASSERT_TRUE(fs.set_discard_on_close(file, false));
    }
    ASSERT_TRUE(fs.sync(file));
    ASSERT_TRUE(fs.close(file));
    EXPECT_EQ(std::filesystem::exists(path), cleared) << path;
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"kept.tmp"});
}

TEST_F(Win32Convert, NulDeviceIsWrittenDirectly) {
  for (const char* device : {"NUL", "nul", "\\\\.\\NUL"}) {
    FaultFileSystem fs;
    EXPECT_EQ(convert_to(fs, device).result, ResultCode::kOk) << device;
    EXPECT_EQ(fs.calls(FileCall::kCreateNew), 0) << device;
    EXPECT_EQ(fs.calls(FileCall::kRename), 0) << device;
    EXPECT_EQ(fs.open_handles(), 0) << device;
  }
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"strip.bmp"});
}

TEST_F(Win32Convert, ReadOnlyTargetIsRefusedAndKeepsItsContents) {
  const std::string target = dir_.file("font.bdf");
  test::write_text(target, kOldText);
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  const Refusal refusal = convert_to(system_file_system(), target);
  EXPECT_EQ(refusal.result, ResultCode::kFileAccess);
  EXPECT_EQ(refusal.detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(test::read_text(target), kOldText);
  EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"font.bdf", "strip.bmp"}));
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL));
}

TEST_F(Win32Convert, TargetHeldOpenWithoutSharingIsRefusedAndKeepsItsContents) {
  const std::string target = dir_.file("font.bdf");
  test::write_text(target, kOldText);
  // Another holder that lets no one else read, write or delete: sharing is
  // checked per open handle, whichever process holds it.
  const HANDLE holder =
      CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const Refusal refusal = convert_to(system_file_system(), target);
  CloseHandle(holder);
  EXPECT_EQ(refusal.result, ResultCode::kFileAccess);
  EXPECT_EQ(refusal.detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(test::read_text(target), kOldText);
  EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"font.bdf", "strip.bmp"}));
}

TEST_F(Win32Convert, OutputThatIsTheInputUnderAnotherSpellingIsRefusedBeforeLoading) {
  std::string upper = input_;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  const std::string spellings[] = {input_, with_slashes(input_), upper, "\\\\?\\" + input_,
                                   dir_.file(".\\sub\\..\\strip.bmp")};
  std::filesystem::create_directory(dir_.path() / "sub");
  for (const std::string& output : spellings) {
    FaultFileSystem fs;
    const Refusal refusal = convert_to(fs, output);
    EXPECT_EQ(refusal.result, ResultCode::kFileAccess) << output;
    EXPECT_EQ(refusal.detail, ErrorDetail::kFileAccess) << output;
    EXPECT_EQ(fs.calls(FileCall::kOpenForReading), 0) << output << ": the picture was loaded";
    EXPECT_EQ(fs.open_handles(), 0) << output;
  }
  EXPECT_EQ(test::read_file(input_), picture_);
  EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"strip.bmp", "sub"}));
}

}  // namespace
}  // namespace vellicor
