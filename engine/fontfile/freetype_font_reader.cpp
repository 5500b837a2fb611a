// Reads the fonts FreeType knows (PCF, OpenType/TrueType bitmap strikes, FON)
// into a LoadedFont.
#include "engine/fontfile/font_file_reader.hpp"

#ifndef VELLICOR_HAVE_FREETYPE

namespace vellicor {

ResultCode read_freetype_font(const std::uint8_t*, std::size_t, LoadedFont&, ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
}

bool reads_fonts_through_freetype() { return false; }

}  // namespace vellicor

#else

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#include FT_FONT_FORMATS_H

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/fontfile/freetype_glyph.hpp"

namespace vellicor {

namespace {

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using Library = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Face = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

// FreeType's 26.6 fixed point: 64 units a pixel.
constexpr int kSubpixelShift = 6;

// The properties an X font usually states (the XLFD fields and the few
// beside them that vellicor writes), asked of a PCF by name: FreeType gives
// no way to walk them all.
constexpr const char* kUsualProperties[] = {"FOUNDRY",          "FAMILY_NAME",
                                            "WEIGHT_NAME",      "SLANT",
                                            "SETWIDTH_NAME",    "ADD_STYLE_NAME",
                                            "PIXEL_SIZE",       "POINT_SIZE",
                                            "RESOLUTION_X",     "RESOLUTION_Y",
                                            "SPACING",          "AVERAGE_WIDTH",
                                            "CHARSET_REGISTRY", "CHARSET_ENCODING",
                                            "FONT_ASCENT",      "FONT_DESCENT",
                                            "DEFAULT_CHAR",     "COPYRIGHT",
                                            "NOTICE",           "CAP_HEIGHT",
                                            "X_HEIGHT",         "FONT"};

// The first bytes of the files drawn through FreeType: PCF, an sfnt
// (TrueType, OpenType with CFF, Apple's "true", a collection), and the
// executable a FON is.
constexpr std::array<std::string_view, 6> kKnownStarts = {
    std::string_view("\1fcp", 4), std::string_view("\0\1\0\0", 4), "OTTO", "true", "ttcf", "MZ"};

bool starts_as_known_font(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), data == nullptr ? 0 : size);
  return std::any_of(kKnownStarts.begin(), kKnownStarts.end(),
                     [&bytes](std::string_view start) { return bytes.starts_with(start); });
}

// FreeType's refusal to open a face: FreeType tells a file none of its
// drivers knows from a broken one only partly (a short file fails as a
// stream error), so a file that starts as a known font is damaged and any
// other unknown.
ResultCode open_failure(FT_Error error, const std::uint8_t* data, std::size_t size,
                        ErrorDetail* detail) {
  if (error == FT_Err_Out_Of_Memory) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  if (!starts_as_known_font(data, size)) {
    return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
  }
  return fail(detail, ErrorDetail::kFontDamaged, ResultCode::kUnusableInput);
}

ResultCode freetype_failure(FT_Error error, ErrorDetail* detail) {
  if (error == FT_Err_Out_Of_Memory) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  return fail(detail, ErrorDetail::kFontDamaged, ResultCode::kUnusableInput);
}

ResultCode too_large(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
}

// A BDF property of a PCF as text: strings as they stand, numbers in decimal.
bool property_text(FT_Face face, const char* name, std::string& text) {
  BDF_PropertyRec property{};
  if (FT_Get_BDF_Property(face, name, &property) != 0) return false;
  switch (property.type) {
    case BDF_PROPERTY_TYPE_ATOM:
      text = property.u.atom != nullptr ? property.u.atom : "";
      return true;
    case BDF_PROPERTY_TYPE_INTEGER:
      text = std::to_string(property.u.integer);
      return true;
    case BDF_PROPERTY_TYPE_CARDINAL:
      text = std::to_string(property.u.cardinal);
      return true;
    default:
      return false;
  }
}

bool property_number(FT_Face face, const char* name, std::int32_t& number) {
  BDF_PropertyRec property{};
  if (FT_Get_BDF_Property(face, name, &property) != 0) return false;
  if (property.type == BDF_PROPERTY_TYPE_INTEGER) {
    number = property.u.integer;
    return true;
  }
  if (property.type == BDF_PROPERTY_TYPE_CARDINAL && property.u.cardinal <= INT32_MAX) {
    number = static_cast<std::int32_t>(property.u.cardinal);
    return true;
  }
  return false;
}

// The kind by FreeType's driver; false for a driver whose fonts vellicor
// does not draw.
bool kind_of(FT_Face face, FontFileKind& kind) {
  const std::string_view format =
      FT_Get_Font_Format(face) != nullptr ? FT_Get_Font_Format(face) : "";
  if (format == "PCF") {
    kind = FontFileKind::kPcf;
  } else if (format == "Windows FNT") {
    kind = FontFileKind::kFon;
  } else if (format == "BDF") {
    kind = FontFileKind::kBdf;
  } else if (format == "TrueType" || format == "CFF") {
    kind = FT_IS_SCALABLE(face) ? FontFileKind::kTtf : FontFileKind::kOtb;
  } else {
    return false;
  }
  return true;
}

