// Reading a font file as a whole: the file read within its bound, gzip
// inflated first (one member or several, and refused when broken or past
// the bound), and bytes no reader knows refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/font/pcf_writer.hpp"
#include "engine/fontfile/font_file_reader.hpp"
#include "engine/fontfile/gzip_inflate.hpp"
#include "tests/engine/writer_test_fonts.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/temp_dir.hpp"

#ifdef VELLICOR_TEST_HAVE_ZLIB
#include <zlib.h>
#endif

namespace vellicor::test {
namespace {

struct Read {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = ErrorDetail::kNone;
  LoadedFont font;
};

Read read_bytes(const std::vector<std::uint8_t>& bytes) {
  Read read;
  read.result = read_font_bytes(bytes.data(), bytes.size(), read.font, &read.detail, nullptr);
  return read;
}

Read read_path(FileSystem& files, const std::string& path) {
  Read read;
  read.result = read_font_file(files, path.c_str(), read.font, &read.detail, nullptr);
  return read;
}

TEST(FontFileReader, RefusesBytesNoReaderKnows) {
  for (const std::vector<std::uint8_t>& bytes :
       {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'},
        std::vector<std::uint8_t>(64, 0)}) {
    const Read read = read_bytes(bytes);
    EXPECT_EQ(read.result, ResultCode::kUnusableInput);
    EXPECT_EQ(read.detail, ErrorDetail::kFontUnknown);
  }
}

TEST(FontFileReader, RefusesAMissingOrUnreadableFile) {
  const TempDir dir;
  const Read missing = read_path(system_file_system(), dir.file("missing.pcf"));
  EXPECT_EQ(missing.result, ResultCode::kFileAccess);
  EXPECT_EQ(missing.detail, ErrorDetail::kFileAccess);

  write_text(dir.file("font.pcf"), "some bytes");
  FaultFileSystem files;
  files.fail_call(FileCall::kRead, 1);
  const Read unreadable = read_path(files, dir.file("font.pcf"));
  EXPECT_EQ(unreadable.result, ResultCode::kFileAccess);
  EXPECT_EQ(unreadable.detail, ErrorDetail::kFileAccess);
  EXPECT_EQ(files.open_handles(), 0);
}

// A file past the bound is refused from its size, before a byte is read
// (the file is sparse: it takes no room on the disk).
TEST(FontFileReader, RefusesAFilePastTheBoundUnread) {
  const TempDir dir;
  const std::string path = dir.file("huge.pcf");
  write_text(path, "");
  std::filesystem::resize_file(path, kMaxFontFileBytes + 1);
  FaultFileSystem files;
  const Read read = read_path(files, path);
  EXPECT_EQ(read.result, ResultCode::kUnusableInput);
  EXPECT_EQ(read.detail, ErrorDetail::kFontTooLargeToDraw);
  EXPECT_EQ(files.calls(FileCall::kRead), 0);
  EXPECT_EQ(files.open_handles(), 0);
}

#ifdef VELLICOR_TEST_HAVE_ZLIB

// bytes as one gzip member, as gzip writes it.
std::vector<std::uint8_t> gzip(const std::vector<std::uint8_t>& bytes) {
  z_stream stream{};
  constexpr int kGzipWindowBits = 15 + 16;
  constexpr int kMemoryLevel = 8;
  EXPECT_EQ(deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel,
                         Z_DEFAULT_STRATEGY),
            Z_OK);
  std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32);
  stream.next_in = const_cast<Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::vector<std::uint8_t> written_pcf() {
  const TempDir dir;
  if (!write_bdf_and(dir, sample_strip_picture(), sample_strip_case(), write_pcf_font, "f.pcf")) {
    return {};
  }
  return read_file(dir.file("f.pcf"));
}

class WrittenPcf : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!reads_fonts_through_freetype())
      GTEST_SKIP() << "this build reads no font through FreeType";
    pcf_ = written_pcf();
    ASSERT_FALSE(pcf_.empty());
    plain_ = read_bytes(pcf_);
    ASSERT_EQ(plain_.result, ResultCode::kOk);
  }
  // The font read from compressed is the font read from the PCF itself.
  void expect_same_font(const std::vector<std::uint8_t>& compressed) {
    const Read read = read_bytes(compressed);
    ASSERT_EQ(read.result, ResultCode::kOk) << static_cast<int>(read.detail);
    EXPECT_EQ(read.font.kind, FontFileKind::kPcf);
    EXPECT_EQ(read.font.font_name, plain_.font.font_name);
    ASSERT_EQ(read.font.glyphs.size(), plain_.font.glyphs.size());
    for (std::size_t index = 0; index < read.font.glyphs.size(); ++index) {
      EXPECT_EQ(read.font.glyphs[index].code, plain_.font.glyphs[index].code);
      EXPECT_EQ(read.font.glyphs[index].lines, plain_.font.glyphs[index].lines);
    }
  }
  std::vector<std::uint8_t> pcf_;
  Read plain_;
};

