// The output file: whole or nothing, links followed, bits kept, faults handled.
#include "engine/file_io.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/fault_file_system.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

using test::FaultFileSystem;
using test::FileCall;
using test::TempDir;

constexpr char kFontText[] = "STARTFONT 2.1\nENDFONT\n";

ResultCode write_text(OutputFile& file, const std::string& text, ErrorDetail* detail) {
  return file.write_exact(text.data(), text.size(), detail);
}

TEST(OutputFile, CommitReplacesExistingFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, "old contents");
  {
    OutputFile file(system_file_system());
    ErrorDetail detail = ErrorDetail::kNone;
    ASSERT_EQ(file.create(target.c_str(), &detail), ResultCode::kOk);
    ASSERT_EQ(write_text(file, kFontText, &detail), ResultCode::kOk);
    // Until the commit, the target still holds what it held.
    EXPECT_EQ(test::read_text(target), "old contents");
    ASSERT_EQ(file.commit(&detail), ResultCode::kOk);
    EXPECT_EQ(detail, ErrorDetail::kNone);
  }
  EXPECT_EQ(test::read_text(target), kFontText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

TEST(OutputFile, DestroyedWithoutCommitLeavesNothing) {
  TempDir dir;
  {
    OutputFile file(system_file_system());
    ASSERT_EQ(file.create(dir.file("font.bdf").c_str(), nullptr), ResultCode::kOk);
    ASSERT_EQ(write_text(file, kFontText, nullptr), ResultCode::kOk);
    ASSERT_EQ(file.flush(nullptr), ResultCode::kOk);
    EXPECT_EQ(dir.entries().size(), 1u);  // the temporary
  }
  EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
}  // namespace vellicor
