// The BDF font reader: vellicor's own fonts read back glyph for glyph as
// FreeType reads them, the constructs of fonts from elsewhere, and refusals
// with the line that breaks the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/fontfile/font_file_reader.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"

#ifdef VELLICOR_TEST_HAVE_FREETYPE
#include <ft2build.h>
#include FT_FREETYPE_H
#endif

namespace vellicor::test {
namespace {

ResultCode read_text_font(const std::string& text, LoadedFont& font, ErrorDetail* detail,
                          FontReadProblem* problem) {
  return read_bdf_font(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), font,
                       detail, problem);
}

LoadedFont read_good(const std::string& text) {
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  FontReadProblem problem;
  EXPECT_EQ(read_text_font(text, font, &detail, &problem), ResultCode::kOk)
      << "detail " << to_int(detail) << " line " << problem.line;
  return font;
}

// vellicor's own fonts, written by the cvellicor of this build through the
// shell and read back by FreeType.
#if defined(VELLICOR_TEST_HAVE_FREETYPE) && !defined(_WIN32)
// A glyph as both readers see it: box, advance and ink pixels (x right of
// the origin, y up from the baseline).
struct GlyphView {
  int width = 0, height = 0, x_offset = 0, y_offset = 0, advance = 0;
  std::set<std::pair<int, int>> ink;
  bool operator==(const GlyphView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const GlyphView& glyph) {
  out << "box " << glyph.width << "x" << glyph.height << " at " << glyph.x_offset << ","
      << glyph.y_offset << " advance " << glyph.advance << " ink";
  for (const auto& [x, y] : glyph.ink) out << " (" << x << "," << y << ")";
  return out;
}

std::map<std::int64_t, GlyphView> loaded_glyphs(const LoadedFont& font) {
  std::map<std::int64_t, GlyphView> glyphs;
  for (const LoadedGlyph& glyph : font.glyphs) {
    GlyphView view{static_cast<int>(glyph.width),
                   static_cast<int>(glyph.height),
                   glyph.x_offset,
                   glyph.y_offset,
                   glyph.advance,
                   {}};
    for (std::uint32_t row = 0; row < glyph.height; ++row) {
      for (std::uint32_t column = 0; column < glyph.width; ++column) {
        if (glyph.ink(column, row)) {
          view.ink.emplace(glyph.x_offset + static_cast<int>(column),
                           glyph.y_offset + static_cast<int>(glyph.height - 1 - row));
        }
      }
    }
    glyphs[glyph.code] = view;
  }
  return glyphs;
}

// Every glyph FreeType's character map reaches, as FreeType loads it.
std::map<std::int64_t, GlyphView> freetype_glyphs(const std::string& path) {
  std::map<std::int64_t, GlyphView> glyphs;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return glyphs;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) == 0) {
    if (face->charmap == nullptr && face->num_charmaps > 0) {
      static_cast<void>(FT_Set_Charmap(face, face->charmaps[0]));
    }
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0;
         code = FT_Get_Next_Char(face, code, &index)) {
      if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) continue;
      const FT_GlyphSlot slot = face->glyph;
      const FT_Bitmap& bitmap = slot->bitmap;
      GlyphView view{static_cast<int>(bitmap.width),
                     static_cast<int>(bitmap.rows),
                     slot->bitmap_left,
                     slot->bitmap_top - static_cast<int>(bitmap.rows),
                     static_cast<int>(slot->advance.x / 64),
                     {}};
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
          if ((line[column / 8] >> (7 - column % 8) & 1) != 0) {
            view.ink.emplace(slot->bitmap_left + static_cast<int>(column),
                             slot->bitmap_top - 1 - static_cast<int>(row));
          }
        }
      }
      glyphs[static_cast<std::int64_t>(code)] = view;
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return glyphs;
}

int first_number(const std::string& font, const std::string& keyword) {
  const std::vector<std::string> lines = lines_with(font, keyword + " ");
  return lines.empty() ? -1000 : std::stoi(lines.front().substr(keyword.size() + 1));
}

struct VellicorFont {
  const char* label;
  std::vector<std::string> options;  // the picture last, relative to the source tree
  bool unicode;
};

void PrintTo(const VellicorFont& row, std::ostream* out) { print_label(out, {row.label}); }

class BdfFontReaderVellicorFonts : public ::testing::TestWithParam<VellicorFont> {};

