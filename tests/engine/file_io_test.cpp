// The output file: whole or nothing, links followed, bits kept, faults handled.
#include <gtest/gtest.h>

#include "engine/io/output_file.hpp"

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/fault_file_system.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

using test::FaultFileSystem;
using test::FileCall;
using test::TempDir;

constexpr char kOldText[] = "old contents\n";
const std::vector<std::string> kPieces = {"STARTFONT 2.1\n", "CHARS 0\n", "ENDFONT\n"};
constexpr char kWholeText[] = "STARTFONT 2.1\nCHARS 0\nENDFONT\n";

struct Outcome {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = ErrorDetail::kNone;
};

// Writes kPieces as a font would be written, then the commit. Stops at the
// first failure and reports it.
Outcome write_font(FileSystem& fs, const std::string& target) {
  Outcome outcome;
  OutputFile file(fs);
  outcome.result = file.create(target.c_str(), &outcome.detail);
  for (const std::string& piece : kPieces) {
    if (failed(outcome.result)) return outcome;
    outcome.result = file.write_exact(piece.data(), piece.size(), &outcome.detail);
  }
  if (succeeded(outcome.result)) outcome.result = file.commit(&outcome.detail);
  return outcome;
}

#ifndef _WIN32
std::uint32_t permissions_of(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return static_cast<std::uint32_t>(status.st_mode & 07777);
}
#endif

