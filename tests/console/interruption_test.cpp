// cvellicor interrupted while it writes a large font: SIGTERM, SIGINT,
// SIGHUP and SIGKILL at several exact points of the writing leave the output
// directory as it was, the old font whole and no other file. A preloaded shim
// (interrupt_shim.c) sends the signal right after a chosen number of bytes
// reached the temporary file, so the test needs no timing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

constexpr char kOldFont[] = "the font that was there before\n";
constexpr int kGlyphs = 65536;  // the benchmarks' large strip: 8 x 16 cells
constexpr std::size_t kCellWidth = 8;
constexpr std::size_t kCellHeight = 16;

// Each cell holds a glyph of 1 to 5 ink columns, starting one column in (the
// picture's column 0 never starts a glyph), with a varied pattern of ink.
std::vector<std::uint8_t> large_strip() {
  std::vector<std::string> rows(kCellHeight, std::string(kGlyphs * kCellWidth, '.'));
  for (std::size_t cell = 0; cell < kGlyphs; ++cell) {
    const std::size_t columns = 1 + cell % 5;
    for (std::size_t column = 1; column <= columns; ++column) {
      for (std::size_t row = 2; row < kCellHeight - 1; ++row) {
        if ((cell * 7 + column * 3 + row * 5) % 4 != 0 || row == 8) {
          rows[row][cell * kCellWidth + column] = '#';
        }
      }
    }
  }
  return make_one_bit_bmp(rows);
}

struct Interruption {
  int signal_number = 0;    // 0: none
  std::uint64_t after = 0;  // bytes written to the font's file first
  bool without_unnamed_files = false;
};

// Runs cvellicor -a 1 -o font.bdf strip.bmp in directory with the shim
// preloaded; returns the wait status.
int run_interrupted(const std::filesystem::path& directory, const Interruption& interruption) {
  const std::string program = (binary_dir() / "cvellicor").string();
  std::vector<std::string> texts{program, "-a", "1", "-o", "font.bdf", "strip.bmp"};
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment{
      std::string("LD_PRELOAD=") + VELLICOR_TEST_INTERRUPT_SHIM,
      "VELLICOR_SHIM_SIGNAL=" + std::to_string(interruption.signal_number),
      "VELLICOR_SHIM_AFTER_BYTES=" + std::to_string(interruption.after),
      // A sanitizer runtime would refuse to start behind a preloaded library.
      "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0",
  };
  if (interruption.without_unnamed_files) environment.emplace_back("VELLICOR_SHIM_NO_TMPFILE=1");
  std::vector<char*> envp;
  for (std::string& text : environment) envp.push_back(text.data());
  envp.push_back(nullptr);
  const std::string directory_text = directory.string();

  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(directory_text.c_str()) != 0) ::_exit(127);
    // Standard output is not what this test reads.
    const int null_output = ::open("/dev/null", O_WRONLY);
    if (null_output >= 0) ::dup2(null_output, STDOUT_FILENO);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
  return status;
}

class Interrupted : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { strip_ = new std::vector<std::uint8_t>(large_strip()); }
  static void TearDownTestSuite() {
    delete strip_;
    strip_ = nullptr;
  }

  // The size of the font that an uninterrupted run writes.
  static std::uint64_t font_size() {
    TempDir dir;
    write_file(dir.file("strip.bmp"), *strip_);
    const int status = run_interrupted(dir.path(), {});
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    return std::filesystem::file_size(dir.path() / "font.bdf");
  }

  // Interrupts a conversion over an older font at the start, the middle and
  // the end of its writing; each time the signal must have ended the process
  // and the directory must hold what it held before.
  static void expect_nothing_changes(int signal_number, bool without_unnamed_files) {
    const std::uint64_t size = font_size();
    ASSERT_GT(size, std::uint64_t{4} << 20);  // several buffers
    for (const std::uint64_t after : {std::uint64_t{1}, size / 2, size}) {
      SCOPED_TRACE("signal " + std::to_string(signal_number) + " after " + std::to_string(after) +
                   " of " + std::to_string(size) + " bytes");
      TempDir dir;
      write_file(dir.file("strip.bmp"), *strip_);
      write_text(dir.file("font.bdf"), kOldFont);
      const int status = run_interrupted(dir.path(), {signal_number, after, without_unnamed_files});
      EXPECT_TRUE(WIFSIGNALED(status)) << "status " << status;
      if (WIFSIGNALED(status)) {
        EXPECT_EQ(WTERMSIG(status), signal_number);
      }
      EXPECT_EQ(dir.entries(), (std::vector<std::string>{"font.bdf", "strip.bmp"}));
      EXPECT_EQ(read_text(dir.file("font.bdf")), kOldFont);
    }
  }

  static std::vector<std::uint8_t>* strip_;
};

std::vector<std::uint8_t>* Interrupted::strip_ = nullptr;

// Where the system has unnamed temporaries, even SIGKILL leaves nothing.
TEST_F(Interrupted, TermLeavesTheDirectoryAsItWas) { expect_nothing_changes(SIGTERM, false); }
TEST_F(Interrupted, IntLeavesTheDirectoryAsItWas) { expect_nothing_changes(SIGINT, false); }
TEST_F(Interrupted, KillLeavesTheDirectoryAsItWas) { expect_nothing_changes(SIGKILL, false); }

// Without them the console removes its named temporary before it ends.
TEST_F(Interrupted, TermRemovesTheNamedTemporary) { expect_nothing_changes(SIGTERM, true); }
TEST_F(Interrupted, IntRemovesTheNamedTemporary) { expect_nothing_changes(SIGINT, true); }
TEST_F(Interrupted, HangUpRemovesTheNamedTemporary) { expect_nothing_changes(SIGHUP, true); }

// The shim really takes unnamed files away, so the tests above reach the handler.
TEST_F(Interrupted, ShimWithoutUnnamedFilesLeavesANamedTemporaryToSigkill) {
  TempDir dir;
  write_file(dir.file("strip.bmp"), *strip_);
  const int status = run_interrupted(dir.path(), {SIGKILL, 1, true});
  ASSERT_TRUE(WIFSIGNALED(status));
  const std::vector<std::string> entries = dir.entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].rfind(".vlc", 0), 0u) << entries[0];
}

}  // namespace
}  // namespace vellicor::test
