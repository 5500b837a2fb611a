// The FON writer against the BDF: FreeType loads our .fon and the BDF of the
// same picture to the same glyphs, each under its byte (a code of a font
// without a list, the Windows-1252 byte of a listed character), and reads
// the header figures and names the BDF states.
#include "engine/font/fon_writer.hpp"

#include <ft2build.h>
#include <gtest/gtest.h>
#include FT_FREETYPE_H
#include FT_WINFONTS_H

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/api/font_pipeline.hpp"
#include "engine/io/output_file.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

struct Case {
  const char* name;
  PipelineRequest request;
  ConversionOptions options;
};

// What write_fon_font answered.
struct Outcome {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = ErrorDetail::kNone;
  std::vector<std::uint32_t> left_out;
};

// Converts rows, writes the BDF (out.bdf) and hands the model to the FON
// writer (out.fon, committed whatever the writer answered, so a refusal
// leaves an empty file). False, with a failure, when a step before fails.
bool write_both(const TempDir& dir, const std::vector<std::string>& rows, const Case& run,
                Outcome& outcome) {
  write_file(dir.file("in.bmp"), make_one_bit_bmp(rows));
  PreparedFont font;
  ConversionReport report{};
  ErrorDetail detail = ErrorDetail::kNone;
  OutputFile file(system_file_system());
  const auto step = [&detail](const char* what, ResultCode result) {
    if (result == ResultCode::kOk) return true;
    ADD_FAILURE() << what << " failed with " << static_cast<int>(result) << ", detail "
                  << static_cast<int>(detail);
    return false;
  };
  if (!step("prepare_font", prepare_font(system_file_system(), dir.file("in.bmp").c_str(),
                                         run.options, run.request, font, report, &detail)) ||
      !step("write_font_file",
            write_font_file(system_file_system(), dir.file("out.bdf").c_str(), font, &detail)) ||
      !step("create", file.create(dir.file("out.fon").c_str(), &detail))) {
    return false;
  }
  outcome.result = write_fon_font(file, font.model, font.map, &outcome.left_out, &outcome.detail);
  return step("commit", file.commit(&detail));
}

struct LibraryCloser {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// A face of its own library, its first charmap selected: the FON's only
// one holds its bytes, a BDF without a registry its codes.
struct Face {
  std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser> library;
  std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser> face;
  FT_Face get() const { return face.get(); }
};

Face open_face(const std::string& path) {
  Face opened;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return opened;
  opened.library.reset(library);
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) return opened;
  opened.face.reset(face);
  if (face->charmap == nullptr && face->num_charmaps > 0) FT_Set_Charmap(face, face->charmaps[0]);
  if (face->num_fixed_sizes > 0) FT_Select_Size(face, 0);
  return opened;
}

// A glyph as FreeType renders it: ink in font coordinates (x right of the
// origin, y up from the baseline), and its box and advance.
struct Loaded {
  std::vector<InkPixel> ink;  // sorted
  int left = 0;
  int width = 0;
  long advance = 0;
};

std::optional<Loaded> load(FT_Face face, FT_ULong code) {
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
    return std::nullopt;
  }
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  Loaded glyph;
  glyph.left = slot->bitmap_left;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.advance = slot->advance.x / 64;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned column = 0; column < bitmap.width; ++column) {
      if (((line[column / 8] >> (7 - column % 8)) & 1) != 0) {
        glyph.ink.push_back({slot->bitmap_left + static_cast<int>(column),
                             slot->bitmap_top - 1 - static_cast<int>(row)});
      }
    }
  }
  std::sort(glyph.ink.begin(), glyph.ink.end());
  return glyph;
}