TEST(OutputFile, CommitReplacesExistingFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  OutputFile file(system_file_system());
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(file.create(target.c_str(), &detail), ResultCode::kOk);
  ASSERT_EQ(file.write_exact(kWholeText, sizeof kWholeText - 1, &detail), ResultCode::kOk);
  // Until the commit, the target still holds what it held.
  EXPECT_EQ(test::read_text(target), kOldText);
  ASSERT_EQ(file.commit(&detail), ResultCode::kOk);
  EXPECT_EQ(detail, ErrorDetail::kNone);
  EXPECT_EQ(test::read_text(target), kWholeText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

TEST(OutputFile, DestroyedWithoutCommitLeavesNothing) {
  // Once with an unnamed temporary where the file system has them, once with
  // a named one.
  for (const bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
    TempDir dir;
    FaultFileSystem fs;
    if (!unnamed) fs.fail_call(FileCall::kCreateUnnamed, 1);
    {
      OutputFile file(fs);
      ASSERT_EQ(file.create(dir.file("font.bdf").c_str(), nullptr), ResultCode::kOk);
      const std::string big(OutputFile::kBufferSize + 10, 'x');  // reaches the file
      ASSERT_EQ(file.write_exact(big.data(), big.size(), nullptr), ResultCode::kOk);
      EXPECT_EQ(fs.calls(FileCall::kWrite), 1);
      // A file system without unnamed files gets a named one instead.
      const bool named = fs.calls(FileCall::kCreateNew) == 1;
      EXPECT_EQ(dir.entries().size(), named ? 1u : 0u);
    }
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_EQ(fs.open_handles(), 0);
  }
}

// The calls a replacing write makes, in order, from its first write on.
std::vector<FileCall> calls_from_first_write(const FaultFileSystem& fs) {
  const std::vector<FileCall>& log = fs.log();
  auto first = log.begin();
  while (first != log.end() && *first != FileCall::kWrite) ++first;
  return {first, log.end()};
}

TEST(OutputFile, ReplacedFileIsWrittenSyncedClosedRenamedThenItsDirectorySynced) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  FaultFileSystem fs;
  fs.fail_call(FileCall::kCreateUnnamed, 1);  // as on a file system without unnamed files
  ASSERT_EQ(write_font(fs, target).result, ResultCode::kOk);
#ifdef _WIN32
  // The temporary, marked for deletion when it was made, is kept again just
  // before it is closed.
  EXPECT_EQ(calls_from_first_write(fs),
            (std::vector<FileCall>{FileCall::kWrite, FileCall::kSync, FileCall::kSetDiscardOnClose,
                                   FileCall::kClose, FileCall::kRename, FileCall::kSyncDirectory}));
#else
  EXPECT_EQ(calls_from_first_write(fs),
            (std::vector<FileCall>{FileCall::kWrite, FileCall::kSync, FileCall::kClose,
                                   FileCall::kRename, FileCall::kSyncDirectory}));
#endif
  EXPECT_EQ(test::read_text(target), kWholeText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

TEST(OutputFile, UnnamedTemporaryIsNamedOnlyAfterItsSync) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  FaultFileSystem fs;
  ASSERT_EQ(write_font(fs, target).result, ResultCode::kOk);
  if (fs.calls(FileCall::kCreateNew) != 0) GTEST_SKIP() << "no unnamed files in this directory";
  EXPECT_EQ(calls_from_first_write(fs),
            (std::vector<FileCall>{FileCall::kWrite, FileCall::kSync, FileCall::kLinkUnnamed,
                                   FileCall::kClose, FileCall::kRename, FileCall::kSyncDirectory}));
  EXPECT_EQ(test::read_text(target), kWholeText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

TEST(OutputFile, DeviceIsNeitherSyncedNorRenamed) {
  FaultFileSystem fs;
  ASSERT_EQ(write_font(fs, "/dev/null").result, ResultCode::kOk);
  EXPECT_EQ(calls_from_first_write(fs),
            (std::vector<FileCall>{FileCall::kWrite, FileCall::kClose}));
  EXPECT_EQ(fs.calls(FileCall::kCreateNew) + fs.calls(FileCall::kCreateUnnamed), 0);
  EXPECT_EQ(fs.open_handles(), 0);
}

TEST(OutputFile, FailedSyncKeepsTheTargetAndLeavesNoTemporary) {
  for (const bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
    TempDir dir;
    const std::string target = dir.file("font.bdf");
    test::write_text(target, kOldText);
    FaultFileSystem fs;
    if (!unnamed) fs.fail_call(FileCall::kCreateUnnamed, 1);
    fs.fail_call(FileCall::kSync, 1);
    const Outcome outcome = write_font(fs, target);
    EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
    EXPECT_EQ(outcome.detail, ErrorDetail::kFileAccess);
    EXPECT_EQ(fs.calls(FileCall::kRename), 0);
    EXPECT_EQ(test::read_text(target), kOldText);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
    EXPECT_EQ(fs.open_handles(), 0);
  }
}

// Fails every call of a replacing write in turn, each at every count it
// reaches in a clean run. Whatever fails, the font is either fully replaced
// or untouched, no temporary stays and no handle stays open; the calls whose
// failure may not be ignored fail the write with -6 and detail -2.
struct SweepMode {
  const char* name;
  bool unnamed;  // false: as on a file system without unnamed files
  bool target_exists;
};

void PrintTo(const SweepMode& row, std::ostream* out) { *out << row.name; }

class OutputFileSweep : public ::testing::TestWithParam<SweepMode> {};

TEST_P(OutputFileSweep, EveryFailedCallReplacesWholeOrNotAtAll) {
  const SweepMode mode = GetParam();
  const auto prepare = [&](TempDir& dir, FaultFileSystem& fs) {
    if (mode.target_exists) test::write_text(dir.file("font.bdf"), kOldText);
    if (!mode.unnamed) fs.fail_call(FileCall::kCreateUnnamed, 1);
  };
  std::array<int, test::kFileCallKinds> clean_calls{};
  {
    TempDir dir;
    FaultFileSystem fs;
    prepare(dir, fs);
    ASSERT_EQ(write_font(fs, dir.file("font.bdf")).result, ResultCode::kOk);
    for (std::size_t kind = 0; kind < test::kFileCallKinds; ++kind) {
      clean_calls[kind] = fs.calls(static_cast<FileCall>(kind));
    }
  }
  // Failures the write goes on without: another kind of temporary, an owner
  // the process may not give, a mark the system does not have, a probe
  // closed after nothing was written through it; and a check of a name.
  const auto may_succeed = [](FileCall call) {
    return call == FileCall::kCreateUnnamed || call == FileCall::kSetOwner ||
           call == FileCall::kSetDiscardOnClose || call == FileCall::kInspect ||
           call == FileCall::kClose;
  };
  int failures = 0;
  for (std::size_t kind = 0; kind < test::kFileCallKinds; ++kind) {
    const auto call = static_cast<FileCall>(kind);
    if (!mode.unnamed && call == FileCall::kCreateUnnamed) continue;  // failed already
    for (int nth = 1; nth <= clean_calls[kind]; ++nth) {
      SCOPED_TRACE("call kind " + std::to_string(kind) + ", number " + std::to_string(nth));
      TempDir dir;
      FaultFileSystem fs;
      prepare(dir, fs);
      fs.fail_call(call, nth);
      const Outcome outcome = write_font(fs, dir.file("font.bdf"));
      EXPECT_EQ(fs.open_handles(), 0);
      const std::vector<std::string> entries = dir.entries();
      if (call == FileCall::kSyncDirectory) {
        // The directory is synced after the rename: reported, but the font is there.
        EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
        EXPECT_EQ(test::read_text(dir.file("font.bdf")), kWholeText);
        EXPECT_EQ(entries, std::vector<std::string>{"font.bdf"});
        continue;
      }
      if (succeeded(outcome.result)) {
        EXPECT_TRUE(may_succeed(call));
        EXPECT_EQ(test::read_text(dir.file("font.bdf")), kWholeText);
        EXPECT_EQ(entries, std::vector<std::string>{"font.bdf"});
        continue;
      }
      ++failures;
      EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
      EXPECT_EQ(outcome.detail, ErrorDetail::kFileAccess);
      if (mode.target_exists) {
        EXPECT_EQ(test::read_text(dir.file("font.bdf")), kOldText);
        EXPECT_EQ(entries, std::vector<std::string>{"font.bdf"});
      } else {
        EXPECT_TRUE(entries.empty());
      }
    }
  }
  EXPECT_GT(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, OutputFileSweep,
                         ::testing::Values(SweepMode{"UnnamedReplacing", true, true},
                                           SweepMode{"UnnamedNew", true, false},
                                           SweepMode{"NamedReplacing", false, true},
                                           SweepMode{"NamedNew", false, false}),
                         [](const ::testing::TestParamInfo<SweepMode>& row) {
                           return std::string(row.param.name);
                         });

TEST(OutputFile, FaultlessRunMakesOneWriteAndClosesEverything) {
  TempDir dir;
  FaultFileSystem fs;
  const Outcome outcome = write_font(fs, dir.file("font.bdf"));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(fs.calls(FileCall::kWrite), 1);
  EXPECT_EQ(fs.calls(FileCall::kSync), 1);
  EXPECT_EQ(fs.calls(FileCall::kSyncDirectory), 1);
  EXPECT_EQ(fs.calls(FileCall::kRename), 1);
  EXPECT_EQ(fs.open_handles(), 0);
  EXPECT_EQ(test::read_text(dir.file("font.bdf")), kWholeText);
}

TEST(OutputFile, TakenTemporaryNameIsRetried) {
  TempDir dir;
  // The first name tried is taken by someone else: the temporary is found to
  // exist, so another name is generated.
  class TakenOnce final : public FaultFileSystem {
   public:
    PathInfo inspect(const char* path) override {
      PathInfo info = FaultFileSystem::inspect(path);
      if (calls(FileCall::kInspect) == 2) info.kind = PathInfo::Kind::kRegular;
      return info;
    }
  } fs;
  fs.fail_call(FileCall::kCreateUnnamed, 1);
  fs.fail_call(FileCall::kCreateNew, 1);
  const Outcome outcome = write_font(fs, dir.file("font.bdf"));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(fs.calls(FileCall::kCreateNew), 2);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

// POSIX only: devices, pipes, symbolic links and permission bits. The Windows
// build checks its own cases (NUL, read-only attribute, sharing) in
// tests/windows/win32_file_system_test.cpp.
#ifndef _WIN32
TEST(OutputFile, DevFullFailsWithFileAccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  const Outcome outcome = write_font(system_file_system(), "/dev/full");
  EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
  EXPECT_EQ(outcome.detail, ErrorDetail::kFileAccess);
}

TEST(OutputFile, DevNullIsWrittenDirectly) {
  FaultFileSystem fs;
  const Outcome outcome = write_font(fs, "/dev/null");
  EXPECT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(fs.calls(FileCall::kCreateNew), 0);
  EXPECT_EQ(fs.calls(FileCall::kRename), 0);
  EXPECT_EQ(fs.open_handles(), 0);
}

TEST(OutputFile, PipeIsWrittenDirectly) {
  TempDir dir;
  const std::string pipe_path = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe_path.c_str(), 0600), 0);
  // A reader must exist before a pipe can be opened for writing without waiting.
  const int reader = ::open(pipe_path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const Outcome outcome = write_font(system_file_system(), pipe_path);
  EXPECT_EQ(outcome.result, ResultCode::kOk);
  std::array<char, 64> received{};
  const ssize_t got = ::read(reader, received.data(), received.size());
  ::close(reader);
  ASSERT_GT(got, 0);
  EXPECT_EQ(std::string(received.data(), static_cast<std::size_t>(got)), kWholeText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"pipe"});
}

TEST(OutputFile, SymbolicLinkIsFollowedAndKept) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "fonts");
  const std::string real = dir.file("fonts/real.bdf");
  test::write_text(real, kOldText);
  const std::string link = dir.file("link.bdf");
  std::filesystem::create_symlink("fonts/real.bdf", link);
  ASSERT_EQ(write_font(system_file_system(), link).result, ResultCode::kOk);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::filesystem::read_symlink(link), "fonts/real.bdf");
  EXPECT_EQ(test::read_text(real), kWholeText);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"fonts", "link.bdf"}));
}

