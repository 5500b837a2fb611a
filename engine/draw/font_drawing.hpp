// From a font back to a picture: the glyphs of a LoadedFont drawn in a
// layout the extended conversion reads, the character list that names them,
// and the options that convert the picture back into the same glyphs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/draw/drawn_picture.hpp"
#include "engine/fontfile/loaded_font.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

enum class DrawLayout {
  kAuto,   // the layout that gives the font back: a grid when every glyph
           // shares one advance and fits its cell, marks otherwise (and a
           // strip for a font a strip was converted into)
  kGrid,   // asked for: refused when the font does not fit a grid
  kMarks,  // asked for
};

struct DrawRequest {
  DrawLayout layout = DrawLayout::kAuto;
  std::uint32_t columns = 0;  // glyphs a row; 0 chooses (16 in a grid)
};

struct FontDrawing {
  DrawnPicture picture;
  DrawLayout layout = DrawLayout::kGrid;  // the layout drawn
  bool strip = false;                     // drawn as a strip instead
  std::uint32_t glyphs = 0;               // glyphs drawn
  // A strip for the plain conversion, which reads one-bit BMP files only:
  // the picture is to be saved as one.
  bool one_bit_bmp = false;
  // The character list file's text (UTF-8, one line per band, a line feed
  // after each); empty when the picture converts back without a list.
  std::string list_text;
  // The options that convert the picture back, in order, without the list
  // file, the output and format options and the picture, which the caller
  // adds: for example {"-d", "2", "--grid", "6x13", "--grid-origin", "1,1",
  // "--grid-gap", "1,1", "--ink", "dark"}.
  std::vector<std::string> options;
  // What the picture cannot carry, one sentence each (glyph names, further
  // sizes, properties, glyphs without a code).
  std::vector<std::string> lost;
};

// Draws font. Refusals: kFontNoGlyph (nothing to draw), kLayoutSettings (a
// layout asked for that cannot hold the font), kTooManyGlyphs,
// kPictureTooLarge (a picture past the readers' limits), kOutOfMemory.
ResultCode draw_font(const LoadedFont& font, const DrawRequest& request, FontDrawing& drawing,
                     ErrorDetail* detail);

}  // namespace vellicor
