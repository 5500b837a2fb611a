// FreeType-based checks of written fonts (skipped in builds without FreeType).
#include "tests/support/bdf_check.hpp"

#ifdef VELLICOR_TEST_HAVE_FREETYPE
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#endif

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <sstream>

namespace vellicor::test {

#ifdef VELLICOR_TEST_HAVE_FREETYPE
namespace {

struct LibraryCloser {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

// How outlines are loaded to be compared with bitmaps: as a monochrome
// screen loads them, hinted. Glyphs without instructions whose edges lie on
// pixel boundaries render to the same pixels hinted and unhinted, with both
// TrueType interpreters (35 and 40), and their advances stay whole pixels.
constexpr FT_Int32 kOutlineLoadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO;

// A readable list of at most kShownPixels pixels; wide glyphs have thousands.
constexpr std::size_t kShownPixels = 48;

std::string describe(std::vector<InkPixel> ink) {
  std::sort(ink.begin(), ink.end());
  std::ostringstream text;
  text << " " << ink.size() << " pixels:";
  for (std::size_t i = 0; i < ink.size() && i < kShownPixels; ++i) {
    text << " (" << ink[i].x << "," << ink[i].y << ")";
  }
  if (ink.size() > kShownPixels) text << " ...";
  return text.str();
}

// Opens path; on failure says why in message.
struct OpenFont {
  LibraryPtr library;
  FacePtr face;
  std::string message;
};

OpenFont open_font(const std::string& path) {
  OpenFont font;
  FT_Library library = nullptr;
  if (FT_Error error = FT_Init_FreeType(&library); error != 0) {
    font.message = "FT_Init_FreeType failed with " + std::to_string(error);
    return font;
  }
  font.library.reset(library);
  FT_Face face = nullptr;
  if (FT_Error error = FT_New_Face(library, path.c_str(), 0, &face); error != 0) {
    font.message = "FT_New_Face refused " + path + " with error " + std::to_string(error);
    return font;
  }
  font.face.reset(face);
  // A BDF font without CHARSET_REGISTRY gets one charmap of its own encodings.
  if (face->charmap == nullptr && face->num_charmaps > 0) FT_Set_Charmap(face, face->charmaps[0]);
  // An sfnt's bitmap strike (OTB, or a TTF's embedded one) loads only once
  // selected; the bitmap formats' one strike is selected already.
  if (FT_HAS_FIXED_SIZES(face) && FT_Select_Size(face, 0) != 0) {
    font.message = "FT_Select_Size refused the first strike of " + path;
    font.face.reset();
  }
  return font;
}

std::vector<InkPixel> rendered_ink(FT_Face face) {
  std::vector<InkPixel> ink;
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const bool is_ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                              ? ((line[column / 8] >> (7 - column % 8)) & 1) != 0
                              : line[column] != 0;
      if (is_ink) {
        ink.push_back({slot->bitmap_left + static_cast<int>(column),
                       slot->bitmap_top - 1 - static_cast<int>(row)});
      }
    }
  }
  return ink;
}

}  // namespace
#endif  // VELLICOR_TEST_HAVE_FREETYPE

std::vector<InkPixel> picture_ink(const std::vector<std::string>& rows, std::uint32_t first_column,
                                  std::uint32_t width, int x_of_first_column, int y_of_row0) {
  std::vector<InkPixel> ink;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::uint32_t column = first_column; column < first_column + width; ++column) {
      if (column < rows[row].size() && rows[row][column] == '#') {
        ink.push_back({x_of_first_column + static_cast<int>(column - first_column),
                       y_of_row0 - static_cast<int>(row)});
      }
    }
  }
  return ink;
}

