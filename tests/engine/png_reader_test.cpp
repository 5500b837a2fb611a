// The PNG reader on files built byte by byte: a good strip, then the same
// strip broken in every way a file breaks (cut short, bad checksums, bad
// compressed data, impossible or oversized dimensions), each refused with
// its own detail.
#include "engine/picture/png_reader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/limits.hpp"
#include "tests/engine/ink_map_text.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <objbase.h>
#include <windows.h>

#include <ostream>
#include <thread>
#endif

namespace vellicor {
namespace {

// clang-format off
const std::vector<std::string> kStrip = {
    "#...#..###...####",
    "#...#.#...#.#....",
    "#####.#####.#....",
    "#...#.#...#.#....",
    "#...#.#...#..####",
};
// clang-format on

class PngReader : public testing::Test {
 protected:
  void SetUp() override {
    if (!png_support_built()) GTEST_SKIP() << "built without PNG support";
  }
};

// The strip with its image data split over two IDAT chunks and a text chunk
// before them, so there are chunk boundaries inside the data as well.
std::vector<test::PngChunk> strip_chunks() {
  std::vector<test::PngChunk> chunks = test::grey_strip_chunks(kStrip);
  const std::vector<std::uint8_t> data = chunks[1].data;
  const auto middle = data.begin() + static_cast<std::ptrdiff_t>(data.size() / 2);
  const test::PngChunk note{"tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'}};
  return {chunks[0], note, test::PngChunk{"IDAT", {data.begin(), middle}},
          test::PngChunk{"IDAT", {middle, data.end()}}, chunks[2]};
}

ErrorDetail detail_of(const std::vector<std::uint8_t>& bytes) {
  const test::ReadPicture read = test::read_ink_bytes(bytes, InkRule::kBlack);
  EXPECT_NE(to_int(read.result), 0);
  EXPECT_EQ(read.map.pixels.bytes, nullptr);
  return read.detail;
}

TEST_F(PngReader, WellFormedStripReadsAsDrawn) {
  const test::ReadPicture read =
      test::read_ink_bytes(test::png_file(strip_chunks()), InkRule::kBlack);
  ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
  EXPECT_EQ(test::ink_map_rows(read.map), kStrip);
}

TEST_F(PngReader, CutAtEveryChunkBoundaryAndInsideEveryChunk) {
  const std::vector<test::PngChunk> chunks = strip_chunks();
  const std::vector<std::uint8_t> whole = test::png_file(chunks);
  const std::vector<std::size_t> boundaries = test::chunk_boundaries(chunks);
  std::vector<std::size_t> cuts;
  for (std::size_t i = 0; i + 1 < boundaries.size(); ++i) {
    cuts.push_back(boundaries[i]);                            // before the chunk
    cuts.push_back(boundaries[i] + 6);                        // inside its type
    cuts.push_back((boundaries[i] + boundaries[i + 1]) / 2);  // inside its data
    cuts.push_back(boundaries[i + 1] - 2);                    // inside its CRC
  }
  for (const std::size_t cut : cuts) {
    SCOPED_TRACE(cut);
    const std::vector<std::uint8_t> bytes(whole.begin(),
                                          whole.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(to_int(detail_of(bytes)), to_int(ErrorDetail::kPngTruncated));
  }
}

TEST_F(PngReader, BrokenChecksumOfEachCriticalChunk) {
  const std::vector<test::PngChunk> chunks = strip_chunks();
  const std::vector<std::size_t> boundaries = test::chunk_boundaries(chunks);
  for (const std::size_t chunk : {0u, 2u, 3u, 4u}) {  // IHDR, both IDAT, IEND
    SCOPED_TRACE(chunk);
    std::vector<std::uint8_t> bytes = test::png_file(chunks);
    bytes[boundaries[chunk + 1] - 1] ^= 0x01;
    EXPECT_EQ(to_int(detail_of(bytes)), to_int(ErrorDetail::kPngChecksum));
  }
}

TEST_F(PngReader, BrokenChecksumOfAnAncillaryChunkIsPassedOver) {
  // The text chunk carries nothing the ink depends on: it is dropped and the
  // picture reads as drawn.
  const std::vector<test::PngChunk> chunks = strip_chunks();
  const std::vector<std::size_t> boundaries = test::chunk_boundaries(chunks);
  std::vector<std::uint8_t> bytes = test::png_file(chunks);
  bytes[boundaries[2] - 1] ^= 0x01;  // the tEXt chunk's CRC
  const test::ReadPicture read = test::read_ink_bytes(bytes, InkRule::kBlack);
  ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
  EXPECT_EQ(test::ink_map_rows(read.map), kStrip);
}

// The strip's chunks, and pieces to build broken or unusual files of.
struct StripPieces {
  std::vector<test::PngChunk> good = test::grey_strip_chunks(kStrip);  // IHDR, IDAT, IEND
  test::PngChunk header = good[0];
  test::PngChunk data = good[1];
  test::PngChunk end = good[2];
  test::PngChunk note{"tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'}};

  // A text chunk of bytes bytes.
  static test::PngChunk long_note(std::size_t bytes) {
    test::PngChunk chunk{"tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0}};
    chunk.data.resize(bytes, 'x');
    return chunk;
  }
  // The image data with bytes after its zlib stream.
  test::PngChunk data_then_bytes() const {
    test::PngChunk chunk = data;
    chunk.data.insert(chunk.data.end(), {'m', 'o', 'r', 'e'});
    return chunk;
  }
  // The image data with zero bytes after the picture's rows.
  test::PngChunk data_with_more() const {
    // One stored block: the zlib header, the block's own five bytes, the
    // rows, the Adler-32.
    std::vector<std::uint8_t> rows(data.data.begin() + 7, data.data.end() - 4);
    rows.resize(rows.size() + 40, 0);
    return {"IDAT", test::zlib_stored(rows)};
  }
};

TEST_F(PngReader, ChunkLayoutRefusals) {
  const StripPieces p;
  const auto middle = p.data.data.begin() + static_cast<std::ptrdiff_t>(p.data.data.size() / 2);
  const test::PngChunk first_half{"IDAT", {p.data.data.begin(), middle}};
  const test::PngChunk second_half{"IDAT", {middle, p.data.data.end()}};
  // Five text chunks under the size limit of one, over the limit of all.
  std::vector<test::PngChunk> wordy = {p.header};
  for (int i = 0; i < 5; ++i) wordy.push_back(StripPieces::long_note(900 * 1024));
  wordy.insert(wordy.end(), {p.data, p.end});
  // A one-bit palette picture has two indices, so no more than two entries.
  const test::PngChunk palette_header = test::ihdr_chunk(17, 5, 1, 3);
  struct Case {
    const char* name;
    std::vector<test::PngChunk> chunks;
    ErrorDetail detail;
  };
#ifdef VELLICOR_TEST_PNG_WIC
  // WIC is handed image data in one run only.
  constexpr ErrorDetail kSplitData = ErrorDetail::kPngBadHeader;
#else
  // The first run of IDAT chunks is the image data, here too short.
  constexpr ErrorDetail kSplitData = ErrorDetail::kPngTruncated;
#endif
  const std::vector<Case> cases = {
      {"image data split by another chunk",
       {p.header, first_half, p.note, second_half, p.end},
       kSplitData},
      {"image data after the whole image data",
       {p.header, p.data, p.note, p.data, p.end},
       ErrorDetail::kPngBadHeader},
      {"unknown critical chunk",
       {p.header, {"ABCD", {1, 2}}, p.data, p.end},
       ErrorDetail::kPngBadHeader},
      {"no image data", {p.header, p.note, p.end}, ErrorDetail::kPngBadHeader},
      {"image data before the header", {p.data, p.header, p.end}, ErrorDetail::kPngBadHeader},
      {"two headers", {p.header, p.header, p.data, p.end}, ErrorDetail::kPngBadHeader},
      {"data in the end marker", {p.header, p.data, {"IEND", {0}}}, ErrorDetail::kPngBadHeader},
      {"palette picture without its palette",
       {palette_header, p.data, p.end},
       ErrorDetail::kPngBadHeader},
      {"more palette entries than indices",
       {palette_header, {"PLTE", {0, 0, 0, 1, 1, 1, 2, 2, 2}}, p.data, p.end},
       ErrorDetail::kPngBadHeader},
      {"text over the limit of all kept", wordy, ErrorDetail::kPictureTooLarge},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.name);
    EXPECT_EQ(to_int(detail_of(test::png_file(each.chunks))), to_int(each.detail));
  }
}

#ifndef VELLICOR_TEST_PNG_WIC
// Chunks out of place, repeated or not fitting the picture, which libspng
// and the stb_image reader pass over, and image data that goes on past the
// picture's rows: the strip still reads as drawn. (WIC decides about the
// chunks it is handed for itself.)
TEST_F(PngReader, ChunksPassedOver) {
  const StripPieces p;
  const test::PngChunk grey_palette{"PLTE", {0, 0, 0, 255, 255, 255}};
  const std::vector<std::vector<test::PngChunk>> files = {
      {p.header, grey_palette, p.data, p.end},                        // a palette, grey picture
      {p.header, {"tRNS", {0}}, p.data, p.end},                       // a grey key of one byte
      {p.header, {"tRNS", {0, 1}}, {"tRNS", {0, 0}}, p.data, p.end},  // a second key
      {p.header, p.data, {"tRNS", {0, 0}}, p.end},                    // a key after the data
      {p.header, StripPieces::long_note(kPngChunkSizeLimit + 1), p.data, p.end},
      {p.header, p.data_with_more(), p.end},
      {p.header, p.data_then_bytes(), p.end},
  };
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(i);
    const test::ReadPicture read = test::read_ink_bytes(test::png_file(files[i]), InkRule::kBlack);
    ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
    EXPECT_EQ(test::ink_map_rows(read.map), kStrip);
  }
}

// libspng and the stb_image reader draw an index the palette does not have
// as opaque black; what WIC makes of such pixels is its own affair.
TEST_F(PngReader, PaletteIndexPastTheGivenEntriesIsBlack) {
  // Two white entries, and pixels of indices 0, 1 and 2.
  const auto samples = [](std::uint32_t x, std::uint32_t) -> std::vector<std::uint16_t> {
    return {static_cast<std::uint16_t>(x)};
  };
  const std::vector<std::uint8_t> bytes =
      test::layout_png(3, 1, 2, 3, false, samples, {{"PLTE", {255, 255, 255, 255, 255, 255}}});
  for (const InkRule rule : {InkRule::kBlack, InkRule::kOpaque}) {
    const test::ReadPicture read = test::read_ink_bytes(bytes, rule);
    ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
    const std::vector<std::string> ink = {rule == InkRule::kBlack ? "..#" : "###"};
    EXPECT_EQ(test::ink_map_rows(read.map), ink);
  }
}
#endif

// A file broken in two places is refused for what a decoder reading it in
// order meets first: the header's values come before its checksum, and an
// IDAT's data before that chunk's checksum.
TEST_F(PngReader, FirstFaultInReadingOrder) {
  const std::vector<test::PngChunk> chunks = test::grey_strip_chunks(kStrip);
  const std::vector<std::size_t> boundaries = test::chunk_boundaries(chunks);
  {
    SCOPED_TRACE("bit depth 3, and the header's checksum");
    std::vector<test::PngChunk> broken = chunks;
    broken[0] = test::ihdr_chunk(17, 5, 3, 0);
    std::vector<std::uint8_t> bytes = test::png_file(broken);
    bytes[boundaries[1] - 1] ^= 0x01;
    EXPECT_EQ(to_int(detail_of(bytes)), to_int(ErrorDetail::kPngBadHeader));
  }
#ifndef VELLICOR_TEST_PNG_WIC  // WIC is handed no file with a wrong checksum
  {
    SCOPED_TRACE("the zlib header, and the image data's checksum");
    std::vector<std::uint8_t> bytes = test::png_file(chunks);
    bytes[boundaries[1] + 8 + 1] ^= 0x10;
    bytes[boundaries[2] - 1] ^= 0x01;
    EXPECT_EQ(to_int(detail_of(bytes)), to_int(ErrorDetail::kPngBadData));
  }
#endif
  {
    SCOPED_TRACE("the image data's checksum alone");
    std::vector<std::uint8_t> bytes = test::png_file(chunks);
    bytes[boundaries[2] - 1] ^= 0x01;
    EXPECT_EQ(to_int(detail_of(bytes)), to_int(ErrorDetail::kPngChecksum));
  }
}

TEST_F(PngReader, BrokenCompressedData) {
  const std::vector<test::PngChunk> good = test::grey_strip_chunks(kStrip);
  // A zlib header whose check bits are wrong; a stored block whose length
  // and complement disagree; a wrong Adler-32 at the end.
  for (const std::size_t at : {std::size_t{1}, std::size_t{5}, good[1].data.size() - 1}) {
    SCOPED_TRACE(at);
    std::vector<test::PngChunk> chunks = good;
    chunks[1].data[at] ^= 0x10;
    EXPECT_EQ(to_int(detail_of(test::png_file(chunks))), to_int(ErrorDetail::kPngBadData));
  }
}

TEST_F(PngReader, ImageDataEndingBeforeThePictureDoes) {
  // Complete chunks whose zlib stream holds only the first two rows.
  std::vector<test::PngChunk> chunks = test::grey_strip_chunks(kStrip);
  const std::vector<test::PngChunk> two_rows = test::grey_strip_chunks({kStrip[0], kStrip[1]});
  chunks[1] = two_rows[1];
  const ErrorDetail detail = detail_of(test::png_file(chunks));
#ifdef VELLICOR_TEST_PNG_WIC
  // WIC says only that the data did not decode.
  EXPECT_TRUE(detail == ErrorDetail::kPngTruncated || detail == ErrorDetail::kPngBadData)
      << to_int(detail);
#else
  EXPECT_EQ(to_int(detail), to_int(ErrorDetail::kPngTruncated));
#endif
}

TEST_F(PngReader, ImpossibleHeaderValuesBreakTheFormat) {
  struct Header {
    std::uint32_t width, height;
    std::uint8_t depth, colour_type;
  };
  // Zero sizes, a width past 2^31 - 1, a depth the colour type does not allow.
  for (const Header& header :
       {Header{0, 5, 1, 0}, Header{17, 0, 1, 0}, Header{0x80000000u, 5, 1, 0}, Header{17, 5, 3, 0},
        Header{17, 5, 8, 7}}) {
    std::vector<test::PngChunk> chunks = test::grey_strip_chunks(kStrip);
    chunks[0] = test::ihdr_chunk(header.width, header.height, header.depth, header.colour_type);
    EXPECT_EQ(to_int(detail_of(test::png_file(chunks))), to_int(ErrorDetail::kPngBadHeader))
        << header.width << " x " << header.height;
  }
}

TEST_F(PngReader, OversizedPictureExceedsTheLimitBeforeDecoding) {
  // Well-formed headers of pictures past the limit, over a few bytes of
  // data: refused for their size, not for the data that is missing.
  for (const auto& [width, height] : {std::pair{100000u, 100000u}, std::pair{(1u << 24) + 1, 1u},
                                      std::pair{1u, (1u << 24) + 1}}) {
    std::vector<test::PngChunk> chunks = test::grey_strip_chunks(kStrip);
    chunks[0] = test::ihdr_chunk(width, height, 1, 0);
    EXPECT_EQ(to_int(detail_of(test::png_file(chunks))), to_int(ErrorDetail::kPictureTooLarge))
        << width << " x " << height;
  }
}

TEST_F(PngReader, LongestStripOfRealFontsIsWithinTheLimit) {
  // 65,536 glyphs of 8 x 16 with two columns between them, in 16-bit RGBA:
  // the largest decoded row a real strip needs, refused only for its
  // missing data.
  std::vector<test::PngChunk> chunks = test::grey_strip_chunks(kStrip);
  chunks[0] = test::ihdr_chunk(65536 * 10, 16, 16, 6);
  const test::ReadPicture read = test::read_ink_bytes(test::png_file(chunks), InkRule::kBlack);
  EXPECT_EQ(to_int(read.result), to_int(ResultCode::kUnusableInput));
#ifdef VELLICOR_TEST_PNG_WIC
  // WIC says only that the data did not decode.
  EXPECT_TRUE(read.detail == ErrorDetail::kPngTruncated || read.detail == ErrorDetail::kPngBadData)
      << to_int(read.detail);
#else
  // The strip's image data ends long before the declared picture's.
  EXPECT_EQ(to_int(read.detail), to_int(ErrorDetail::kPngTruncated));
#endif
  EXPECT_EQ(read.map.pixels.bytes, nullptr);
}

// The strip in every PNG layout a tool writes: each colour type at each bit
// depth it allows, with and without Adam7 interlacing, transparency through
// tRNS, 16-bit samples. Every one gives the strip's own ink.
struct Layout {
  const char* name;
  std::uint8_t depth;
  std::uint8_t colour_type;
  bool interlaced;
  bool transparent_paper;  // tRNS (or alpha) makes the paper transparent
};

// Names the row in test listings.
void PrintTo(const Layout& row, std::ostream* out) { test::print_label(out, {row.name}); }

std::vector<std::uint8_t> strip_in(const Layout& layout) {
  const auto top = static_cast<std::uint16_t>((1u << layout.depth) - 1);
  const bool clear = layout.transparent_paper;
  std::vector<test::PngChunk> extra;
  if (layout.colour_type == 3) {
    extra.push_back({"PLTE", {255, 255, 255, 0, 0, 0}});  // 0: paper, 1: ink
    if (clear) extra.push_back({"tRNS", {0}});
  } else if (clear && (layout.colour_type == 0 || layout.colour_type == 2)) {
    // The paper's sample as the key colour, two bytes per channel.
    std::vector<std::uint8_t> key(layout.colour_type == 0 ? 2 : 6);
    for (std::size_t i = 0; i < key.size(); ++i) {
      key[i] = static_cast<std::uint8_t>(i % 2 == 0 ? top >> 8 : top);
    }
    extra.push_back({"tRNS", key});
  }
  const auto samples = [&](std::uint32_t x, std::uint32_t y) -> std::vector<std::uint16_t> {
    const bool ink = kStrip[y][x] == '#';
    const std::uint16_t grey = ink ? 0 : top;
    switch (layout.colour_type) {
      case 0:
        return {grey};
      case 2:
        return {grey, grey, grey};
      case 3:
        return {static_cast<std::uint16_t>(ink ? 1 : 0)};
      case 4:
        return {grey, ink || !clear ? top : std::uint16_t{0}};
      default:
        return {grey, grey, grey, ink || !clear ? top : std::uint16_t{0}};
    }
  };
  return test::layout_png(static_cast<std::uint32_t>(kStrip[0].size()),
                          static_cast<std::uint32_t>(kStrip.size()), layout.depth,
                          layout.colour_type, layout.interlaced, samples, extra);
}

class PngLayout : public PngReader, public testing::WithParamInterface<Layout> {};

TEST_P(PngLayout, ReadsAsDrawnUnderItsRuleAndTheAutomaticOne) {
  const Layout& layout = GetParam();
  const std::vector<std::uint8_t> bytes = strip_in(layout);
  // Transparent paper is told apart by its alpha alone: under the opaque
  // rule it is paper only when the transparency arrived.
  const InkRule rule = layout.transparent_paper ? InkRule::kOpaque : InkRule::kBlack;
  for (const InkRule each : {rule, InkRule::kAuto}) {
    const test::ReadPicture read = test::read_ink_bytes(bytes, each);
    ASSERT_EQ(to_int(read.result), 0) << "detail " << to_int(read.detail);
    EXPECT_EQ(test::ink_map_rows(read.map), kStrip) << "rule " << static_cast<int>(each);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Layouts, PngLayout,
    testing::Values(
        Layout{"Grey1", 1, 0, false, false}, Layout{"Grey2", 2, 0, false, false},
        Layout{"Grey4", 4, 0, false, false}, Layout{"Grey8", 8, 0, false, false},
        Layout{"Grey16", 16, 0, false, false}, Layout{"Rgb8", 8, 2, false, false},
        Layout{"Rgb16", 16, 2, false, false}, Layout{"Palette1", 1, 3, false, false},
        Layout{"Palette2", 2, 3, false, false}, Layout{"Palette4", 4, 3, false, false},
        Layout{"Palette8", 8, 3, false, false}, Layout{"GreyAlpha8", 8, 4, false, true},
        Layout{"GreyAlpha16", 16, 4, false, true}, Layout{"Rgba8", 8, 6, false, true},
        Layout{"Rgba16", 16, 6, false, true},
        Layout{"PaletteTrns", 4, 3, false, true}, Layout{"GreyTrns", 8, 0, false, true},
        Layout{"Grey16Trns", 16, 0, false, true}, Layout{"RgbTrns", 8, 2, false, true},
        Layout{"InterlacedGrey1", 1, 0, true, false}, Layout{"InterlacedPalette2", 2, 3, true, false},
        Layout{"InterlacedRgb8", 8, 2, true, false}, Layout{"InterlacedRgba16", 16, 6, true, true},
        Layout{"InterlacedPaletteTrns", 1, 3, true, true}),
    [](const testing::TestParamInfo<Layout>& row) { return std::string(row.param.name); });
// clang-format on

// 16-bit samples keep their precision: one step above black is not black.
TEST_F(PngReader, SixteenBitSamplesAreNotNarrowed) {
  const auto samples = [](std::uint32_t x, std::uint32_t) -> std::vector<std::uint16_t> {
    const std::uint16_t value = x == 0 ? 0 : x == 1 ? 1 : 0xFFFF;
    return {value, value, value};
  };
  const test::ReadPicture read =
      test::read_ink_bytes(test::layout_png(3, 1, 16, 2, false, samples), InkRule::kBlack);
  ASSERT_EQ(to_int(read.result), 0) << "detail " << to_int(read.detail);
  EXPECT_EQ(test::ink_map_rows(read.map), std::vector<std::string>{"#.."});
}

// Every Adam7 pass holds pixels of a picture of odd size; its interlaced
// file reads as its plain one, 16-bit samples kept whole (one step above
// black on the diagonal is paper under the black rule).
TEST_F(PngReader, InterlacedPictureReadsAsItsPlainTwin) {
  constexpr std::uint32_t kWidth = 13;
  constexpr std::uint32_t kHeight = 11;
  const auto ink = [](std::uint32_t x, std::uint32_t y) { return (x + 2 * y) % 3 == 0; };
  const auto samples = [&](std::uint32_t x, std::uint32_t y) -> std::vector<std::uint16_t> {
    const std::uint16_t grey = ink(x, y) ? 0 : x == y ? 1 : 0xFFFF;
    return {grey, grey, grey, 0xFFFF};
  };
  std::vector<std::string> drawn(kHeight, std::string(kWidth, '.'));
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    for (std::uint32_t x = 0; x < kWidth; ++x) drawn[y][x] = ink(x, y) ? '#' : '.';
  }
  for (const bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced);
    const test::ReadPicture read = test::read_ink_bytes(
        test::layout_png(kWidth, kHeight, 16, 6, interlaced, samples), InkRule::kBlack);
    ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
    EXPECT_EQ(test::ink_map_rows(read.map), drawn);
  }
}

// A picture larger than one read buffer (8-bit grey, ink on the diagonal),
// and the ink it must give.
struct DiagonalPicture {
  static constexpr std::uint32_t kWidth = 700;
  static constexpr std::uint32_t kHeight = 120;
  std::vector<std::uint8_t> bytes =
      test::layout_png(kWidth, kHeight, 8, 0, false,
                       [](std::uint32_t x, std::uint32_t y) -> std::vector<std::uint16_t> {
                         return {static_cast<std::uint16_t>(x == y ? 0 : 255)};
                       });
  std::vector<std::string> rows() const {
    std::vector<std::string> drawn(kHeight, std::string(kWidth, '.'));
    for (std::uint32_t y = 0; y < kHeight; ++y) drawn[y][y] = '#';
    return drawn;
  }
};

TEST_F(PngReader, FileLayerFailuresAndUnknownSize) {
  const DiagonalPicture picture;
  ASSERT_GT(picture.bytes.size(), std::size_t{64} * 1024);
  const test::TempDir dir;
  const std::string path = dir.file("strip.png");
  test::write_file(path, picture.bytes);
  for (const test::FileCall call :
       {test::FileCall::kOpenForReading, test::FileCall::kRead, test::FileCall::kSize}) {
    SCOPED_TRACE(static_cast<int>(call));
    test::FaultFileSystem fs;
    fs.fail_call(call, 1);
    InkMap map;
    ErrorDetail detail = ErrorDetail::kNone;
    const ResultCode result = read_png_ink(fs, path.c_str(), InkRule::kAuto, map, &detail);
    if (call == test::FileCall::kSize) {
      // A file without a size (a pipe) is read to its end all the same.
      ASSERT_EQ(to_int(result), 0) << to_int(detail);
      EXPECT_EQ(test::ink_map_rows(map), picture.rows());
    } else {
      EXPECT_EQ(result, ResultCode::kFileAccess);
      EXPECT_EQ(detail, ErrorDetail::kFileAccess);
      EXPECT_EQ(map.pixels.bytes, nullptr);
    }
    EXPECT_EQ(fs.open_handles(), 0);
  }
}

#ifdef _WIN32
// The Windows reader brings up COM for itself and leaves the calling thread
// as it found it, whatever its host did with COM before.
class PngReaderCom : public PngReader {
 protected:
  // Reads the diagonal picture on the calling thread; true when its ink came.
  static bool reads_picture() {
    const DiagonalPicture picture;
    const test::TempDir dir;
    const std::string path = dir.file("strip.png");
    test::write_file(path, picture.bytes);
    InkMap map;
    ErrorDetail detail = ErrorDetail::kNone;
    const ResultCode result =
        read_png_ink(system_file_system(), path.c_str(), InkRule::kBlack, map, &detail);
    return result == ResultCode::kOk && test::ink_map_rows(map) == picture.rows();
  }
};

TEST_F(PngReaderCom, HostWithoutComIsLeftWithoutIt) {
  std::thread([] {
    EXPECT_TRUE(reads_picture());
    // COM is not left initialised in the multithreaded apartment: the
    // thread may still choose a single-threaded one.
    const HRESULT later = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(later, S_OK);
    if (SUCCEEDED(later)) CoUninitialize();
  }).join();
}

TEST_F(PngReaderCom, HostInASingleThreadedApartmentStillReads) {
  std::thread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_TRUE(reads_picture());
    EXPECT_TRUE(reads_picture());
    // The host's own initialisation still stands (S_FALSE: already there).
    const HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(again, S_FALSE);
    if (SUCCEEDED(again)) CoUninitialize();
    CoUninitialize();
  }).join();
}

TEST_F(PngReaderCom, HostInTheMultithreadedApartmentKeepsIt) {
  std::thread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_TRUE(reads_picture());
    // One uninitialisation too many would have ended the host's COM.
    const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(again, S_FALSE);
    if (SUCCEEDED(again)) CoUninitialize();
    CoUninitialize();
  }).join();
}
#endif

}  // namespace
}  // namespace vellicor
