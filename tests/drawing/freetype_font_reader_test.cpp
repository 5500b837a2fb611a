// Fonts read back through FreeType: each font vellicor writes as PCF, OTB,
// TTF or FON gives the glyphs of the BDF written in the same run, real X
// fonts come with every glyph FreeType counts, and an outline font without a
// bitmap strike is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/font/fon_writer.hpp"
#include "engine/font/otb_writer.hpp"
#include "engine/font/pcf_writer.hpp"
#include "engine/font/ttf_writer.hpp"
#include "engine/fontfile/font_file_reader.hpp"
#include "tests/engine/writer_test_fonts.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

// A BDF as records, read with nothing of the engine: enough of the format
// to compare a font read back with the BDF of the same run.
struct BdfFont {
  std::string font_name;
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  std::vector<LoadedGlyph> glyphs;
};

std::vector<std::uint8_t> hex_bytes(const std::string& hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t at = 0; at + 1 < hex.size(); at += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(at, 2), nullptr, 16)));
  }
  return bytes;
}

BdfFont parse_bdf(const std::string& path) {
  BdfFont font;
  std::ifstream in(path);
  std::string line;
  LoadedGlyph glyph;
  bool in_bitmap = false;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (in_bitmap && keyword != "ENDCHAR") {
      const std::vector<std::uint8_t> bytes = hex_bytes(keyword);
      glyph.lines.insert(glyph.lines.end(), bytes.begin(), bytes.end());
    } else if (keyword == "FONT") {
      std::getline(words >> std::ws, font.font_name);
    } else if (keyword == "FONT_ASCENT") {
      words >> font.ascent;
    } else if (keyword == "FONT_DESCENT") {
      words >> font.descent;
    } else if (keyword == "STARTCHAR") {
      glyph = LoadedGlyph{};
    } else if (keyword == "ENCODING") {
      words >> glyph.code;
    } else if (keyword == "DWIDTH") {
      words >> glyph.advance;
    } else if (keyword == "BBX") {
      words >> glyph.width >> glyph.height >> glyph.x_offset >> glyph.y_offset;
    } else if (keyword == "BITMAP") {
      in_bitmap = true;
    } else if (keyword == "ENDCHAR") {
      in_bitmap = false;
      font.glyphs.push_back(glyph);
    }
  }
  return font;
}

// A glyph's ink relative to its origin, and its advance: what survives any
// box a format gives it.
using Ink = std::set<std::pair<std::int64_t, std::int64_t>>;
struct InkAndAdvance {
  Ink ink;
  std::int32_t advance = 0;
  bool operator==(const InkAndAdvance&) const = default;
};
void PrintTo(const InkAndAdvance& shape, std::ostream* out) {
  *out << "advance " << shape.advance << " ink";
  for (const auto& [x, y] : shape.ink) *out << " (" << x << ',' << y << ')';
}

InkAndAdvance ink_of(const LoadedGlyph& glyph) {
  InkAndAdvance shape{{}, glyph.advance};
  for (std::uint32_t y = 0; y < glyph.height; ++y) {
    for (std::uint32_t x = 0; x < glyph.width; ++x) {
      if (glyph.ink(x, y)) {
        shape.ink.emplace(std::int64_t{glyph.x_offset} + x,
                          std::int64_t{glyph.y_offset} + glyph.height - 1 - y);
      }
    }
  }
  return shape;
}

std::string describe(const LoadedGlyph& glyph) {
  std::ostringstream text;
  text << "code " << glyph.code << " BBX " << glyph.width << ' ' << glyph.height << ' '
       << glyph.x_offset << ' ' << glyph.y_offset << " DWIDTH " << glyph.advance << " bytes";
  for (const std::uint8_t byte : glyph.lines) text << ' ' << static_cast<int>(byte);
  return text.str();
}

ResultCode read_font(const std::string& path, LoadedFont& font, ErrorDetail& detail) {
  return read_font_file(system_file_system(), path.c_str(), font, &detail, nullptr);
}

struct FormatRow {
  const char* name;
  FontWriter writer;
  FontFileKind kind;
};
void PrintTo(const FormatRow& row, std::ostream* out) { *out << row.name; }

class WrittenFont : public ::testing::TestWithParam<FormatRow> {
 protected:
  void SetUp() override {
    if (!reads_fonts_through_freetype())
      GTEST_SKIP() << "this build reads no font through FreeType";
  }
};