// Each layout vellicor converts, read back: the same glyphs as FreeType sees
// them, the header's ascent, descent, name and properties.
TEST_P(BdfFontReaderVellicorFonts, ReadsEveryGlyphAsFreeTypeDoes) {
  const TempDir dir;
  const std::string bdf = dir.file("font.bdf");
  std::string command = (binary_dir() / "cvellicor").string() + " -o " + bdf;
  for (const std::string& option : GetParam().options) {
    const bool is_file = option.find('.') != std::string::npos;
    command += " " + (is_file ? std::string(VELLICOR_TEST_SOURCE_DIR) + "/" + option : option);
  }
  ASSERT_TRUE(shell_succeeds(command + " > /dev/null")) << command;

  const std::vector<std::uint8_t> bytes = read_file(bdf);
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(read_bdf_font(bytes.data(), bytes.size(), font, &detail, nullptr), ResultCode::kOk);
  const std::map<std::int64_t, GlyphView> ours = loaded_glyphs(font);
  const std::map<std::int64_t, GlyphView> freetype = freetype_glyphs(bdf);
  ASSERT_FALSE(freetype.empty());
  EXPECT_EQ(ours, freetype);

  const std::string text = read_text(bdf);
  EXPECT_EQ(font.kind, FontFileKind::kBdf);
  EXPECT_EQ(font.glyphs.size(), static_cast<std::size_t>(first_number(text, "CHARS")));
  EXPECT_EQ(font.glyphs_without_code, 0U);
  EXPECT_EQ(font.ascent, first_number(text, "FONT_ASCENT"));
  EXPECT_EQ(font.descent, first_number(text, "FONT_DESCENT"));
  EXPECT_EQ(font.font_name, "No-Name-Font");
  EXPECT_EQ(font.unicode, GetParam().unicode);
  EXPECT_EQ(font.family_name, GetParam().unicode ? "No-Name-Font" : "");
  EXPECT_EQ(font.properties.size(),
            static_cast<std::size_t>(first_number(text, "STARTPROPERTIES")));
  EXPECT_EQ(font.properties.front(),
            (std::pair<std::string, std::string>{"FONT_DESCENT", std::to_string(font.descent)}));
  // Glyphs keep the file's order and names, and SWIDTH.
  const std::vector<std::string> names = lines_with(text, "STARTCHAR ");
  ASSERT_EQ(names.size(), font.glyphs.size());
  for (std::size_t index = 0; index < names.size(); ++index) {
    EXPECT_EQ("STARTCHAR " + font.glyphs[index].name, names[index]);
  }
  EXPECT_EQ(font.glyphs.front().scalable_width, first_number(text, "SWIDTH"));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BdfFontReaderVellicorFonts,
    ::testing::Values(
        VellicorFont{
            "Strip", {"-v", "33", "-a", "1", "-d", "2", "-r", "1", "examples/ascii.bmp"}, false},
        VellicorFont{"ExtendedStrip", {"-d", "2", "--ink", "black", "examples/ascii.bmp"}, false},
        VellicorFont{"List",
                     {"-w", "-a", "1", "-d", "2", "--chars-file", "examples/latin.txt",
                      "examples/latin.bmp"},
                     true},
        VellicorFont{"Grid",
                     {"--grid", "8x16", "--grid-origin", "1,1", "--grid-gap", "1,1", "--ink",
                      "dark", "-d", "2", "--charset", "ascii", "examples/ascii_grid.png"},
                     true},
        VellicorFont{"PaddedFixedStrip",
                     {"-w", "-u", "2", "-b", "1", "-l", "1", "-r", "2", "-v", "0x21", "-a", "1",
                      "-d", "2", "examples/ascii.bmp"},
                     false},
        VellicorFont{"ListWithBlankAdvance",
                     {"-u", "1", "-l", "2", "--blank-advance", "3", "--chars-file",
                      "examples/latin.txt", "-d", "2", "-a", "1", "examples/latin.bmp"},
                     true},
        VellicorFont{"Rows",
                     {"-a", "1", "-d", "2", "--rows", "3", "--chars-file", "docs/sheets/rows.txt",
                      "docs/sheets/rows.png"},
                     true},
        VellicorFont{"ProportionalGrid",
                     {"--grid", "7x11", "--grid-origin", "1,1", "--grid-gap", "1,1", "-d", "3",
                      "--ink", "dark", "--proportional", "-l", "1", "-r", "1", "--charset", "ascii",
                      "docs/sheets/grid.png"},
                     true},
        VellicorFont{"Marks",
                     {"--marks", "-d", "3", "--ink", "dark", "--chars-file",
                      "docs/sheets/marks.txt", "docs/sheets/marks.png"},
                     true}),
    [](const auto& row) { return std::string(row.param.label); });