// Every code of the BDF's charmap that bytes names loads from the FON under
// its byte with the BDF's ink and advance. FNT glyphs stand at the origin,
// as wide as they advance: a box reaching left of the origin moves right by
// that much and one reaching past the advance widens it, as the writer
// promises. The FON's charmap runs from the least byte to the greatest, and
// the BDF codes bytes leaves out are exactly left_out.
::testing::AssertionResult loads_as_bdf(const TempDir& dir,
                                        const std::map<std::uint32_t, std::uint8_t>& bytes,
                                        const std::vector<std::uint32_t>& left_out) {
  const Face fon = open_face(dir.file("out.fon"));
  const Face bdf = open_face(dir.file("out.bdf"));
  if (!fon.face || !bdf.face) return ::testing::AssertionFailure() << "FreeType cannot open both";
  std::vector<std::uint32_t> missing;
  FT_UInt index = 0;
  for (FT_ULong code = FT_Get_First_Char(bdf.get(), &index); index != 0;
       code = FT_Get_Next_Char(bdf.get(), code, &index)) {
    const auto byte = bytes.find(static_cast<std::uint32_t>(code));
    if (byte == bytes.end()) {
      missing.push_back(static_cast<std::uint32_t>(code));
      continue;
    }
    const std::optional<Loaded> theirs = load(bdf.get(), code);
    const std::optional<Loaded> ours = load(fon.get(), byte->second);
    if (!theirs || !ours) {
      return ::testing::AssertionFailure() << "code " << code << " does not load from both";
    }
    const int shift = theirs->width > 0 ? std::max(0, -theirs->left) : 0;
    const long right = theirs->width > 0 ? theirs->left + theirs->width : 0;
    std::vector<InkPixel> moved = theirs->ink;
    for (InkPixel& pixel : moved) pixel.x += shift;
    if (ours->ink != moved || ours->advance != std::max(theirs->advance, right) + shift ||
        ours->left != 0 || ours->width != ours->advance) {
      return ::testing::AssertionFailure()
             << "code " << code << " (byte " << int{byte->second} << "): advance " << ours->advance
             << " and " << ours->ink.size() << " ink pixels, the BDF's " << theirs->advance
             << " and " << theirs->ink.size();
    }
  }
  std::vector<std::uint32_t> expected_missing = left_out;
  std::sort(expected_missing.begin(), expected_missing.end());
  if (missing != expected_missing) return ::testing::AssertionFailure() << "other codes left out";
  std::uint8_t least = 0xFF, most = 0;
  for (const auto& [code, byte] : bytes) {
    least = std::min(least, byte);
    most = std::max(most, byte);
  }
  FT_ULong code = FT_Get_First_Char(fon.get(), &index);
  if (code != least) return ::testing::AssertionFailure() << "the FON's codes begin at " << code;
  for (FT_ULong next = code; index != 0; next = FT_Get_Next_Char(fon.get(), next, &index)) {
    code = next;
  }
  if (code != most) return ::testing::AssertionFailure() << "the FON's codes end at " << code;
  return ::testing::AssertionSuccess();
}

std::uint32_t u32_at(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The module description, from the NE header's non-resident name table.
std::string description(const std::string& path) {
  const std::vector<std::uint8_t> bytes = read_file(path);
  constexpr std::size_t kNeOffsetField = 0x3C;
  constexpr std::size_t kNonResidentField = 0x2C;
  const std::size_t table = u32_at(bytes, u32_at(bytes, kNeOffsetField) + kNonResidentField);
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(table) + 1,
                     bytes.begin() + static_cast<std::ptrdiff_t>(table) + 1 + bytes[table]);
}

// Five glyphs of different widths, one with a descender, inside the margin
// strip's blank first row and edge columns.
const std::vector<std::string> kStrip = {
    "......................", ".#..##..###..#.#.####.", ".#..##...#...#.#.#..#.",
    ".##.....###..###.####.", ".........#.......#....",
};

Case strip_case(const char* name) {
  Case run{name, PipelineRequest{}, ConversionOptions{}};
  run.options.descent = 1;
  run.options.upper_blank = 1;
  run.options.leading_blank = 1;
  run.options.font_name = "Strip-Test";
  return run;
}

