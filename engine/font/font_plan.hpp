// The glyphs of an extended conversion, decided before anything is written:
// the picture's cut glyphs and the character list's blank characters, each
// with its code and advance.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/character_list.hpp"
#include "engine/font/glyph_scanner.hpp"
#include "engine/layout/glyph_cutter.hpp"
#include "engine/picture/picture.hpp"
#include "vellicor/internal/request_limits.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

struct PlannedGlyph {
  GlyphSpan span;  // the picture columns; all zero for a blank character
  std::uint64_t code = 0;
  std::uint32_t advance = 0;                   // DWIDTH
  const ListedCharacter* character = nullptr;  // null without a list or past its end
  bool is_blank = false;
};

struct FontPlan {
  std::vector<PlannedGlyph> glyphs;  // in font order: left to right, list order
  // Font-wide figures of the cut; glyph_count counts every planned glyph.
  FontMeasure measure;
  std::uint32_t glyphs_cut = 0;
  std::uint32_t blank_advance = 0;  // of every blank character
  bool uses_list = false;
};

// Cuts picture and plans its font. Without a list (list null) every cut glyph
// gets first_glyph + its number - 1. With one, every character takes the next
// cut glyph, blank characters an empty glyph of blank_advance columns (0: the
// median advance of the cut glyphs, the font's width when fixed). Fails with
// kNoGlyph when nothing is cut and with kUnusableInput / kCharsCount when the
// counts differ; the plan then still pairs glyphs and characters as far as
// both go, and lists the cut glyphs past the list without a character.
ResultCode plan_font(const PictureView& picture, const ConversionOptions& options,
                     const CharacterList* list, std::uint32_t blank_advance, FontPlan& plan,
                     ErrorDetail* detail);

}  // namespace vellicor