#ifdef VELLICOR_TEST_HAVE_FREETYPE
::testing::AssertionResult font_opens_with(const std::string& path, long glyph_count) {
  const OpenFont font = open_font(path);
  if (!font.face) return ::testing::AssertionFailure() << font.message;
  // FreeType's BDF driver puts an empty default glyph at index 0, before the
  // font's own glyphs.
  const long own_glyphs = font.face->num_glyphs - 1;
  if (own_glyphs != glyph_count) {
    return ::testing::AssertionFailure()
           << "FreeType counts " << own_glyphs << " glyphs of the font, expected " << glyph_count;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult font_renders_as(const std::string& path,
                                           const std::vector<ExpectedGlyph>& expected) {
  const ::testing::AssertionResult counted =
      font_opens_with(path, static_cast<long>(expected.size()));
  if (!counted) return counted;
  const OpenFont font = open_font(path);
  FT_Face face = font.face.get();
  for (const ExpectedGlyph& glyph : expected) {
    const FT_UInt index = FT_Get_Char_Index(face, glyph.code);
    if (index == 0) {
      return ::testing::AssertionFailure() << "FreeType finds no glyph for code " << glyph.code;
    }
    if (FT_Error error = FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
        error != 0) {
      return ::testing::AssertionFailure()
             << "FT_Load_Glyph failed for code " << glyph.code << " with " << error;
    }
    std::vector<InkPixel> got = rendered_ink(face);
    std::vector<InkPixel> want = glyph.ink;
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    if (got != want) {
      return ::testing::AssertionFailure() << "glyph " << glyph.code << " renders" << describe(got)
                                           << "\n  expected" << describe(want);
    }
  }
  return ::testing::AssertionSuccess();
}

namespace {

// A glyph as FreeType loads it, bits as '#' and '.'.
struct LoadedGlyph {
  int left = 0;
  int top = 0;
  long advance = 0;
  std::vector<std::string> lines;
  bool operator==(const LoadedGlyph&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LoadedGlyph& glyph) {
  out << "left " << glyph.left << " top " << glyph.top << " advance " << glyph.advance << " bits";
  for (const std::string& line : glyph.lines) out << " " << line;
  return out;
}

// The bitmap in the face's glyph slot.
void read_slot(FT_GlyphSlot slot, LoadedGlyph& glyph) {
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    std::string& text = glyph.lines.emplace_back();
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const bool is_ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                              ? ((line[column / 8] >> (7 - column % 8)) & 1) != 0
                              : line[column] != 0;
      text += is_ink ? '#' : '.';
    }
  }
}

// The glyph of code in the face's charmap, or a message saying why not.
bool load(FT_Face face, FT_ULong code, LoadedGlyph& glyph, std::string& message) {
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (FT_Error error = FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
      error != 0) {
    message = "FT_Load_Glyph failed with " + std::to_string(error);
    return false;
  }
  read_slot(face->glyph, glyph);
  glyph.advance = face->glyph->advance.x / 64;
  return true;
}

// The glyph of code drawn from its outline, never from a bitmap strike, by
// the monochrome rasteriser at the face's current size.
bool load_outline(FT_Face face, FT_ULong code, LoadedGlyph& glyph, std::string& message) {
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (FT_Error error = FT_Load_Glyph(face, index, kOutlineLoadFlags); error != 0) {
    message = "FT_Load_Glyph failed with " + std::to_string(error);
    return false;
  }
  if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
    message = "the glyph is no outline";
    return false;
  }
  if (FT_Error error = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO); error != 0) {
    message = "FT_Render_Glyph failed with " + std::to_string(error);
    return false;
  }
  read_slot(face->glyph, glyph);
  // Unhinted advances are not rounded to whole pixels; an em that is not a
  // power of two of units can leave them a 64th of a pixel off.
  glyph.advance = (face->glyph->advance.x + 32) / 64;
  return true;
}

// The ink of a loaded glyph in font coordinates, in order.
std::vector<InkPixel> ink_of(const LoadedGlyph& glyph) {
  std::vector<InkPixel> ink;
  for (std::size_t row = 0; row < glyph.lines.size(); ++row) {
    for (std::size_t column = 0; column < glyph.lines[row].size(); ++column) {
      if (glyph.lines[row][column] == '#') {
        ink.push_back(
            {glyph.left + static_cast<int>(column), glyph.top - 1 - static_cast<int>(row)});
      }
    }
  }
  std::sort(ink.begin(), ink.end());
  return ink;
}

std::vector<FT_ULong> charmap_codes(FT_Face face) {
  std::vector<FT_ULong> codes;
  FT_UInt index = 0;
  for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0;
       code = FT_Get_Next_Char(face, code, &index)) {
    codes.push_back(code);
  }
  return codes;
}

}  // namespace

