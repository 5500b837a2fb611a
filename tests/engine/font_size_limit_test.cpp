// The font size limit: the writer sizes every record exactly, and a
// font far larger than its picture is refused before any file is created.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "engine/core/limits.hpp"
#include "engine/font/bdf_writer.hpp"
#include "engine/font/glyph_record.hpp"
#include "tests/engine/font_conversion.hpp"
#include "tests/engine/loaded_picture.hpp"
#include "tests/engine/memory_picture.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor::test {
namespace {

constexpr std::uint8_t kInkByte = 0x00;  // palette entry 0 is black: 0 bits are ink
constexpr std::uint8_t kPaperByte = 0xFF;
constexpr std::uint8_t kLargestBlank = 255;

FontMeasure measure_of(const MemoryPicture& picture, const ConversionOptions& options) {
  const StagedFont font(picture, options);
  EXPECT_EQ(font.result, ResultCode::kOk);
  return font.model.measure();
}

std::uint64_t records_size_of(const MemoryPicture& picture, const ConversionOptions& options) {
  const StagedFont font(picture, options);
  return bdf_records_size(font.model);
}

// glyph_count glyphs, each glyph_bytes * 8 columns of ink over rows 1 to
// ink_rows, gap_bytes * 8 paper columns after each; byte 0 of every row and
// row 0 are paper.
MemoryPicture striped_picture(std::uint32_t glyph_count, std::uint32_t glyph_bytes,
                              std::uint32_t gap_bytes, std::uint32_t ink_rows) {
  const std::uint32_t used = 1 + glyph_count * (glyph_bytes + gap_bytes);
  const std::uint32_t stride = (used + 3) / 4 * 4;
  const std::uint32_t height = ink_rows + 1;
  MemoryPicture picture;
  picture.ink[0] = 0;  // entry 0 black: 0 bits are ink
  picture.info.biSize = 40;
  picture.info.biWidth = static_cast<std::int32_t>(used * 8);
  picture.info.biHeight = -static_cast<std::int32_t>(height);
  picture.info.biBitCount = 1;
  picture.info.biSizeImage = stride * height;
  picture.pixels.bytes.reset(new std::uint8_t[picture.info.biSizeImage]);
  picture.pixels.delivered_bytes = picture.info.biSizeImage;
  std::uint8_t* bytes = picture.pixels.bytes.get();
  for (std::uint32_t y = 0; y < height; ++y) {
    std::uint8_t* row = bytes + std::size_t{y} * stride;
    for (std::uint32_t index = 0; index < stride; ++index) {
      const std::uint32_t place = index == 0 ? 0 : (index - 1) % (glyph_bytes + gap_bytes);
      const bool ink = y > 0 && index > 0 && index < used && place < glyph_bytes;
      row[index] = ink ? kInkByte : kPaperByte;
    }
  }
  return picture;
}

ConversionOptions padded_fixed_options() {
  ConversionOptions options = plain_options();
  options.fixed_width = 1;
  options.upper_blank = options.lower_blank = kLargestBlank;
  options.leading_blank = options.trailing_blank = kLargestBlank;
  options.allowed_blank_columns = kLargestBlank;
  options.descent = kLargestBlank;
  return options;
}

struct SensibleFont {
  const char* label;
  std::uint32_t glyph_count;
  std::uint32_t glyph_bytes;
  std::uint32_t rows;
  bool padded;  // every blank option 255, fixed width
};

// Names the row in test listings.
void PrintTo(const SensibleFont& row, std::ostream* out) { print_label(out, {row.label}); }

class FontSizeLimitSensible : public testing::TestWithParam<SensibleFont> {};

TEST_P(FontSizeLimitSensible, FitsUnderTheLimit) {
  const SensibleFont& font = GetParam();
  // The gap must outlast the allowed blank columns of the padded options.
  const std::uint32_t gap_bytes = font.padded ? 33 : 1;
  const MemoryPicture picture =
      striped_picture(font.glyph_count, font.glyph_bytes, gap_bytes, font.rows);
  const ConversionOptions options = font.padded ? padded_fixed_options() : plain_options();
  const FontMeasure measure = measure_of(picture, options);
  ASSERT_EQ(measure.glyph_count, font.glyph_count);
  // 32 MiB, or 64 bytes per delivered pixel byte when that is more.
  const std::uint64_t limit =
      std::max<std::uint64_t>(32u << 20, std::uint64_t{64} * picture.pixels.delivered_bytes);
  EXPECT_LE(records_size_of(picture, options), limit);
  // Sensible fonts pass on their figures alone, without another cut.
  EXPECT_LE(glyph_records_size_bound(options, measure,
                                     frame_font(options, measure, Framing::kMarginStrip)),
            limit);
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontSizeLimitSensible,
                         testing::Values(SensibleFont{"FullUnicodePlane8x16", 65536, 1, 16, false},
                                         SensibleFont{"FullUnicodePlane24x24", 65536, 3, 24, false},
                                         SensibleFont{"HundredGlyphsAllBlanksFixed", 100, 1, 16,
                                                      true},
                                         SensibleFont{"FullLatinAllBlanksFixed", 256, 2, 16, true}),
                         [](const auto& row) { return std::string(row.param.label); });

// The size the sizing pass reports is the size the writing pass writes, and
// the bound from the font's figures is never below it.
struct SizedOptions {
  const char* label;
  std::uint16_t first_glyph;
  std::uint8_t blank;  // every blank option and the descent
  std::uint8_t fixed_width;
};

// Names the row in test listings.
void PrintTo(const SizedOptions& row, std::ostream* out) { print_label(out, {row.label}); }

class FontSizeMeasure : public testing::TestWithParam<SizedOptions> {};

TEST_P(FontSizeMeasure, EqualsTheRecordsWritten) {
  // Glyphs of differing widths and heights; the last one's ink reaches below
  // the tallest column's span, so its record is taller than the box.
  const std::vector<std::string> rows = {
      "..........................", ".#...###.........#######..", ".#....#..........#.....#..",
      "..........................", "..........#.#.............", "..........#.#.............",
  };
  ConversionOptions options = plain_options();
  options.first_glyph = GetParam().first_glyph;
  options.fixed_width = GetParam().fixed_width;
  options.upper_blank = options.lower_blank = GetParam().blank;
  options.leading_blank = options.trailing_blank = GetParam().blank;
  options.descent = GetParam().blank;
  options.allowed_blank_columns = 1;
  TempDir dir;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);

