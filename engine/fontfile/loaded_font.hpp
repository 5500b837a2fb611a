// A font as read back from a file: the glyphs with their codes, boxes,
// offsets, advances and bits, and the few font-wide figures a drawing of the
// font needs. Every reader (BDF, PSF, and the FreeType-backed ones) fills this
// one shape, so the drawing never depends on where a font came from.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vellicor {

// The kind of file a font was read from.
enum class FontFileKind { kBdf, kPcf, kPsf1, kPsf2, kOtb, kTtf, kFon };

// One glyph as its file states it.
struct LoadedGlyph {
  // ENCODING of a BDF record, the Unicode code point of a PSF table entry or
  // a character map, or the byte of a FON. -1 for a glyph without a code.
  std::int64_t code = -1;
  std::string name;  // STARTCHAR or the glyph name the file holds; may be empty
  // The box of the bits (BBX): width, height and the offsets of its lower
  // left corner from the origin, y up.
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::int32_t x_offset = 0;
  std::int32_t y_offset = 0;
  std::int32_t advance = 0;          // DWIDTH x, in pixels
  std::int64_t scalable_width = -1;  // SWIDTH x; -1 where the file has none
  // height lines of (width + 7) / 8 bytes, top line first, leftmost pixel in
  // the most significant bit, bits past width zero.
  std::vector<std::uint8_t> lines;

  std::size_t stride() const { return (static_cast<std::size_t>(width) + 7) / 8; }
  bool ink(std::uint32_t x, std::uint32_t y) const {
    return (lines[y * stride() + x / 8] >> (7 - x % 8) & 1U) != 0;
  }
};

struct LoadedFont {
  FontFileKind kind = FontFileKind::kBdf;
  std::string font_name;    // the FONT line, or the family name of a font without one
  std::string family_name;  // FAMILY_NAME, or the name table's family
  // Whether codes are Unicode code points (CHARSET_REGISTRY "ISO10646", a PSF
  // Unicode table, a Unicode character map) rather than code-page bytes or
  // the font's own numbers.
  bool unicode = false;
  // FONT_ASCENT and FONT_DESCENT, or what the file states in their place (a
  // PSF cell's height with descent 0, a strike's ascender and descender).
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  // Sizes in the file (strikes of an OTB or TTF, fonts of a FON); the first
  // is read, the others are named as lost.
  std::uint32_t sizes = 1;
  // Properties as the file states them, name and value text, in file order
  // (BDF and PCF; empty for other kinds).
  std::vector<std::pair<std::string, std::string>> properties;
  std::vector<LoadedGlyph> glyphs;  // in file order
  // Glyphs the reader saw but could not keep: without a code, or past the
  // codes a character list can name. Counted, not kept.
  std::uint32_t glyphs_without_code = 0;
};

}  // namespace vellicor
