// The glyphs of a FreeType face: which ones the selected charmap reaches,
// in the file's order, and each one's bitmap as a LoadedGlyph. Built only
// where the build has FreeType.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <vector>

#include "engine/fontfile/loaded_font.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// A code of the charmap and the glyph it reaches.
struct CodedGlyph {
  std::uint32_t code = 0;
  FT_UInt index = 0;
};

// Every code of the face's selected charmap with its glyph, sorted by glyph
// index (the file's record order) and then by code. Codes a character list
// cannot name (surrogates, past U+10FFFF) are counted in uncodable instead.
// kFontTooLargeToDraw past kMaxDrawnGlyphs.
ResultCode list_coded_glyphs(FT_Face face, std::vector<CodedGlyph>& coded, std::uint32_t& uncodable,
                             ErrorDetail* detail);

// Loads the glyph from the selected bitmap strike into glyph: its box,
// offsets, advance and bits, and its name where the face has names. kFontDamaged when FreeType
// cannot load it, kFontTooLargeToDraw past kMaxDrawnGlyphSide.
ResultCode load_glyph(FT_Face face, const CodedGlyph& coded, LoadedGlyph& glyph,
                      ErrorDetail* detail);

// Glyph indices of the face that no code reaches; index 0 left out where
// FreeType makes it up (made_up_zero) instead of reading it from the file.
std::uint32_t count_unreached_glyphs(FT_Face face, const std::vector<CodedGlyph>& coded,
                                     bool made_up_zero);

// A FON holds a glyph for every byte from its first to its last character;
// a byte without a glyph of its own shows the default character's. Those
// copies are dropped: a FON written from the glyphs left fills them in again.
void drop_fon_fillers(FT_Face face, std::vector<LoadedGlyph>& glyphs);

}  // namespace vellicor