TEST(OutputFile, LinkToAFileNotMadeYetCreatesItThere) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "fonts");
  const std::string link = dir.file("link.bdf");
  std::filesystem::create_symlink("fonts/new.bdf", link);
  std::filesystem::create_symlink("link.bdf", dir.file("chain.bdf"));
  ASSERT_EQ(write_font(system_file_system(), dir.file("chain.bdf")).result, ResultCode::kOk);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(test::read_text(dir.file("fonts/new.bdf")), kWholeText);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"chain.bdf", "fonts", "link.bdf"}));
}

TEST(OutputFile, LoopOfLinksFails) {
  TempDir dir;
  std::filesystem::create_symlink("b.bdf", dir.file("a.bdf"));
  std::filesystem::create_symlink("a.bdf", dir.file("b.bdf"));
  const Outcome outcome = write_font(system_file_system(), dir.file("a.bdf"));
  EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
  EXPECT_EQ(outcome.detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.bdf", "b.bdf"}));
}

TEST(OutputFile, ReplacedFileKeepsItsPermissionBits) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  // Bits a umask would normally take away show that none was applied.
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  ASSERT_EQ(write_font(system_file_system(), target).result, ResultCode::kOk);
  EXPECT_EQ(permissions_of(target), 0666u);
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(write_font(system_file_system(), target).result, ResultCode::kOk);
  EXPECT_EQ(permissions_of(target), 0640u);
}