#endif

// Everything a font from elsewhere may hold: CR LF line ends, comments
// before STARTFONT and among the glyphs, '#' remarks, blank lines, BDF 2.2's
// extras, quoted and repeated properties, a registry in lower case, a glyph
// without a code, codes past Unicode and twice, a missing DWIDTH, short,
// long and missing BITMAP lines, and no FONT_ASCENT.
TEST(BdfFontReader, ReadsForeignConstructs) {
  std::string text =
      "COMMENT written by hand\n"
      "STARTFONT 2.2\n"
      "FONT -Misc-Hand-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1\n"
      "SIZE 8 75 75\n"
      "METRICSSET 0\n"
      "FONTBOUNDINGBOX 9 8 -1 -2\n"
      "\n"
      "STARTPROPERTIES 5\n"
      "FAMILY_NAME \"Hand Made\"\n"
      "COMMENT inside the properties\n"
      "CHARSET_REGISTRY \"iso10646\"\n"
      "FONT_DESCENT 1\n"
      "NOTICE \"first\"\n"
      "NOTICE \"second\"\n"
      "ENDPROPERTIES\n"
      "CHARS 7\n"
      "STARTCHAR unencoded\n"
      "ENCODING -1 200\n"
      "BBX 1 1 0 0\n"
      "BITMAP\n"
      "80\n"
      "ENDCHAR\n"
      "# a remark\n"
      "STARTCHAR A\n"
      "ENCODING 65\n"
      "SWIDTH 500 0\n"
      "DWIDTH 6 0\n"
      "SWIDTH1 500 0\n"
      "BBX 9 3 -1 -2\n"
      "BITMAP\n"
      "FFFF\n"   // bits past the width cleared
      "8\n"      // short: padded with zero
      "00801\n"  // long: cut
      "ENDCHAR\n"
      "STARTCHAR B\n"
      "ENCODING 66\n"
      "BBX 3 4 0 0\n"
      "BITMAP\n"
      "E0\n"
      "ENDCHAR\n"  // two lines missing, no DWIDTH
      "STARTCHAR again\n"
      "ENCODING 65\n"
      "BBX 1 1 0 0\n"
      "BITMAP\n"
      "80\n"
      "ENDCHAR\n"
      "COMMENT between glyphs\n"
      "STARTCHAR far\n"
      "ENCODING 1114112\n"
      "BBX 1 1 0 0\n"
      "ENDCHAR\n"
      "STARTCHAR negative\n"
      "ENCODING -7\n"
      "ENDCHAR\n"
      "STARTCHAR nobitmap\n"
      "ENCODING 32\n"
      "DWIDTH 4 0\n"
      "BBX 2 2 0 0\n"
      "ENDCHAR\n"
      "ENDFONT\n"
      "anything after the end\n";
  std::string crlf;
  for (const char character : text) {
    if (character == '\n') crlf += '\r';
    crlf += character;
  }
  const LoadedFont font = read_good(crlf);

  EXPECT_EQ(font.font_name, "-Misc-Hand-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1");
  EXPECT_EQ(font.family_name, "Hand Made");
  EXPECT_TRUE(font.unicode);
  EXPECT_EQ(font.ascent, 6);  // FONTBOUNDINGBOX: 8 - 2
  EXPECT_EQ(font.descent, 1);
  const std::vector<std::pair<std::string, std::string>> properties = {
      {"FAMILY_NAME", "Hand Made"},
      {"CHARSET_REGISTRY", "iso10646"},
      {"FONT_DESCENT", "1"},
      {"NOTICE", "second"}};
  EXPECT_EQ(font.properties, properties);
  EXPECT_EQ(font.glyphs_without_code, 4U);  // -1 200, the second 65, 1114112, -7

  ASSERT_EQ(font.glyphs.size(), 3U);
  const LoadedGlyph& a = font.glyphs[0];
  EXPECT_EQ(a.code, 65);
  EXPECT_EQ(a.name, "A");
  EXPECT_EQ(a.scalable_width, 500);
  EXPECT_EQ(a.advance, 6);
  EXPECT_EQ(a.x_offset, -1);
  EXPECT_EQ(a.y_offset, -2);
  EXPECT_EQ(a.lines, (std::vector<std::uint8_t>{0xFF, 0x80, 0x80, 0x00, 0x00, 0x80}));
  const LoadedGlyph& b = font.glyphs[1];
  EXPECT_EQ(b.advance, 3);  // the box's width, as FreeType gives a glyph without DWIDTH
  EXPECT_EQ(b.scalable_width, -1);
  EXPECT_EQ(b.lines, (std::vector<std::uint8_t>{0xE0, 0x00, 0x00, 0x00}));
  const LoadedGlyph& space = font.glyphs[2];
  EXPECT_EQ(space.code, 32);
  EXPECT_EQ(space.advance, 4);
  EXPECT_EQ(space.lines, (std::vector<std::uint8_t>{0x00, 0x00}));
}