// The font-wide figures: ascent, descent, names and (X fonts) properties.
void read_font_figures(FT_Face face, LoadedFont& font) {
  const bool x_font = font.kind == FontFileKind::kPcf || font.kind == FontFileKind::kBdf;
  if (!property_number(face, "FONT_ASCENT", font.ascent)) {
    font.ascent = static_cast<std::int32_t>(face->size->metrics.ascender >> kSubpixelShift);
  }
  if (!property_number(face, "FONT_DESCENT", font.descent)) {
    font.descent = static_cast<std::int32_t>(-(face->size->metrics.descender >> kSubpixelShift));
  }
  const std::string family = face->family_name != nullptr ? face->family_name : "";
  if (!property_text(face, "FAMILY_NAME", font.family_name)) font.family_name = family;
  if (!property_text(face, "FONT", font.font_name)) font.font_name = family;
  if (!x_font) return;
  for (const char* name : kUsualProperties) {
    std::string value;
    if (property_text(face, name, value)) font.properties.emplace_back(name, std::move(value));
  }
}

// The charmap the codes come from: Unicode where the face has one, else
// the first (a FON's bytes, an X font's own encoding). False without any.
bool choose_charmap(FT_Face face, bool& unicode) {
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
    unicode = true;
    return true;
  }
  unicode = false;
  return face->num_charmaps > 0 && FT_Set_Charmap(face, face->charmaps[0]) == 0;
}

// Glyph indices FreeType makes up rather than reads: PCF and FON faces
// answer index 0 with a copy of the default character.
bool has_made_up_glyph_zero(FontFileKind kind) {
  return kind == FontFileKind::kPcf || kind == FontFileKind::kBdf || kind == FontFileKind::kFon;
}

ResultCode read_face(FT_Face face, LoadedFont& font, ErrorDetail* detail) {
  LoadedFont read;
  if (!kind_of(face, read.kind)) {
    if (face->num_fixed_sizes <= 0) {
      return fail(detail, ErrorDetail::kFontNoBitmap, ResultCode::kUnusableInput);
    }
    return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
  }
  if (face->num_fixed_sizes <= 0) {
    return fail(detail, ErrorDetail::kFontNoBitmap, ResultCode::kUnusableInput);
  }
  read.sizes = static_cast<std::uint32_t>(face->num_fixed_sizes);
  // Each font of a FON is a face of its own with a single size.
  if (read.kind == FontFileKind::kFon && face->num_faces > 1) {
    read.sizes = static_cast<std::uint32_t>(std::min<FT_Long>(face->num_faces, UINT32_MAX));
  }
  if (const FT_Error error = FT_Select_Size(face, 0); error != 0) {
    return freetype_failure(error, detail);
  }
  read_font_figures(face, read);
  if (!choose_charmap(face, read.unicode)) {
    return fail(detail, ErrorDetail::kFontNoGlyph, ResultCode::kUnusableInput);
  }

  std::vector<CodedGlyph> coded;
  std::uint32_t uncodable = 0;
  if (const ResultCode listed = list_coded_glyphs(face, coded, uncodable, detail); failed(listed)) {
    return listed;
  }
  if (coded.empty()) return fail(detail, ErrorDetail::kFontNoGlyph, ResultCode::kUnusableInput);
  read.glyphs.reserve(coded.size());
  for (const CodedGlyph& glyph : coded) {
    read.glyphs.emplace_back();
    const ResultCode loaded = load_glyph(face, glyph, read.glyphs.back(), detail);
    if (failed(loaded)) return loaded;
  }
  if (read.kind == FontFileKind::kFon) drop_fon_fillers(face, read.glyphs);
  read.glyphs_without_code =
      uncodable + count_unreached_glyphs(face, coded, has_made_up_glyph_zero(read.kind));
  font = std::move(read);
  return ResultCode::kOk;
}

}  // namespace

ResultCode read_freetype_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                              ErrorDetail* detail) {
  if (size > kMaxFontFileBytes || (data == nullptr && size != 0)) return too_large(detail);
  try {
    FT_Library raw_library = nullptr;
    if (const FT_Error error = FT_Init_FreeType(&raw_library); error != 0) {
      return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    }
    const Library library(raw_library);
    FT_Face raw_face = nullptr;
    const FT_Error error =
        FT_New_Memory_Face(library.get(), data, static_cast<FT_Long>(size), 0, &raw_face);
    if (error != 0) return open_failure(error, data, size, detail);
    const Face face(raw_face);
    return read_face(face.get(), font, detail);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

bool reads_fonts_through_freetype() { return true; }

}  // namespace vellicor

#endif