// PCF, OTB and TTF keep every record of the BDF: code, box, offsets,
// advance and bits, in the BDF's order, and its ascent, descent and name.
TEST_P(WrittenFont, ReadsBackAsTheBdfRecords) {
  const FormatRow& row = GetParam();
  std::vector<LayoutCase> cases = layout_cases();
  cases.push_back({sample_strip_case(), {}});
  for (const LayoutCase& layout : cases) {
    SCOPED_TRACE(layout.run.name);
    const TempDir dir;
    const bool written =
        layout.rows.empty()
            ? write_bdf_and(dir, sample_strip_picture(), layout.run, row.writer, "font")
            : write_bdf_and(dir, layout.rows, layout.run, row.writer, "font");
    ASSERT_TRUE(written);
    const BdfFont bdf = parse_bdf(dir.file("out.bdf"));
    LoadedFont font;
    ErrorDetail detail = ErrorDetail::kNone;
    ASSERT_EQ(read_font(dir.file("font"), font, detail), ResultCode::kOk)
        << static_cast<int>(detail);
    EXPECT_EQ(font.kind, row.kind);
    EXPECT_EQ(font.ascent, bdf.ascent);
    EXPECT_EQ(font.descent, bdf.descent);
    EXPECT_EQ(font.sizes, 1U);
    if (row.kind == FontFileKind::kPcf) {
      EXPECT_EQ(font.font_name, bdf.font_name);
    }
    // PCF encodes codes of 16 bits: a glyph past them stays in the file
    // without a code. An sfnt's glyph 0 (.notdef) is reached by no code.
    std::vector<LoadedGlyph> expected;
    std::uint32_t without_code = row.kind == FontFileKind::kPcf ? 0 : 1;
    for (const LoadedGlyph& glyph : bdf.glyphs) {
      if (row.kind == FontFileKind::kPcf && glyph.code > 0xFFFF) {
        ++without_code;
      } else {
        expected.push_back(glyph);
      }
    }
    EXPECT_EQ(font.glyphs_without_code, without_code);
    ASSERT_EQ(font.glyphs.size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index) {
      EXPECT_EQ(describe(font.glyphs[index]), describe(expected[index])) << "glyph " << index;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, WrittenFont,
                         ::testing::Values(FormatRow{"Pcf", &write_pcf_font, FontFileKind::kPcf},
                                           FormatRow{"Otb", &write_otb_font, FontFileKind::kOtb},
                                           FormatRow{"Ttf", &write_ttf_font, FontFileKind::kTtf}),
                         [](const auto& row) { return std::string(row.param.name); });

ResultCode write_fon(OutputFile& file, const FontModel& font, const InkMap& map,
                     ErrorDetail* detail) {
  return write_fon_font(file, font, map, nullptr, detail);
}

// A FON holds one box a glyph, the height of the font: each code's ink and
// advance come back, and the bytes of the range without a glyph of their
// own (copies of the default character) are no glyphs.
TEST(FonFontReader, ReadsBackTheInkAndAdvanceOfEveryGlyph) {
  if (!reads_fonts_through_freetype()) GTEST_SKIP() << "this build reads no font through FreeType";
  WriterCase sparse{"sparse", PipelineRequest{}, ConversionOptions{}};
  sparse.options.descent = 1;
  sparse.request.chars = "?AC";
  sparse.request.framing = Framing::kByInk;
  for (const auto& [run, rows] : std::vector<std::pair<WriterCase, std::vector<std::string>>>{
           {sample_strip_case(), {}}, {sparse, {"##..#...##", ".#..#...#.", "#...#...##"}}}) {
    SCOPED_TRACE(run.name);
    const TempDir dir;
    ASSERT_TRUE(rows.empty() ? write_bdf_and(dir, sample_strip_picture(), run, write_fon, "f")
                             : write_bdf_and(dir, rows, run, write_fon, "f"));
    const BdfFont bdf = parse_bdf(dir.file("out.bdf"));
    LoadedFont font;
    ErrorDetail detail = ErrorDetail::kNone;
    ASSERT_EQ(read_font(dir.file("f"), font, detail), ResultCode::kOk) << static_cast<int>(detail);
    EXPECT_EQ(font.kind, FontFileKind::kFon);
    EXPECT_FALSE(font.unicode);
    std::map<std::int64_t, InkAndAdvance> expected;
    std::map<std::int64_t, InkAndAdvance> read;
    for (const LoadedGlyph& glyph : bdf.glyphs) expected[glyph.code] = ink_of(glyph);
    for (const LoadedGlyph& glyph : font.glyphs) read[glyph.code] = ink_of(glyph);
    EXPECT_EQ(read, expected);
  }
}

// Real X fonts as Debian ships them, gzip-compressed: two character-cell
// fonts with a Unicode charmap, and the cursor font, proportional with
// codes of its own.
std::string x_font(const char* name) {
  const std::string path = std::string("/usr/share/fonts/X11/misc/") + name;
  return std::filesystem::exists(path) ? path : std::string();
}

struct XFontRow {
  const char* file;
  bool unicode;
  bool fixed_width;
  std::int32_t ascent;
  std::int32_t descent;
};
void PrintTo(const XFontRow& row, std::ostream* out) { *out << row.file; }

class XFont : public ::testing::TestWithParam<XFontRow> {};

TEST_P(XFont, ReadsEveryGlyphFreeTypeCounts) {
  const XFontRow& row = GetParam();
  const std::string path = x_font(row.file);
  if (path.empty()) GTEST_SKIP() << row.file << " is not installed (xfonts-base)";
  if (!reads_fonts_through_freetype()) GTEST_SKIP() << "this build reads no font through FreeType";
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(read_font(path, font, detail), ResultCode::kOk) << static_cast<int>(detail);
  EXPECT_EQ(font.kind, FontFileKind::kPcf);
  EXPECT_EQ(font.unicode, row.unicode);
  EXPECT_EQ(font.ascent, row.ascent);
  EXPECT_EQ(font.descent, row.descent);
  // FreeType opens the .gz itself and counts the same glyphs, with the same
  // codes in its Unicode charmap where the font has one.
  EXPECT_TRUE(font_opens_with(path, static_cast<long>(font.glyphs.size())));
  std::set<std::int64_t> read_codes;
  std::set<std::int32_t> advances;
  for (const LoadedGlyph& glyph : font.glyphs) {
    read_codes.insert(glyph.code);
    advances.insert(glyph.advance);
    EXPECT_EQ(glyph.lines.size(), glyph.stride() * glyph.height);
  }
  if (row.unicode) {
    const std::vector<std::uint32_t> codes = unicode_charmap(path);
    EXPECT_EQ(read_codes, std::set<std::int64_t>(codes.begin(), codes.end()));
  }
  EXPECT_EQ(read_codes.size(), font.glyphs.size());
  EXPECT_EQ(advances.size() == 1, row.fixed_width);
  EXPECT_EQ(font.glyphs_without_code, 0U);
  // The XLFD comes from the FONT property, and the properties as text.
  EXPECT_EQ(font.font_name, bdf_property(path, "FONT"));
  const auto property = [&font](const std::string& name) {
    for (const auto& [key, value] : font.properties) {
      if (key == name) return value;
    }
    return std::string();  // as bdf_property gives a property the font lacks
  };
  EXPECT_EQ(property("FAMILY_NAME"), bdf_property(path, "FAMILY_NAME"));
  EXPECT_EQ(property("PIXEL_SIZE"), bdf_property(path, "PIXEL_SIZE"));
}

INSTANTIATE_TEST_SUITE_P(Debian, XFont,
                         ::testing::Values(XFontRow{"6x13-ISO8859-1.pcf.gz", true, true, 11, 2},
                                           XFontRow{"6x13.pcf.gz", true, true, 11, 2},
                                           XFontRow{"cursor.pcf.gz", false, false, 16, 17}),
                         [](const auto& row) {
                           std::string name = row.param.file;
                           std::erase_if(name, [](char c) {
                             return !std::isalnum(static_cast<unsigned char>(c));
                           });
                           return name;
                         });

// 6x13 (ISO10646) reaches past Latin-1; one glyph checked bit for bit:
// 'A' of the 6x13 cell, two rows under the baseline.
TEST(XFontGlyph, ReadsTheBitsOfCapitalA) {
  const std::string path = x_font("6x13.pcf.gz");
  if (path.empty()) GTEST_SKIP() << "6x13.pcf.gz is not installed (xfonts-base)";
  if (!reads_fonts_through_freetype()) GTEST_SKIP() << "this build reads no font through FreeType";
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(read_font(path, font, detail), ResultCode::kOk);
  bool past_latin1 = false;
  const LoadedGlyph* capital_a = nullptr;
  for (const LoadedGlyph& glyph : font.glyphs) {
    past_latin1 = past_latin1 || glyph.code > 0xFF;
    if (glyph.code == 'A') capital_a = &glyph;
  }
  EXPECT_TRUE(past_latin1);
  ASSERT_NE(capital_a, nullptr);
  EXPECT_EQ(capital_a->advance, 6);
  // As 6x13.bdf states it: BBX 6 13 0 -2, rows 00 00 20 50 88 88 88 F8 88 88 88 00 00.
  LoadedGlyph expected;
  expected.code = 'A';
  expected.width = 6;
  expected.height = 13;
  expected.x_offset = 0;
  expected.y_offset = -2;
  expected.advance = 6;
  expected.lines = {0x00, 0x00, 0x20, 0x50, 0x88, 0x88, 0x88, 0xF8, 0x88, 0x88, 0x88, 0x00, 0x00};
  EXPECT_EQ(describe(*capital_a), describe(expected));
}

TEST(FreeTypeFontReader, RefusesAnOutlineFontWithoutStrikes) {
  const std::string path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "DejaVuSans.ttf is not installed";
  if (!reads_fonts_through_freetype()) GTEST_SKIP() << "this build reads no font through FreeType";
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  EXPECT_EQ(read_font(path, font, detail), ResultCode::kUnusableInput);
  EXPECT_EQ(detail, ErrorDetail::kFontNoBitmap);
  EXPECT_TRUE(font.glyphs.empty());
}

}  // namespace
}  // namespace vellicor::test