// A file that starts as a PCF and breaks off is damaged, not unknown.
TEST_F(WrittenPcf, RefusesACutPcfAsDamaged) {
  const std::vector<std::uint8_t> cut(pcf_.begin(), pcf_.begin() + 100);
  const Read read = read_bytes(cut);
  EXPECT_EQ(read.result, ResultCode::kUnusableInput);
  EXPECT_EQ(read.detail, ErrorDetail::kFontDamaged);
}

TEST_F(WrittenPcf, ReadsOneGzipMemberAndMembersInARow) {
  expect_same_font(gzip(pcf_));
  const std::size_t half = pcf_.size() / 2;
  std::vector<std::uint8_t> members =
      gzip(std::vector<std::uint8_t>(pcf_.begin(), pcf_.begin() + static_cast<long>(half)));
  const std::vector<std::uint8_t> second =
      gzip(std::vector<std::uint8_t>(pcf_.begin() + static_cast<long>(half), pcf_.end()));
  members.insert(members.end(), second.begin(), second.end());
  expect_same_font(members);
}

TEST_F(WrittenPcf, ReadsAGzipFileThroughTheFileLayer) {
  const TempDir dir;
  write_file(dir.file("font.pcf.gz"), gzip(pcf_));
  const Read read = read_path(system_file_system(), dir.file("font.pcf.gz"));
  ASSERT_EQ(read.result, ResultCode::kOk) << static_cast<int>(read.detail);
  EXPECT_EQ(read.font.glyphs.size(), plain_.font.glyphs.size());
}

TEST_F(WrittenPcf, RefusesABrokenGzipStreamAsDamaged) {
  const std::vector<std::uint8_t> whole = gzip(pcf_);
  const std::vector<std::uint8_t> cut(whole.begin(),
                                      whole.begin() + static_cast<long>(whole.size() / 2));
  std::vector<std::uint8_t> trailing = whole;
  trailing.push_back('x');
  std::vector<std::uint8_t> corrupt = whole;
  corrupt[whole.size() / 2] ^= 0xFF;
  const std::vector<std::uint8_t> magic_only = {0x1f, 0x8b};
  for (const std::vector<std::uint8_t>& bytes : {cut, trailing, corrupt, magic_only}) {
    const Read read = read_bytes(bytes);
    EXPECT_EQ(read.result, ResultCode::kUnusableInput);
    EXPECT_EQ(read.detail, ErrorDetail::kFontDamaged);
  }
}

// The bound holds the inflated size, whatever the compressed one.
TEST(GzipInflate, RefusesAResultPastTheBound) {
  const std::vector<std::uint8_t> zeros(100000, 0);
  const std::vector<std::uint8_t> compressed = gzip(zeros);
  std::vector<std::uint8_t> inflated;
  ErrorDetail detail = ErrorDetail::kNone;
  EXPECT_EQ(inflate_gzip(compressed.data(), compressed.size(), zeros.size() - 1, inflated, &detail),
            ResultCode::kUnusableInput);
  EXPECT_EQ(detail, ErrorDetail::kFontTooLargeToDraw);
  EXPECT_TRUE(inflated.empty());
  ASSERT_EQ(inflate_gzip(compressed.data(), compressed.size(), zeros.size(), inflated, &detail),
            ResultCode::kOk);
  EXPECT_EQ(inflated, zeros);
}

#endif

}  // namespace
}  // namespace vellicor::test