// A grey font (SIZE's fourth number): every pixel of any level is ink.
TEST(BdfFontReader, ReadsGreyPixelsAsInk) {
  const LoadedFont font = read_good(
      "STARTFONT 2.1\nFONT grey\nSIZE 8 75 75 2\nFONTBOUNDINGBOX 5 1 0 0\nCHARS 1\n"
      "STARTCHAR g\nENCODING 103\nDWIDTH 5 0\nBBX 5 1 0 0\nBITMAP\n1B40\nENDCHAR\nENDFONT\n");
  ASSERT_EQ(font.glyphs.size(), 1U);
  // 00 01 10 11 | 01 00 0000: levels 0, 1, 2, 3, 1.
  EXPECT_EQ(font.glyphs[0].lines, (std::vector<std::uint8_t>{0x78}));
  EXPECT_FALSE(font.unicode);
  EXPECT_EQ(font.ascent, 1);
  EXPECT_EQ(font.descent, 0);
}

struct Refusal {
  const char* label;
  std::string text;
  ErrorDetail detail;
  std::uint64_t line;
};

const std::string kHeader =
    "STARTFONT 2.1\nFONT f\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\nCHARS 1\n";  // lines 1-5
const std::string kGlyph = "STARTCHAR a\nENCODING 97\nBBX 8 1 0 0\nBITMAP\nFF\nENDCHAR\n";

void PrintTo(const Refusal& row, std::ostream* out) { print_label(out, {row.label}); }

class BdfFontReaderRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(BdfFontReaderRefusals, NamesTheDetailAndLine) {
  LoadedFont font;
  font.font_name = "untouched";
  ErrorDetail detail = ErrorDetail::kNone;
  FontReadProblem problem;
  EXPECT_NE(read_text_font(GetParam().text, font, &detail, &problem), ResultCode::kOk);
  EXPECT_EQ(detail, GetParam().detail);
  EXPECT_EQ(problem.line, GetParam().line);
  EXPECT_EQ(font.font_name, "untouched");
  EXPECT_TRUE(font.glyphs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BdfFontReaderRefusals,
    ::testing::Values(
        Refusal{"Empty", "", ErrorDetail::kFontUnknown, 0},
        Refusal{"NoStartFont", "FONT f\n" + kHeader, ErrorDetail::kFontUnknown, 0},
        Refusal{"NoEndFont", kHeader + kGlyph, ErrorDetail::kFontDamaged, 11},
        Refusal{
            "NoEndChar",
            kHeader + "STARTCHAR a\nENCODING 97\nBBX 8 1 0 0\nBITMAP\nFF\n" + kGlyph + "ENDFONT\n",
            ErrorDetail::kFontDamaged, 11},
        Refusal{"BadHex", kHeader + "STARTCHAR a\nENCODING 97\nBBX 8 1 0 0\nBITMAP\nFG\n",
                ErrorDetail::kFontDamaged, 10},
        Refusal{"BbxBeforeEncoding", kHeader + "STARTCHAR a\nBBX 8 1 0 0\n",
                ErrorDetail::kFontDamaged, 7},
        Refusal{"EndCharWithoutEncoding", kHeader + "STARTCHAR a\nENDCHAR\nENDFONT\n",
                ErrorDetail::kFontDamaged, 7},
        Refusal{"BitmapWithoutBbx", kHeader + "STARTCHAR a\nENCODING 97\nBITMAP\n",
                ErrorDetail::kFontDamaged, 8},
        Refusal{"GlyphBeforeChars", "STARTFONT 2.1\nFONT f\nSIZE 8 75 75\n" + kGlyph,
                ErrorDetail::kFontDamaged, 4},
        Refusal{"CharsWithoutBoundingBox", "STARTFONT 2.1\nFONT f\nSIZE 8 75 75\nCHARS 1\n",
                ErrorDetail::kFontDamaged, 4},
        Refusal{"UnknownKeyword", kHeader + "STARTCHAR a\nENCODING 97\nWIDTH 8\n",
                ErrorDetail::kFontDamaged, 8},
        Refusal{"NegativeBoxWidth", kHeader + "STARTCHAR a\nENCODING 97\nBBX -8 1 0 0\n",
                ErrorDetail::kFontDamaged, 8},
        Refusal{"MissingBoxField", kHeader + "STARTCHAR a\nENCODING 97\nBBX 8 1 0\n",
                ErrorDetail::kFontDamaged, 8},
        Refusal{"ControlByte", kHeader + "STARTCHAR a\x01\n", ErrorDetail::kFontDamaged, 6},
        Refusal{"AscentNotANumber",
                "STARTFONT 2.1\nFONT f\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\n"
                "STARTPROPERTIES 1\nFONT_ASCENT x\nENDPROPERTIES\n",
                ErrorDetail::kFontDamaged, 6},
        Refusal{"PropertiesNeverEnd",
                "STARTFONT 2.1\nFONT f\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\n"
                "STARTPROPERTIES 1\nFOUNDRY \"x\"\n",
                ErrorDetail::kFontDamaged, 6},
        Refusal{"BoxTallerThanTheBound", kHeader + "STARTCHAR a\nENCODING 97\nBBX 8 4097 0 0\n",
                ErrorDetail::kFontTooLargeToDraw, 8},
        Refusal{"OnlyGlyphsWithoutCode",
                kHeader + "STARTCHAR a\nENCODING -1\nBBX 8 1 0 0\nBITMAP\nFF\nENDCHAR\nENDFONT\n",
                ErrorDetail::kFontNoGlyph, 0}),
    [](const auto& row) { return std::string(row.param.label); });

// More glyphs than a drawing holds: refused at the first glyph too many.
TEST(BdfFontReader, RefusesMoreGlyphsThanTheBound) {
  std::string text = kHeader;
  for (std::uint32_t code = 0; code <= kMaxDrawnGlyphs; ++code) {
    text += "STARTCHAR g\nENCODING " + std::to_string(code) + "\nENDCHAR\n";
  }
  text += "ENDFONT\n";
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  FontReadProblem problem;
  EXPECT_NE(read_text_font(text, font, &detail, &problem), ResultCode::kOk);
  EXPECT_EQ(detail, ErrorDetail::kFontTooLargeToDraw);
  EXPECT_EQ(problem.line, 5U + 3U * kMaxDrawnGlyphs + 2U);

  // The same count with one glyph fewer is read.
  const std::string last =
      "STARTCHAR g\nENCODING " + std::to_string(kMaxDrawnGlyphs) + "\nENDCHAR\n";
  text.erase(text.find(last), last.size());
  EXPECT_EQ(read_good(text).glyphs.size(), kMaxDrawnGlyphs);
}

// Boxes stated without their lines cost no bytes of the file: their blank
// pixels are bounded by the file's size, not by what the boxes claim.
TEST(BdfFontReader, RefusesBoxesFarLargerThanTheFile) {
  std::string text = kHeader;
  for (std::uint32_t code = 0; code < 16; ++code) {
    text += "STARTCHAR g\nENCODING " + std::to_string(code) + "\nBBX 4096 4096 0 0\nENDCHAR\n";
  }
  text += "ENDFONT\n";
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  FontReadProblem problem;
  EXPECT_NE(read_text_font(text, font, &detail, &problem), ResultCode::kOk);
  EXPECT_EQ(detail, ErrorDetail::kFontTooLargeToDraw);
  // 8 MiB hold four boxes of 2 MiB; the fifth ends at line 5 + 4 * 4 + 4.
  EXPECT_EQ(problem.line, 25U);
}

}  // namespace
}  // namespace vellicor::test
