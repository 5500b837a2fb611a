// Failing file calls during a conversion: the right result and detail, no
// temporary left behind, and an existing font that keeps its contents.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/api/convert.hpp"
#include "tests/engine/font_conversion.hpp"
#include "tests/support/fault_file_system.hpp"

namespace vellicor::test {
namespace {

// Three glyphs, so that more than one record is written.
const std::vector<std::string> kRows = {
    "..........",
    ".#..#..#..",
    ".#..##.#..",
    ".#...#.#..",
};
const char kOldFont[] = "an older font\n";

ConversionOptions fault_options() {
  ConversionOptions options = plain_options("Faults");
  options.allowed_blank_columns = 1;
  return options;
}

// named: as on a file system without unnamed temporary files.
void prepare(FaultFileSystem& fs, bool named) {
  if (named) fs.fail_call(FileCall::kCreateUnnamed, 1);
}

// How often a successful conversion makes the call.
int calls_in_clean_run(FileCall call, bool named = false) {
  TempDir dir;
  FaultFileSystem fs;
  prepare(fs, named);
  const ConversionRun run = convert_rows(dir, kRows, fault_options(), {}, fs);
  EXPECT_EQ(run.result, ResultCode::kOk);
  return fs.calls(call);
}

struct FaultCase {
  const char* label;
  FileCall call;
  bool named;
};

void PrintTo(const FaultCase& row, std::ostream* out) { *out << row.label; }

class ConvertFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ConvertFault, EveryFailedCallKeepsOldOutput) {
  const int total = calls_in_clean_run(GetParam().call, GetParam().named);
#ifdef _WIN32
  // Windows has no unnamed temporaries, so their calls are never made there.
  if (total == 0) GTEST_SKIP() << "the Win32 file layer never makes this call";
#endif
  ASSERT_GT(total, 0);
  for (int nth = 1; nth <= total; ++nth) {
    SCOPED_TRACE("failing call " + std::to_string(nth) + " of " + std::to_string(total));
    TempDir dir;
    write_text(dir.file("out.bdf"), kOldFont);
    FaultFileSystem fs;
    prepare(fs, GetParam().named);
    fs.fail_call(GetParam().call, nth);
    const ConversionRun run = convert_rows(dir, kRows, fault_options(), {}, fs);
    EXPECT_EQ(run.result, ResultCode::kFileAccess);
    EXPECT_EQ(run.detail, ErrorDetail::kFileAccess);
    EXPECT_EQ(run.font, kOldFont);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.bmp", "out.bdf"}));
    EXPECT_EQ(fs.open_handles(), 0);
  }
}

TEST_P(ConvertFault, EveryFailedCallLeavesNoFile) {
  const int total = calls_in_clean_run(GetParam().call, GetParam().named);
#ifdef _WIN32
  // Windows has no unnamed temporaries, so their calls are never made there.
  if (total == 0) GTEST_SKIP() << "the Win32 file layer never makes this call";
#endif
  ASSERT_GT(total, 0);
  for (int nth = 1; nth <= total; ++nth) {
    SCOPED_TRACE("failing call " + std::to_string(nth) + " of " + std::to_string(total));
    TempDir dir;
    FaultFileSystem fs;
    prepare(fs, GetParam().named);
    fs.fail_call(GetParam().call, nth);
    const ConversionRun run = convert_rows(dir, kRows, fault_options(), {}, fs);
    EXPECT_EQ(run.result, ResultCode::kFileAccess);
    EXPECT_EQ(run.detail, ErrorDetail::kFileAccess);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
    EXPECT_EQ(fs.open_handles(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Calls, ConvertFault,
                         ::testing::Values(FaultCase{"Write", FileCall::kWrite, false},
                                           FaultCase{"Sync", FileCall::kSync, false},
                                           FaultCase{"Link", FileCall::kLinkUnnamed, false},
                                           FaultCase{"Rename", FileCall::kRename, false},
                                           FaultCase{"NamedCreate", FileCall::kCreateNew, true},
                                           FaultCase{"NamedWrite", FileCall::kWrite, true},
                                           FaultCase{"NamedSync", FileCall::kSync, true},
                                           FaultCase{"NamedRename", FileCall::kRename, true}),
                         [](const ::testing::TestParamInfo<FaultCase>& case_info) {
                           return std::string(case_info.param.label);
                         });

TEST(ConvertFault, FailedCloseNeverLeavesPartialFont) {
  const int total = calls_in_clean_run(FileCall::kClose);
  for (int nth = 1; nth <= total; ++nth) {
    SCOPED_TRACE("failing close " + std::to_string(nth) + " of " + std::to_string(total));
    TempDir dir;
    write_text(dir.file("out.bdf"), kOldFont);
    FaultFileSystem fs;
    fs.fail_call(FileCall::kClose, nth);
    const ConversionRun run = convert_rows(dir, kRows, fault_options(), {}, fs);
    // Closing the picture loses nothing; closing the font may.
    if (run.result == ResultCode::kOk) {
      EXPECT_EQ(run.font.substr(run.font.size() - 8), "ENDFONT\n");
    } else {
      EXPECT_EQ(run.result, ResultCode::kFileAccess);
      EXPECT_EQ(run.detail, ErrorDetail::kFileAccess);
      EXPECT_EQ(run.font, kOldFont);
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.bmp", "out.bdf"}));
    EXPECT_EQ(fs.open_handles(), 0);
  }
}

// A font of several buffers: every one of its write calls failed in turn.
TEST(ConvertFault, EveryWriteOfALargeFontKeepsOldOutput) {
  constexpr int kGlyphs = 8000;  // about 100 bytes each
  std::vector<std::string> rows(6, std::string(1, '.'));
  for (int glyph = 0; glyph < kGlyphs; ++glyph) {
    for (std::size_t row = 0; row < rows.size(); ++row) rows[row] += row == 0 ? "..." : "#..";
  }
  const int total = [&] {
    TempDir dir;
    FaultFileSystem fs;
    EXPECT_EQ(convert_rows(dir, rows, fault_options(), {}, fs).result, ResultCode::kOk);
    return fs.calls(FileCall::kWrite);
  }();
  ASSERT_GE(total, 3);
  for (int nth = 1; nth <= total; ++nth) {
    SCOPED_TRACE("failing write " + std::to_string(nth) + " of " + std::to_string(total));
    TempDir dir;
    write_text(dir.file("out.bdf"), kOldFont);
    FaultFileSystem fs;
    fs.fail_call(FileCall::kWrite, nth);
    const ConversionRun run = convert_rows(dir, rows, fault_options(), {}, fs);
    EXPECT_EQ(run.result, ResultCode::kFileAccess);
    EXPECT_EQ(run.detail, ErrorDetail::kFileAccess);
    EXPECT_EQ(run.font, kOldFont);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.bmp", "out.bdf"}));
    EXPECT_EQ(fs.calls(FileCall::kWrite), nth);  // nothing more is written after a failure
    EXPECT_EQ(fs.open_handles(), 0);
  }
}

TEST(ConvertFault, FullDeviceFailsWithFileAccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "this system has no /dev/full";
  TempDir dir;
  write_file(dir.file("in.bmp"), make_one_bit_bmp(kRows));
  const std::string input = dir.file("in.bmp");
  const ConversionPaths paths{input.c_str(), "/dev/full"};
  const ConversionOptions options = fault_options();
  ErrorDetail detail = ErrorDetail::kNone;
  EXPECT_EQ(convert_file(system_file_system(), &paths, &options, &detail), ResultCode::kFileAccess);
  EXPECT_EQ(detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
}

}  // namespace
}  // namespace vellicor::test