TEST(OutputFile, NewFileGetsTheUsualBitsUnderTheUmask) {
  TempDir dir;
  const mode_t saved = ::umask(022);
  const Outcome outcome = write_font(system_file_system(), dir.file("font.bdf"));
  ::umask(saved);
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(permissions_of(dir.file("font.bdf")), 0644u);
}

#endif  // !_WIN32

#ifndef _WIN32
// Runs body in a child process; as root the child first becomes the unprivileged
// user nobody, for whom permissions hold. The child's exit status is body's.
int run_without_privileges(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(2);
    }
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Root may write any file, so the refusal is tried by an unprivileged user
// that owns both the folder and the read-only font.
TEST(OutputFile, ReadOnlyTargetKeepsItsContents) {
  TempDir dir;
  const std::string folder = dir.file("fonts");
  std::filesystem::create_directory(folder);
  const std::string target = folder + "/font.bdf";
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
  const int status = run_without_privileges([&] {
    test::write_text(target, kOldText);
    if (::chmod(target.c_str(), 0444) != 0) return false;
    const Outcome outcome = write_font(system_file_system(), target);
    return outcome.result == ResultCode::kFileAccess && outcome.detail == ErrorDetail::kFileAccess;
  });
  ASSERT_EQ(status, 0);
  EXPECT_EQ(test::read_text(target), kOldText);
  EXPECT_EQ(permissions_of(target), 0444u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(OutputFile, WritableFontInADirectoryThatRefusesNewFilesIsWrittenInPlace) {
  TempDir dir;
  const std::string folder = dir.file("fonts");
  std::filesystem::create_directory(folder);
  const std::string target = folder + "/font.bdf";
  test::write_text(target, std::string(200, 'o'));  // longer than the new font
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const int status = run_without_privileges([&] {
    FaultFileSystem fs;
    return succeeded(write_font(fs, target).result) && fs.calls(FileCall::kTruncate) == 1 &&
           fs.calls(FileCall::kRename) == 0 && fs.open_handles() == 0;
  });
  ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(test::read_text(target), kWholeText);
  EXPECT_EQ(permissions_of(target), 0666u);
  EXPECT_EQ(std::filesystem::directory_iterator(folder)->path().filename(), "font.bdf");
}
#endif  // !_WIN32

#ifndef _WIN32
// A font of this many bytes, in pieces the size of a bitmap line: two whole
// blocks of 128 KiB and a part of a third.
constexpr std::size_t kLongFontBytes = 300000;
constexpr std::size_t kBlockBytes = 128 * 1024;

std::string long_font_text() {
  std::string text;
  for (std::size_t line = 0; text.size() < kLongFontBytes; ++line) {
    text += std::to_string(line % 100000) + "\n";
  }
  text.resize(kLongFontBytes);
  return text;
}

Outcome write_text_in_lines(FileSystem& fs, const std::string& target, const std::string& text) {
  Outcome outcome;
  OutputFile file(fs);
  outcome.result = file.create(target.c_str(), &outcome.detail);
  constexpr std::size_t kLineBytes = 37;
  for (std::size_t at = 0; succeeded(outcome.result) && at < text.size(); at += kLineBytes) {
    const std::size_t count = std::min(kLineBytes, text.size() - at);
    outcome.result = file.write_exact(text.data() + at, count, &outcome.detail);
  }
  if (succeeded(outcome.result)) outcome.result = file.commit(&outcome.detail);
  return outcome;
}

// A named pipe as the target: written directly, in whole blocks of 128 KiB
// and the rest at the end, never synced, and nothing made beside it. A
// thread reads the other end as a program reading the pipe would.
TEST(OutputFile, PipeIsWrittenDirectlyInBlocksOf128KiB) {
  TempDir dir;
  const std::string pipe = dir.file("font.pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // Opened without waiting, so the writer finds a reader; then made to wait
  // for data again.
  const int reading = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reading, 0);
  ASSERT_EQ(::fcntl(reading, F_SETFL, ::fcntl(reading, F_GETFL) & ~O_NONBLOCK), 0);
  const std::string text = long_font_text();
  FaultFileSystem fs;
  std::string received;
  std::thread reader;
  Outcome outcome;
  {
    OutputFile file(fs);
    outcome.result = file.create(pipe.c_str(), &outcome.detail);
    if (succeeded(outcome.result)) {
      reader = std::thread([&] {
        char chunk[4096];
        for (ssize_t got; (got = ::read(reading, chunk, sizeof chunk)) > 0;) {
          received.append(chunk, static_cast<std::size_t>(got));
        }
      });
    }
    constexpr std::size_t kLineBytes = 37;
    for (std::size_t at = 0; succeeded(outcome.result) && at < text.size(); at += kLineBytes) {
      const std::size_t count = std::min(kLineBytes, text.size() - at);
      outcome.result = file.write_exact(text.data() + at, count, &outcome.detail);
    }
    if (succeeded(outcome.result)) outcome.result = file.commit(&outcome.detail);
  }  // the pipe is closed at the latest here, and the reader sees its end
  if (reader.joinable()) reader.join();
  ::close(reading);
  EXPECT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(fs.write_sizes(),
            (std::vector<std::size_t>{kBlockBytes, kBlockBytes, kLongFontBytes - 2 * kBlockBytes}));
  EXPECT_EQ(fs.calls(FileCall::kSync), 0);
  EXPECT_EQ(fs.calls(FileCall::kRename), 0);
  EXPECT_EQ(fs.calls(FileCall::kCreateUnnamed) + fs.calls(FileCall::kCreateNew), 0);
  EXPECT_EQ(received, text);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.pipe"});
}

// A character device takes the same blocks; /dev/null refuses a sync.
TEST(OutputFile, DeviceIsWrittenDirectlyInBlocksOf128KiB) {
  FaultFileSystem fs;
  const Outcome outcome = write_text_in_lines(fs, "/dev/null", long_font_text());
  EXPECT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(fs.write_sizes(),
            (std::vector<std::size_t>{kBlockBytes, kBlockBytes, kLongFontBytes - 2 * kBlockBytes}));
  EXPECT_EQ(fs.calls(FileCall::kSync), 0);
  EXPECT_EQ(fs.calls(FileCall::kRename), 0);
}

// Rewritten in place because the folder refuses new files, a font whose
// second block fails halfway is left as far as it got: the first block and
// the half that was written, nothing of the old contents.
TEST(OutputFile, FailedInPlaceRewriteLeavesThePartWritten) {
  TempDir dir;
  const std::string folder = dir.file("fonts");
  std::filesystem::create_directory(folder);
  const std::string target = folder + "/font.bdf";
  test::write_text(target, std::string(kLongFontBytes + 1000, 'o'));
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const std::string text = long_font_text();
  const int status = run_without_privileges([&] {
    FaultFileSystem fs;
    fs.fail_call(FileCall::kWrite, 2);  // a full disk: half the block goes out
    const Outcome outcome = write_text_in_lines(fs, target, text);
    return outcome.result == ResultCode::kFileAccess &&
           outcome.detail == ErrorDetail::kFileAccess && fs.calls(FileCall::kTruncate) == 1 &&
           fs.calls(FileCall::kRename) == 0 && fs.open_handles() == 0;
  });
  ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(test::read_text(target), text.substr(0, kBlockBytes + kBlockBytes / 2));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}
#endif  // !_WIN32

TEST(OutputFile, FullDiskNeverRewritesTheTargetInPlace) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  FaultFileSystem fs;
  // Neither temporary can be made, and the directory does not refuse them:
  // something else is wrong, and the old font must stay whole.
  fs.fail_call(FileCall::kCreateUnnamed, 1);
  fs.fail_call(FileCall::kCreateNew, 1);
  const Outcome outcome = write_font(fs, target);
  EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
  EXPECT_EQ(fs.calls(FileCall::kTruncate), 0);
  EXPECT_EQ(test::read_text(target), kOldText);
  EXPECT_EQ(fs.open_handles(), 0);
}

#ifndef _WIN32
TEST(OutputFile, ReplacedFontKeepsAnotherUsersOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  constexpr uid_t kOwner = 65534;
  constexpr gid_t kGroup = 65533;
  ASSERT_EQ(::chown(target.c_str(), kOwner, kGroup), 0);
  ASSERT_EQ(::chmod(target.c_str(), 02640), 0);  // a set-id bit survives the change of owner
  for (const bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
    FaultFileSystem fs;
    if (!unnamed) fs.fail_call(FileCall::kCreateUnnamed, 1);
    ASSERT_EQ(write_font(fs, target).result, ResultCode::kOk);
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, kOwner);
    EXPECT_EQ(status.st_gid, kGroup);
    EXPECT_EQ(status.st_mode & 07777, 02640u);
    EXPECT_EQ(test::read_text(target), kWholeText);
    test::write_text(target, kOldText);
  }
}
#endif  // !_WIN32