::testing::AssertionResult same_glyphs(const std::string& font, const std::string& reference,
                                       GlyphMatch match) {
  const OpenFont ours = open_font(font);
  if (!ours.face) return ::testing::AssertionFailure() << ours.message;
  const OpenFont theirs = open_font(reference);
  if (!theirs.face) return ::testing::AssertionFailure() << theirs.message;
  const std::vector<FT_ULong> codes = charmap_codes(ours.face.get());
  if (codes != charmap_codes(theirs.face.get())) {
    return ::testing::AssertionFailure() << "the charmaps differ";
  }
  if (codes.empty()) return ::testing::AssertionFailure() << "the charmap is empty";
  for (const FT_ULong code : codes) {
    LoadedGlyph mine;
    LoadedGlyph wanted;
    std::string message;
    if (!load(ours.face.get(), code, mine, message) ||
        !load(theirs.face.get(), code, wanted, message)) {
      return ::testing::AssertionFailure() << "code " << code << ": " << message;
    }
    const bool same = match == GlyphMatch::kExact
                          ? mine == wanted
                          : mine.advance == wanted.advance && ink_of(mine) == ink_of(wanted);
    if (!same) {
      return ::testing::AssertionFailure()
             << "code " << code << " loads as " << mine << "\n  the reference's as " << wanted;
    }
  }
  return ::testing::AssertionSuccess() << codes.size() << " codes";
}

::testing::AssertionResult same_glyphs_as_outlines(const std::string& font,
                                                   const std::string& reference) {
  const OpenFont ours = open_font(font);
  if (!ours.face) return ::testing::AssertionFailure() << ours.message;
  const OpenFont theirs = open_font(reference);
  if (!theirs.face) return ::testing::AssertionFailure() << theirs.message;
  const FT_Face face = ours.face.get();
  if (!FT_IS_SCALABLE(face)) return ::testing::AssertionFailure() << font << " has no outlines";
  // The font's own size: its embedded strike's, else the reference's.
  const FT_Face sized = face->num_fixed_sizes > 0 ? face : theirs.face.get();
  if (sized->num_fixed_sizes < 1) {
    return ::testing::AssertionFailure() << reference << " has no bitmap strike";
  }
  const FT_Pos pixel_size = (sized->available_sizes[0].y_ppem + 32) / 64;
  if (pixel_size <= 0 || face->units_per_EM % pixel_size != 0) {
    return ::testing::AssertionFailure()
           << "an em of " << face->units_per_EM
           << " units is no whole number of units per pixel at " << pixel_size << " pixels";
  }
  if (FT_Error error = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size)); error != 0) {
    return ::testing::AssertionFailure() << "FT_Set_Pixel_Sizes failed with " << error;
  }
  const std::vector<FT_ULong> codes = charmap_codes(face);
  if (codes != charmap_codes(theirs.face.get())) {
    return ::testing::AssertionFailure() << "the charmaps differ";
  }
  if (codes.empty()) return ::testing::AssertionFailure() << "the charmap is empty";
  for (const FT_ULong code : codes) {
    LoadedGlyph mine;
    LoadedGlyph wanted;
    std::string message;
    if (!load_outline(face, code, mine, message) ||
        !load(theirs.face.get(), code, wanted, message)) {
      return ::testing::AssertionFailure() << "code " << code << ": " << message;
    }
    if (mine.advance != wanted.advance || ink_of(mine) != ink_of(wanted)) {
      return ::testing::AssertionFailure() << "code " << code << " renders as " << mine
                                           << "\n  the reference's loads as " << wanted;
    }
  }
  return ::testing::AssertionSuccess() << codes.size() << " codes at " << pixel_size << " pixels";
}

#else  // no FreeType in this build (the Windows cross build has none)

namespace {

// Marks the running test as skipped, with the reason, and lets it go on: the
// checks without FreeType in the same test still count.
::testing::AssertionResult skipped_without_freetype() {
  ::testing::internal::AssertHelper(
      ::testing::TestPartResult::kSkip, __FILE__, __LINE__,
      "FreeType is not part of this build; the font is not read back") = ::testing::Message();
  return ::testing::AssertionSuccess();
}

}  // namespace

::testing::AssertionResult font_opens_with(const std::string&, long) {
  return skipped_without_freetype();
}

::testing::AssertionResult font_renders_as(const std::string&, const std::vector<ExpectedGlyph>&) {
  return skipped_without_freetype();
}

::testing::AssertionResult same_glyphs(const std::string&, const std::string&, GlyphMatch) {
  return skipped_without_freetype();
}

