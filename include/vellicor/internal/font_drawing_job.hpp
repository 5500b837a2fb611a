// Drawing a font file into a picture, as the programs ask for it: read the
// font, draw its glyphs in a layout the extended conversion reads, save the
// picture and its character list, and name the options that convert the
// picture back into the same glyphs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

enum class DrawLayoutChoice { kAuto, kGrid, kMarks };

struct FontDrawingRequest {
  const char* font_path = nullptr;
  // Where the picture goes; null or empty: beside the font, under its name
  // with ".png" (".bmp" on a build that writes no PNG; a name ending in
  // ".bmp" is saved as BMP). The list goes beside the picture, as ".txt".
  const char* picture_path = nullptr;
  DrawLayoutChoice layout = DrawLayoutChoice::kAuto;
  std::uint32_t columns = 0;  // glyphs a row; 0 chooses
};

struct FontDrawingOutcome {
  std::string picture_path;  // as written
  std::string list_path;     // empty when the picture needs no list
  std::string layout;        // "grid", "marks" or "strip"
  std::uint32_t glyphs = 0;  // glyphs drawn
  // The arguments of the conversion back, between the program name and the
  // picture: the drawing's options, then "--chars-file" and the list,
  // "--format" and the font's format, and "-o" with a new name when the
  // font the conversion names would be the one drawn.
  std::vector<std::string> arguments;
  // What the picture does not carry, one sentence each.
  std::vector<std::string> lost;
  std::uint64_t damaged_line = 0;  // kFontDamaged in a BDF: the line, from 1
  // A refusal with kFileAccess: the file that could not be read (the font)
  // or written (the picture or the list), and which of the two it was.
  std::string failed_path;
  bool failed_writing = false;
};

// Reads, draws and saves. Refusals carry the detail of the step that
// refused: the font readers' (kFontUnknown, kFontDamaged, kFontNoBitmap,
// kFontTooLargeToDraw, kFontNoGlyph, kFileAccess), the drawing's
// (kLayoutSettings, kTooManyGlyphs, kPictureTooLarge) or the picture's
// writer's (kFileAccess, kNameTooLong, kUnsupported); kOutOfMemory.
// Nothing is left behind on a refusal.
ResultCode draw_font_file(const FontDrawingRequest& request, FontDrawingOutcome& outcome,
                          ErrorDetail* detail);

}  // namespace vellicor
