// Fuzz target: the PSF font reader on arbitrary bytes. A refusal names one of
// the readers' details; an accepted font is a set of whole cells: every glyph
// of the header's width and height at offsets 0 and -descent, advancing its
// width, its lines taken from the file (so no more bytes than the file holds),
// with no bit past the width and distinct codes.
#include <cstddef>
#include <cstdint>
#include <set>

#include "engine/fontfile/font_file_reader.hpp"
#include "fuzz/fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vellicor::ErrorDetail;
  using vellicor::fuzz::require;
  vellicor::LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  const vellicor::ResultCode result = vellicor::read_psf_font(data, size, font, &detail);
  if (vellicor::failed(result)) {
    require(detail == ErrorDetail::kFontUnknown || detail == ErrorDetail::kFontDamaged ||
                detail == ErrorDetail::kFontTooLargeToDraw || detail == ErrorDetail::kFontNoGlyph ||
                detail == ErrorDetail::kOutOfMemory,
            "a refusal names a reader's detail");
    require(font.glyphs.empty(), "a refused font is left untouched");
    return 0;
  }
  require(font.kind == vellicor::FontFileKind::kPsf1 || font.kind == vellicor::FontFileKind::kPsf2,
          "a PSF font is of its kind");
  require(!font.glyphs.empty() && font.glyphs.size() <= vellicor::kMaxDrawnGlyphs,
          "an accepted font holds 1 to 65,536 glyphs");
  const vellicor::LoadedGlyph& first = font.glyphs.front();
  require(first.width >= 1 && first.width <= vellicor::kMaxDrawnGlyphSide && first.height >= 1 &&
              first.height <= vellicor::kMaxDrawnGlyphSide,
          "the cell's sides are within the bound");
  require(font.ascent + font.descent == static_cast<std::int32_t>(first.height) &&
              font.descent == static_cast<std::int32_t>(first.height / 4),
          "a quarter of the cell lies below the baseline");
  std::set<std::int64_t> codes;
  std::uint64_t bitmap_bytes = 0;
  for (const vellicor::LoadedGlyph& glyph : font.glyphs) {
    require(glyph.width == first.width && glyph.height == first.height && glyph.x_offset == 0 &&
                glyph.y_offset == -font.descent &&
                glyph.advance == static_cast<std::int32_t>(glyph.width),
            "every glyph is the whole cell");
    require(glyph.lines.size() == glyph.stride() * glyph.height,
            "a glyph holds height lines of its stride");
    if (glyph.width % 8 != 0) {
      const auto unused = static_cast<std::uint8_t>(0xFFU >> (glyph.width % 8));
      for (std::size_t end = glyph.stride(); end <= glyph.lines.size(); end += glyph.stride()) {
        require((glyph.lines[end - 1] & unused) == 0, "no bit past a glyph's width");
      }
    }
    require(glyph.code >= 0 && glyph.code <= 0x10FFFF, "a kept glyph has a code");
    require(codes.insert(glyph.code).second, "no code is kept twice");
    bitmap_bytes += glyph.lines.size();
  }
  require(bitmap_bytes <= size, "the glyphs' bytes are bytes of the file");
  return 0;
}