// Past MAX_PATH as a whole on Windows, where the file layer's long-path
// prefix must carry it.
TEST(OutputFile, NameNearTheLengthLimitWorks) {
  TempDir dir;
  const std::string name = std::string(251, 'n') + ".bdf";  // 255 bytes, the most a name may have
  ASSERT_EQ(write_font(system_file_system(), dir.file(name)).result, ResultCode::kOk);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
  EXPECT_EQ(test::read_text(dir.file(name)), kWholeText);
}

TEST(OutputFile, RelativeNameLandsInTheCurrentDirectory) {
  TempDir dir;
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const Outcome outcome = write_font(system_file_system(), "font.bdf");
  std::filesystem::current_path(saved);
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

TEST(OutputFile, WritesLargerThanTheBufferArriveInOrder) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  std::string big(200 * 1024, 'x');
  for (std::size_t at = 0; at < big.size(); at += 97) big[at] = static_cast<char>('a' + at % 26);
  const std::string small(40 * 1024, 'y');  // two of these overflow the buffer
  OutputFile file(system_file_system());
  ASSERT_EQ(file.create(target.c_str(), nullptr), ResultCode::kOk);
  ASSERT_EQ(file.write_exact(small.data(), small.size(), nullptr), ResultCode::kOk);
  ASSERT_EQ(file.write_exact(big.data(), big.size(), nullptr), ResultCode::kOk);
  ASSERT_EQ(file.write_exact(small.data(), small.size(), nullptr), ResultCode::kOk);
  ASSERT_EQ(file.write_exact(small.data(), small.size(), nullptr), ResultCode::kOk);
  ASSERT_EQ(file.write_exact(small.data(), 0, nullptr), ResultCode::kOk);
  ASSERT_EQ(file.commit(nullptr), ResultCode::kOk);
  EXPECT_EQ(test::read_text(target), small + big + small + small);
}

