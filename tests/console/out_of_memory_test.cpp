// Memory that runs out in the middle of a conversion reaches the user as the
// console's message: a preloaded shim makes the large array allocations fail
// (the picture's pixels), and cvellicor reports it and writes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/bmp_builder.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

// Runs cvellicor with arguments in directory, the shim preloaded to fail
// array allocations of fail_from_bytes or more.
ShellRun run_with_shim(const TempDir& directory, unsigned long long fail_from_bytes,
                       const std::string& arguments) {
  const std::string command =
      "cd '" + directory.path().string() +
      "' && LD_PRELOAD='" VELLICOR_TEST_ALLOCATION_SHIM "' VELLICOR_SHIM_FAIL_FROM_BYTES=" +
      std::to_string(fail_from_bytes) +
      // A sanitizer runtime would refuse to start behind a preloaded library.
      " ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0 '" +
      (binary_dir() / "cvellicor").string() + "' " + arguments;
  return run_shell(command);
}

// A strip of one glyph, 8,192 pixels wide and 1,100 rows high: 1,126,400
// bytes of pixels, more than any buffer the conversion needs besides them.
std::vector<std::uint8_t> large_strip() {
  std::vector<std::string> rows(1100, std::string(8192, '.'));
  rows[5][1] = '#';
  return make_one_bit_bmp(rows);
}

constexpr unsigned long long kOneMiB = 1024 * 1024;

TEST(CvellicorOutOfMemory, PixelsThatCannotBeHadGiveTheMessageAndNoFont) {
  TempDir directory;
  write_file(directory.file("strip.bmp"), large_strip());
  const ShellRun run = run_with_shim(directory, kOneMiB, "-o strip.bdf strip.bmp");
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output, "Out of memory for this operation\n");
  EXPECT_EQ(directory.entries(), std::vector<std::string>{"strip.bmp"});
}

TEST(CvellicorOutOfMemory, TheSameRunConvertsWhenMemoryLasts) {
  TempDir directory;
  write_file(directory.file("strip.bmp"), large_strip());
  const ShellRun run = run_with_shim(directory, 0, "-o strip.bdf strip.bmp");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(directory.entries(), (std::vector<std::string>{"strip.bdf", "strip.bmp"}));
}

}  // namespace
}  // namespace vellicor::test
