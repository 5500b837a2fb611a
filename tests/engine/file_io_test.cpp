// The output file: whole or nothing, links followed, bits kept, faults handled.
#include "engine/file_io.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
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

constexpr char kOldText[] = "old contents\n";
const std::vector<std::string> kPieces = {"STARTFONT 2.1\n", "CHARS 0\n", "ENDFONT\n"};
constexpr char kWholeText[] = "STARTFONT 2.1\nCHARS 0\nENDFONT\n";

struct Outcome {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = ErrorDetail::kNone;
};

// Writes kPieces as a font would be written: each piece flushed on its own,
// then the commit. Stops at the first failure and reports it.
Outcome write_font(FileSystem& fs, const std::string& target) {
  Outcome outcome;
  OutputFile file(fs);
  outcome.result = file.create(target.c_str(), &outcome.detail);
  for (const std::string& piece : kPieces) {
    if (failed(outcome.result)) return outcome;
    outcome.result = file.write_exact(piece.data(), piece.size(), &outcome.detail);
    if (succeeded(outcome.result)) outcome.result = file.flush(&outcome.detail);
  }
  if (succeeded(outcome.result)) outcome.result = file.commit(&outcome.detail);
  return outcome;
}

std::uint32_t permissions_of(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return static_cast<std::uint32_t>(status.st_mode & 07777);
}

TEST(OutputFile, CommitReplacesExistingFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  OutputFile file(system_file_system());
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(file.create(target.c_str(), &detail), ResultCode::kOk);
  ASSERT_EQ(file.write_exact(kWholeText, sizeof kWholeText - 1, &detail), ResultCode::kOk);
  ASSERT_EQ(file.flush(&detail), ResultCode::kOk);
  // Until the commit, the target still holds what it held.
  EXPECT_EQ(test::read_text(target), kOldText);
  ASSERT_EQ(file.commit(&detail), ResultCode::kOk);
  EXPECT_EQ(detail, ErrorDetail::kNone);
  EXPECT_EQ(test::read_text(target), kWholeText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

TEST(OutputFile, DestroyedWithoutCommitLeavesNothing) {
  TempDir dir;
  {
    OutputFile file(system_file_system());
    ASSERT_EQ(file.create(dir.file("font.bdf").c_str(), nullptr), ResultCode::kOk);
    ASSERT_EQ(file.write_exact(kWholeText, sizeof kWholeText - 1, nullptr), ResultCode::kOk);
    ASSERT_EQ(file.flush(nullptr), ResultCode::kOk);
    EXPECT_EQ(dir.entries().size(), 1u);  // the temporary
  }
  EXPECT_TRUE(dir.entries().empty());
}

struct FaultCase {
  const char* name;
  FileCall call;
  int nth;
};

class OutputFileFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(OutputFileFault, FailsWithFileAccessAndLeavesTargetAsItWas) {
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  FaultFileSystem fs;
  fs.fail_call(GetParam().call, GetParam().nth);
  const Outcome outcome = write_font(fs, target);
  EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
  EXPECT_EQ(outcome.detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(fs.calls(GetParam().call), GetParam().nth);
  EXPECT_EQ(test::read_text(target), kOldText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
  EXPECT_EQ(fs.open_handles(), 0);
}

// With an existing target the file layer probes it for writing (open and close
// number 1), then creates the temporary and writes each piece once.
INSTANTIATE_TEST_SUITE_P(
    EveryStep, OutputFileFault,
    ::testing::Values(FaultCase{"ResolveLinks", FileCall::kResolveLinks, 1},
                      FaultCase{"ProbeOpen", FileCall::kOpenForWriting, 1},
                      FaultCase{"Create", FileCall::kCreateNew, 1},
                      FaultCase{"SetPermissions", FileCall::kSetPermissions, 1},
                      FaultCase{"FirstWrite", FileCall::kWrite, 1},
                      FaultCase{"SecondWrite", FileCall::kWrite, 2},
                      FaultCase{"LastWrite", FileCall::kWrite, 3},
                      FaultCase{"Close", FileCall::kClose, 2},
                      FaultCase{"Rename", FileCall::kRename, 1}),
    [](const ::testing::TestParamInfo<FaultCase>& row) { return std::string(row.param.name); });

TEST(OutputFile, FaultlessRunMakesOneWritePerFlushAndClosesEverything) {
  TempDir dir;
  FaultFileSystem fs;
  const Outcome outcome = write_font(fs, dir.file("font.bdf"));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(fs.calls(FileCall::kWrite), static_cast<int>(kPieces.size()));
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
  fs.fail_call(FileCall::kCreateNew, 1);
  const Outcome outcome = write_font(fs, dir.file("font.bdf"));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(fs.calls(FileCall::kCreateNew), 2);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

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

TEST(OutputFile, ReadOnlyTargetKeepsItsContents) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  TempDir dir;
  const std::string target = dir.file("font.bdf");
  test::write_text(target, kOldText);
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  const Outcome outcome = write_font(system_file_system(), target);
  EXPECT_EQ(outcome.result, ResultCode::kFileAccess);
  EXPECT_EQ(outcome.detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(test::read_text(target), kOldText);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"font.bdf"});
}

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
  ASSERT_EQ(file.write_exact("abc", 3, nullptr), ResultCode::kOk);
  EXPECT_EQ(file.flush(nullptr), ResultCode::kFileAccess);
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_EQ(file.write_exact("abc", 3, nullptr), ResultCode::kFileAccess);
  EXPECT_EQ(file.flush(nullptr), ResultCode::kFileAccess);
  EXPECT_EQ(file.commit(nullptr), ResultCode::kFileAccess);
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_EQ(fs.open_handles(), 0);
}

}  // namespace
}  // namespace vellicor