::testing::AssertionResult same_glyphs_as_outlines(const std::string&, const std::string&) {
  return skipped_without_freetype();
}

#endif  // VELLICOR_TEST_HAVE_FREETYPE

ToolVerdict bdftopcf_verdict(const std::string& path) {
#ifdef _WIN32
  static_cast<void>(path);
  return ToolVerdict::kAbsent;  // the X font compiler runs on X11 systems only
#else
  if (std::system("command -v bdftopcf >/dev/null 2>&1") != 0) return ToolVerdict::kAbsent;
  const std::string command = "bdftopcf -o /dev/null '" + path + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0 ? ToolVerdict::kAccepted : ToolVerdict::kRejected;
#endif
}

ToolVerdict bdftopcf_verdict(const std::string& path, const std::string& pcf_path) {
#ifdef _WIN32
  static_cast<void>(path);
  static_cast<void>(pcf_path);
  return ToolVerdict::kAbsent;
#else
  if (std::system("command -v bdftopcf >/dev/null 2>&1") != 0) return ToolVerdict::kAbsent;
  const std::string command = "bdftopcf -o '" + pcf_path + "' '" + path + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0 ? ToolVerdict::kAccepted : ToolVerdict::kRejected;
#endif
}

ToolVerdict fonttosfnt_verdict(const std::string& path, const std::string& otb_path) {
#ifdef _WIN32
  static_cast<void>(path);
  static_cast<void>(otb_path);
  return ToolVerdict::kAbsent;  // an X11 tool
#else
  if (std::system("command -v fonttosfnt >/dev/null 2>&1") != 0) return ToolVerdict::kAbsent;
  const std::string command = "fonttosfnt -o '" + otb_path + "' '" + path + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0 ? ToolVerdict::kAccepted : ToolVerdict::kRejected;
#endif
}

bool reads_fonts_back() {
#ifdef VELLICOR_TEST_HAVE_FREETYPE
  return true;
#else
  return false;
#endif
}

#ifdef VELLICOR_TEST_HAVE_FREETYPE

std::vector<std::uint32_t> unicode_charmap(const std::string& path) {
  std::vector<std::uint32_t> codes;
  const OpenFont font = open_font(path);
  if (!font.face || FT_Select_Charmap(font.face.get(), FT_ENCODING_UNICODE) != 0) return codes;
  FT_UInt index = 0;
  for (FT_ULong code = FT_Get_First_Char(font.face.get(), &index); index != 0;
       code = FT_Get_Next_Char(font.face.get(), code, &index)) {
    codes.push_back(static_cast<std::uint32_t>(code));
  }
  return codes;
}

long unicode_advance(const std::string& path, std::uint32_t code) {
  const OpenFont font = open_font(path);
  FT_Face face = font.face.get();
  if (face == nullptr || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return -1;
  if (face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) != 0) return -1;
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
    return -1;
  }
  constexpr long kSubpixels = 64;
  return face->glyph->advance.x / kSubpixels;
}

std::string bdf_property(const std::string& path, const char* name) {
  const OpenFont font = open_font(path);
  if (!font.face) return {};
  BDF_PropertyRec property{};
  if (FT_Get_BDF_Property(font.face.get(), name, &property) != 0) return {};
  switch (property.type) {
    case BDF_PROPERTY_TYPE_ATOM:
      return property.u.atom != nullptr ? property.u.atom : "";
    case BDF_PROPERTY_TYPE_INTEGER:
      return std::to_string(property.u.integer);
    case BDF_PROPERTY_TYPE_CARDINAL:
      return std::to_string(property.u.cardinal);
    default:
      return {};
  }
}

#else  // no FreeType: each answer marks the test skipped and is empty

std::vector<std::uint32_t> unicode_charmap(const std::string&) {
  static_cast<void>(skipped_without_freetype());
  return {};
}

long unicode_advance(const std::string&, std::uint32_t) {
  static_cast<void>(skipped_without_freetype());
  return -1;
}

std::string bdf_property(const std::string&, const char*) {
  static_cast<void>(skipped_without_freetype());
  return {};
}

#endif  // VELLICOR_TEST_HAVE_FREETYPE

std::vector<std::string> lines_with(const std::string& font, const std::string& keyword) {
  std::vector<std::string> found;
  std::istringstream lines(font);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(keyword, 0) == 0) found.push_back(line);
  }
  return found;
}

}  // namespace vellicor::test