TEST(FonWriter, LoadsAsTheBdfWithCodesAsBytes) {
  // Codes 253 to 257: the last two have no byte.
  Case plain = strip_case("margin strip without a list");
  plain.options.first_glyph = 253;
  TempDir dir;
  Outcome outcome;
  ASSERT_TRUE(write_both(dir, kStrip, plain, outcome));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(outcome.left_out, (std::vector<std::uint32_t>{256, 257}));
  EXPECT_TRUE(loads_as_bdf(dir, {{253, 253}, {254, 254}, {255, 255}}, outcome.left_out));

  const Face fon = open_face(dir.file("out.fon"));
  ASSERT_TRUE(fon.face);
  FT_WinFNT_HeaderRec header{};
  ASSERT_EQ(FT_Get_WinFNT_Header(fon.get(), &header), 0);
  EXPECT_EQ(header.version, 0x300);
  EXPECT_EQ(header.charset, FT_WinFNT_ID_CP1252);
  // The cell: the upper blank line and the three rows above the descent.
  EXPECT_EQ(header.pixel_height, 5);
  EXPECT_EQ(header.ascent, 4);
  EXPECT_EQ(header.internal_leading, 0);
  EXPECT_EQ(header.nominal_point_size, 4);  // 5 pixels at 96 dpi: 3.75 points
  EXPECT_EQ(header.vertical_resolution, 96);
  EXPECT_EQ(header.weight, 400);
  EXPECT_EQ(header.italic, 0);
  EXPECT_EQ(header.pixel_width, 0);  // proportional
  EXPECT_EQ(header.first_char, 253);
  EXPECT_EQ(header.last_char, 255);
  EXPECT_EQ(header.default_char, 0);  // relative: the first glyph of the picture
  EXPECT_STREQ(fon.get()->family_name, "Strip-Test");
  EXPECT_EQ(description(dir.file("out.fon")), "FONTRES 100,96,96 : Strip-Test 4");

  // A fixed width makes every cell the font's width.
  Case fixed = strip_case("fixed width");
  fixed.options.first_glyph = 'A';
  fixed.options.fixed_width = 1;
  TempDir fixed_dir;
  ASSERT_TRUE(write_both(fixed_dir, kStrip, fixed, outcome));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_TRUE(
      loads_as_bdf(fixed_dir, {{'A', 'A'}, {'B', 'B'}, {'C', 'C'}, {'D', 'D'}, {'E', 'E'}}, {}));
  const Face fixed_fon = open_face(fixed_dir.file("out.fon"));
  ASSERT_TRUE(fixed_fon.face);
  ASSERT_EQ(FT_Get_WinFNT_Header(fixed_fon.get(), &header), 0);
  EXPECT_EQ(header.pixel_width, header.max_width);
  EXPECT_NE(header.pixel_width, 0);
  EXPECT_TRUE(FT_IS_FIXED_WIDTH(fixed_fon.get()));
}

TEST(FonWriter, TakesListedCharactersAsTheirWindows1252Bytes) {
  // The euro sign and the left quotation mark stand at 0x80 and 0x91 in
  // code page 1252, where Latin-1 has control characters.
  Case listed = strip_case("a Latin-1 list and code page 1252's own characters");
  listed.request.framing = Framing::kByInk;
  listed.request.chars = "a\u20ac\u2018\u00e9 \u00ff";
  listed.options.font_name = "Caf\u00e9-\u03a9";  // the face name is in code page 1252 too
  TempDir dir;
  Outcome outcome;
  ASSERT_TRUE(write_both(dir, kStrip, listed, outcome));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_TRUE(outcome.left_out.empty());
  EXPECT_TRUE(loads_as_bdf(
      dir, {{'a', 0x61}, {0x20AC, 0x80}, {0x2018, 0x91}, {0xE9, 0xE9}, {' ', 0x20}, {0xFF, 0xFF}},
      {}));
  const Face fon = open_face(dir.file("out.fon"));
  ASSERT_TRUE(fon.face);
  FT_WinFNT_HeaderRec header{};
  ASSERT_EQ(FT_Get_WinFNT_Header(fon.get(), &header), 0);
  EXPECT_EQ(header.break_char, 0);  // relative: the space is the first code
  EXPECT_EQ(header.weight, 400);    // WEIGHT_NAME "Medium", X's regular weight
  EXPECT_EQ(header.default_char, 'a' - ' ');
  EXPECT_STREQ(fon.get()->family_name, "Caf\xe9-");

  // Characters outside the code page are left out and listed; when none is
  // left the writer refuses and writes nothing.
  Case foreign = listed;
  foreign.request.chars = "a\u0100\u4e2dbc";
  TempDir foreign_dir;
  ASSERT_TRUE(write_both(foreign_dir, kStrip, foreign, outcome));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_EQ(outcome.left_out, (std::vector<std::uint32_t>{0x100, 0x4E2D}));
  EXPECT_TRUE(loads_as_bdf(foreign_dir, {{'a', 'a'}, {'b', 'b'}, {'c', 'c'}}, outcome.left_out));

  Case none = listed;
  none.request.chars = "\u0100\u0102\u4e2d\u0416\u042f";
  TempDir none_dir;
  ASSERT_TRUE(write_both(none_dir, kStrip, none, outcome));
  EXPECT_EQ(outcome.result, ResultCode::kUnusableInput);
  EXPECT_EQ(outcome.detail, ErrorDetail::kFonNothingLeft);
  EXPECT_EQ(outcome.left_out, (std::vector<std::uint32_t>{0x100, 0x102, 0x4E2D, 0x416, 0x42F}));
  EXPECT_TRUE(read_file(none_dir.file("out.fon")).empty());
}

