// A character list file without end, read under a memory limit: cvellicor
// reads no more than the list limit of it and refuses it as too long, fast,
// instead of filling the memory it may have.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/bmp_builder.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/temp_dir.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define VELLICOR_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELLICOR_TEST_ADDRESS_SANITIZER 1
#endif
#endif

namespace vellicor::test {
namespace {

// Far more than the program needs for a small picture and the 1 MiB list,
// far less than an endless file would fill.
constexpr int kAddressSpaceKiB = 64 * 1024;
// Reading 1 MiB takes milliseconds; an unbounded read would take this long.
constexpr int kTimeoutSeconds = 20;

// Runs the shell script in directory; the script's last command is timed
// cvellicor under the memory limit, started as $CVELLICOR.
ShellRun run_script(const TempDir& directory, const std::string& script) {
  const std::string command = "cd '" + directory.path().string() + "' && CVELLICOR='" +
                              (binary_dir() / "cvellicor").string() + "' && " + script;
  return run_shell(command);
}

std::string limited_run(const std::string& list_path) {
  return "(ulimit -v " + std::to_string(kAddressSpaceKiB) + " && exec timeout " +
         std::to_string(kTimeoutSeconds) + " \"$CVELLICOR\" --chars-file " + list_path +
         " strip.bmp)";
}

class ListFileLimit : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef VELLICOR_TEST_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#endif
    write_file(directory_.file("strip.bmp"), make_one_bit_bmp({"....", ".##.", "...."}));
  }
  TempDir directory_;
};

TEST_F(ListFileLimit, ADeviceWithoutEndIsTooLong) {
  const ShellRun run = run_script(directory_, limited_run("/dev/zero"));
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output, "Character list is too long\n");
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"strip.bmp"});
}

TEST_F(ListFileLimit, APipeWhoseWriterNeverStopsIsTooLong) {
  // The writer ends when cvellicor closes the pipe (or at the timeout, should
  // cvellicor never open it).
  const ShellRun run =
      run_script(directory_, "mkfifo list.fifo && (timeout " + std::to_string(kTimeoutSeconds) +
                                 " sh -c 'cat /dev/zero > list.fifo' 2>/dev/null &) && " +
                                 limited_run("list.fifo"));
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output, "Character list is too long\n");
}

TEST_F(ListFileLimit, AHugeFileIsRefusedUnread) {
  // 200 MB, sparse: it costs no disk, and more than the limit to read whole.
  const ShellRun run =
      run_script(directory_, "truncate -s 200M huge.txt && " + limited_run("huge.txt"));
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.output, "Character list is too long\n");
}

}  // namespace
}  // namespace vellicor::test