struct BadTargetCase {
  const char* name;
  const char* relative_path;  // inside the test directory
};

// Names the row in test listings.
void PrintTo(const BadTargetCase& row, std::ostream* out) { test::print_label(out, {row.name}); }

class OutputFileBadTarget : public ::testing::TestWithParam<BadTargetCase> {};

TEST_P(OutputFileBadTarget, FailsAndCreatesNothing) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  ErrorDetail detail = ErrorDetail::kNone;
  OutputFile file(system_file_system());
  EXPECT_EQ(file.create(dir.file(GetParam().relative_path).c_str(), &detail),
            ResultCode::kFileAccess);
  EXPECT_EQ(detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(file.write_exact("x", 1, nullptr), ResultCode::kFileAccess);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"sub"});
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "sub"));
}

INSTANTIATE_TEST_SUITE_P(Targets, OutputFileBadTarget,
                         ::testing::Values(BadTargetCase{"Directory", "sub"},
                                           BadTargetCase{"DirectoryWithSlash", "sub/"},
                                           BadTargetCase{"MissingDirectory", "missing/font.bdf"},
                                           BadTargetCase{"DotDot", "sub/.."}),
                         [](const ::testing::TestParamInfo<BadTargetCase>& row) {
                           return std::string(row.param.name);
                         });

TEST(OutputFile, WriteAfterAFailureKeepsFailing) {
  TempDir dir;
  FaultFileSystem fs;
  fs.fail_call(FileCall::kWrite, 1);
  OutputFile file(fs);
  ASSERT_EQ(file.create(dir.file("font.bdf").c_str(), nullptr), ResultCode::kOk);
  const std::string big(OutputFile::kBufferSize, 'x');  // fills the buffer: one write
  EXPECT_EQ(file.write_exact(big.data(), big.size(), nullptr), ResultCode::kFileAccess);
  EXPECT_FALSE(file.ok());
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_EQ(file.write_exact("abc", 3, nullptr), ResultCode::kFileAccess);
  EXPECT_EQ(file.commit(nullptr), ResultCode::kFileAccess);
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_EQ(fs.open_handles(), 0);
}

}  // namespace
}  // namespace vellicor