TEST(FonWriter, WidensTheCellOfInkLeftOfTheOrigin) {
  // The third mark's ink reaches left of its mark: its FNT cell starts
  // there, one column wider.
  const std::vector<std::string> marked = {
      "###..##...###",
      "...#.....#...",
      "##.#.....####",
      "...........#.",
  };
  Case marks{"marks", PipelineRequest{}, ConversionOptions{}};
  marks.request.framing = Framing::kByInk;
  marks.request.layout.kind = LayoutKind::kMarks;
  marks.request.chars = "a b";
  marks.options.descent = 1;
  TempDir dir;
  Outcome outcome;
  ASSERT_TRUE(write_both(dir, marked, marks, outcome));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_TRUE(loads_as_bdf(dir, {{'a', 'a'}, {' ', ' '}, {'b', 'b'}}, {}));
  const Face bdf = open_face(dir.file("out.bdf"));
  const std::optional<Loaded> b = load(bdf.get(), 'b');
  ASSERT_TRUE(b);
  EXPECT_LT(b->left, 0) << "the mark's glyph should reach left of its origin";
}

TEST(FonWriter, PlacesGlyphsRightOfTheOriginAcrossByteColumns) {
  // A grid's glyphs keep their place in the cell: the first starts three
  // columns right of its origin and runs on past the first byte column.
  const std::vector<std::string> grid_rows = {
      "...##########...#...............",
      "...#.......#.#..#.....#.........",
      "...##########...#....###........",
      "...#............#.....#.........",
  };
  Case grid{"grid", PipelineRequest{}, ConversionOptions{}};
  grid.request.framing = Framing::kByInk;
  grid.request.layout.kind = LayoutKind::kGrid;
  grid.request.layout.cell_width = 16;
  grid.request.layout.cell_height = 4;
  grid.request.chars = "xy";
  grid.options.descent = 1;
  TempDir dir;
  Outcome outcome;
  ASSERT_TRUE(write_both(dir, grid_rows, grid, outcome));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  EXPECT_TRUE(loads_as_bdf(dir, {{'x', 'x'}, {'y', 'y'}}, {}));
  const Face bdf = open_face(dir.file("out.bdf"));
  const std::optional<Loaded> x = load(bdf.get(), 'x');
  ASSERT_TRUE(x);
  EXPECT_GT(x->left % 8 + x->width, 8) << "the glyph should straddle two byte columns";
}

TEST(FonWriter, RefusesACellWiderThanSixteenBitsAndWritesNothing) {
  // One glyph 65,536 pixels wide: FNT widths are words.
  const std::string row = "." + std::string(65536, '#') + ".";
  Case wide{"wide", PipelineRequest{}, ConversionOptions{}};
  wide.request.framing = Framing::kByInk;
  TempDir dir;
  Outcome outcome;
  ASSERT_TRUE(write_both(dir, {row, std::string(row.size(), '.')}, wide, outcome));
  EXPECT_EQ(outcome.result, ResultCode::kBadArgument);
  EXPECT_EQ(outcome.detail, ErrorDetail::kGlyphTooLarge);
  EXPECT_TRUE(read_file(dir.file("out.fon")).empty());
}

TEST(FonWriter, AlignsAFontPastOneMebibyteOnLargerSectors) {
  // The outline of a glyph 4,200 by 2,100 pixels: 1.1 MB of bits, more than
  // the 65,535 sectors of 16 bytes the resource table counts in.
  const std::size_t width = 4200, height = 2100;
  std::vector<std::string> rows(height, "." + std::string(width, '.') + ".");
  rows.front().replace(1, width, width, '#');
  rows.back().replace(1, width, width, '#');
  for (std::string& row : rows) row[1] = row[width] = '#';
  Case outline{"outline", PipelineRequest{}, ConversionOptions{}};
  outline.request.framing = Framing::kByInk;
  TempDir dir;
  Outcome outcome;
  ASSERT_TRUE(write_both(dir, rows, outline, outcome));
  ASSERT_EQ(outcome.result, ResultCode::kOk);
  const std::vector<std::uint8_t> bytes = read_file(dir.file("out.fon"));
  ASSERT_GT(bytes.size(), std::size_t{0xFFFF} * 16);
  // FreeType's BDF reader refuses lines this long: the outline is checked
  // as drawn.
  const Face fon = open_face(dir.file("out.fon"));
  ASSERT_TRUE(fon.face);
  const std::optional<Loaded> glyph = load(fon.get(), 0);
  ASSERT_TRUE(glyph);
  EXPECT_EQ(glyph->advance, 4200);
  EXPECT_EQ(glyph->ink.size(), 2 * width + 2 * (height - 2));
  EXPECT_EQ(glyph->ink.front(), (InkPixel{0, 0}));
  EXPECT_EQ(glyph->ink.back(), (InkPixel{4199, 2099}));
}

}  // namespace
}  // namespace vellicor::test
