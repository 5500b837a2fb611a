// Fuzz target: the BDF font reader on arbitrary bytes. A refusal names one of
// the readers' details (a damaged file with the line that breaks it); an
// accepted font keeps every bound: glyph count, box sides, lines of exactly
// height x stride bytes with no bit past the width, distinct codes in
// Unicode's range, and bitmap bytes within the reader's budget.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/fontfile/bdf_format.hpp"
#include "engine/fontfile/font_file_reader.hpp"
#include "fuzz/fuzz_check.hpp"

namespace {

using vellicor::ErrorDetail;
using vellicor::fuzz::require;

std::uint64_t line_count(const std::uint8_t* data, std::size_t size) {
  std::uint64_t lines = 1;
  for (std::size_t at = 0; at < size; ++at) {
    if (data[at] == '\n' || (data[at] == '\r' && (at + 1 == size || data[at + 1] != '\n'))) {
      ++lines;
    }
  }
  return lines;
}

bool bits_past_width_clear(const vellicor::LoadedGlyph& glyph) {
  const std::uint32_t used_bits = glyph.width % 8;
  if (used_bits == 0) return true;
  const auto unused = static_cast<std::uint8_t>(0xFFU >> used_bits);
  for (std::size_t end = glyph.stride(); end <= glyph.lines.size(); end += glyph.stride()) {
    if ((glyph.lines[end - 1] & unused) != 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vellicor::LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  vellicor::FontReadProblem problem;
  const vellicor::ResultCode result = vellicor::read_bdf_font(data, size, font, &detail, &problem);
  if (vellicor::failed(result)) {
    require(detail == ErrorDetail::kFontUnknown || detail == ErrorDetail::kFontDamaged ||
                detail == ErrorDetail::kFontTooLargeToDraw || detail == ErrorDetail::kFontNoGlyph ||
                detail == ErrorDetail::kOutOfMemory,
            "a refusal names a reader's detail");
    require(detail != ErrorDetail::kFontDamaged ||
                (problem.line >= 1 && problem.line <= line_count(data, size)),
            "a damaged font names a line of the file");
    require(font.glyphs.empty() && font.font_name.empty(), "a refused font is left untouched");
    return 0;
  }
  require(detail == ErrorDetail::kNone, "an accepted font stores no detail");
  require(font.kind == vellicor::FontFileKind::kBdf, "a BDF font is of its kind");
  require(!font.glyphs.empty() && font.glyphs.size() <= vellicor::kMaxDrawnGlyphs,
          "an accepted font holds 1 to 65,536 glyphs");
  std::vector<bool> codes(static_cast<std::size_t>(vellicor::kBdfCodeLimit), false);
  std::uint64_t bitmap_bytes = 0;
  for (const vellicor::LoadedGlyph& glyph : font.glyphs) {
    require(
        glyph.width <= vellicor::kMaxDrawnGlyphSide && glyph.height <= vellicor::kMaxDrawnGlyphSide,
        "a glyph's sides are within the bound");
    require(glyph.lines.size() == glyph.stride() * glyph.height,
            "a glyph holds height lines of its stride");
    require(bits_past_width_clear(glyph), "no bit past a glyph's width");
    require(glyph.code >= 0 && glyph.code < vellicor::kBdfCodeLimit, "a kept glyph has a code");
    const auto code = static_cast<std::size_t>(glyph.code);
    require(!codes[code], "no code is kept twice");
    codes[code] = true;
    bitmap_bytes += glyph.lines.size();
  }
  require(bitmap_bytes <= std::max<std::uint64_t>(vellicor::kBdfMinBitmapBudgetBytes,
                                                  size * vellicor::kBdfBitmapBytesPerFileByte),
          "the bitmaps stay within the budget");
  return 0;
}
