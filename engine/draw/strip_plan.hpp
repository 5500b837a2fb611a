// Fonts a strip was converted into, and their drawing as a strip again: the
// records of such a font are boxes as tall as the font, on the descent, as
// wide as the advance, with the same blank margins around every glyph's ink.
// Only a strip cut with the options that made those margins gives the same
// records back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/draw/drawn_picture.hpp"
#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

// The options that cut and frame a strip into the font's records.
struct StripFigures {
  std::uint32_t leading = 0;      // -l: blank columns before every glyph's ink
  std::uint32_t trailing = 0;     // -r: after it
  std::uint32_t upper = 0;        // -u: blank lines above the strip's ink rows
  std::uint32_t lower = 0;        // -b: below them
  std::uint32_t allowed_gap = 0;  // -a: the widest blank run inside a glyph
  std::uint32_t box_height = 0;   // lines of the font's box: of the shortest record
  // Rows of the strip from the first ink row to the last, which in the margin
  // strip may reach below the box.
  std::uint32_t ink_rows = 0;
  std::uint32_t descent = 0;         // -d
  bool fixed_width = false;          // -w: every record as wide as the widest glyph
  std::uint32_t blank_advance = 0;   // of every blank glyph (0: there is none)
  bool blank_advance_given = false;  // --blank-advance: not the median the cut would take
  // Framed as the plain conversion frames a strip (a one-bit BMP converted
  // without a long option) rather than by its ink.
  bool margin_framed = false;
  std::uint32_t widest_ink = 0;  // the widest glyph's ink columns
};

// Whether the glyphs at indices of font (in order, with a list when
// uses_list) are the records a one-band strip converts into, and with which
// figures.
bool strip_made(const LoadedFont& font, const std::vector<std::size_t>& indices, bool uses_list,
                StripFigures& figures);

// The strip of the inked glyphs' ink at indices, black on white paper, each
// followed by allowed_gap + 1 blank columns. Refuses (false) a picture past
// the readers' limits.
bool draw_strip(const LoadedFont& font, const std::vector<std::size_t>& indices,
                const StripFigures& figures, DrawnPicture& picture);

// The options that convert the strip back: short ones only for a margin
// strip, which must be saved as a one-bit BMP (picture.two_colours).
std::vector<std::string> strip_options(const StripFigures& figures);

}  // namespace vellicor