  const LoadedPicture loaded = load_picture(system_file_system(), dir.file("in.bmp"));
  ASSERT_EQ(loaded.result, ResultCode::kOk);
  MemoryPicture picture;
  picture.info = loaded.info_header;
  picture.pixels.bytes.reset(new std::uint8_t[loaded.pixels.delivered_bytes]);
  std::copy_n(loaded.pixels.bytes.get(), loaded.pixels.delivered_bytes, picture.pixels.bytes.get());
  picture.pixels.delivered_bytes = loaded.pixels.delivered_bytes;
  picture.ink = loaded.ink_table;
  picture.ink_count = loaded.ink_count;
  const StagedFont font(picture, options);
  ASSERT_EQ(font.result, ResultCode::kOk);
  const FontMeasure figures = font.model.measure();
  const std::string header_end = "\nCHARS " + std::to_string(figures.glyph_count) + "\n";
  const std::size_t records_begin = run.font.find(header_end);
  ASSERT_NE(records_begin, std::string::npos);
  const std::string end = "ENDFONT\n";
  const std::size_t records_bytes =
      run.font.size() - (records_begin + header_end.size()) - end.size();
  EXPECT_EQ(figures.glyph_count, 4u);
  EXPECT_EQ(bdf_records_size(font.model), records_bytes);
  EXPECT_GE(glyph_records_size_bound(options, figures, font.model.frame()), records_bytes);
}

INSTANTIATE_TEST_SUITE_P(Options, FontSizeMeasure,
                         testing::Values(SizedOptions{"Plain", 65, 0, 0},
                                         SizedOptions{"Fixed", 65, 0, 1},
                                         SizedOptions{"PaddedFixed", 65, 255, 1},
                                         SizedOptions{"PaddedVariable", 9, 37, 0},
                                         SizedOptions{"NamesPastFourHexDigits", 65533, 3, 0}),
                         [](const auto& row) { return std::string(row.param.label); });

// Crafted pictures whose fonts would be vastly larger than the file.
struct CraftedPicture {
  const char* label;
  std::vector<std::uint8_t> (*make)();
  ConversionOptions (*options)();
};

// Names the row in test listings.
void PrintTo(const CraftedPicture& row, std::ostream* out) { print_label(out, {row.label}); }

// Bottom-up with about a billion declared rows, of which only the bottom two
// are in the file: each record would start with a billion blank lines.
std::vector<std::uint8_t> huge_declared_height() {
  std::vector<std::uint8_t> file =
      make_one_bit_bmp({"................................", ".#.#.#.#.#.#.#.#................",
                        ".#.#.#.#.#.#.#.#................"});
  constexpr std::uint32_t kRows = 0xFFFFFFFFu / 4;  // four-byte rows, size within 32 bits
  put_u32(file, kOffBiHeight, kRows);
  put_u32(file, kOffBiSizeImage, kRows * 4);
  return file;
}

// One glyph 60,000 columns wide among 3,000 narrow ones, in a fixed-width
// font: every narrow record is as wide as the widest.
std::vector<std::uint8_t> wide_glyph_among_narrow_ones() {
  std::string inked = "." + std::string(60000, '#') + ".";
  for (int glyph = 0; glyph < 3000; ++glyph) inked += "#.";
  return make_one_bit_bmp({std::string(inked.size(), '.'), inked});
}

// 2,000 one-column glyphs, each padded by 255 blank pixels on every side.
std::vector<std::uint8_t> many_padded_glyphs() {
  std::string inked = ".";
  for (int glyph = 0; glyph < 2000; ++glyph) inked += "#.";
  return make_one_bit_bmp({std::string(inked.size(), '.'), inked});
}

ConversionOptions default_options() { return plain_options(); }

ConversionOptions fixed_options() {
  ConversionOptions options = plain_options();
  options.fixed_width = 1;
  return options;
}

ConversionOptions padded_options() {
  ConversionOptions options = padded_fixed_options();
  options.allowed_blank_columns = 0;
  return options;
}

class FontSizeLimitCrafted : public testing::TestWithParam<CraftedPicture> {};

TEST_P(FontSizeLimitCrafted, IsRefusedBeforeAnyFileIsCreated) {
  TempDir dir;
  write_file(dir.file("in.bmp"), GetParam().make());
  const ConversionRun run = convert_written(dir, GetParam().options());
  EXPECT_EQ(run.result, ResultCode::kUnusableInput);
  EXPECT_EQ(run.detail, ErrorDetail::kFontTooLarge);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, FontSizeLimitCrafted,
    testing::Values(CraftedPicture{"HugeDeclaredHeight", huge_declared_height, default_options},
                    CraftedPicture{"WideGlyphFixedWidth", wide_glyph_among_narrow_ones,
                                   fixed_options},
                    CraftedPicture{"BlankPaddingEverywhere", many_padded_glyphs, padded_options}),
    [](const auto& row) { return std::string(row.param.label); });

TEST(FontSizeLimit, KeepsAnExistingOutputWhenRefusing) {
  TempDir dir;
  write_file(dir.file("in.bmp"), huge_declared_height());
  write_text(dir.file("out.bdf"), "kept");
  const ConversionRun run = convert_written(dir, plain_options());
  EXPECT_EQ(run.result, ResultCode::kUnusableInput);
  EXPECT_EQ(run.font, "kept");
}

}  // namespace
}  // namespace vellicor::test
