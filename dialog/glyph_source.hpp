// What the Preview window asks of the engine: cut a picture with a set of
// settings and report every glyph, writing nothing. An interface, so that the
// window's tests can hand it glyphs without a picture file.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor::dialog {

// How the glyphs stand in the picture: the layout settings of
// ConversionSettings, with the same meanings.
struct SheetSettings {
  std::uint32_t layout = VELLICOR_LAYOUT_STRIP;
  std::uint32_t rows = 0;        // strip and marks; 0 and 1 both mean one band
  std::uint32_t cell_width = 0;  // grid
  std::uint32_t cell_height = 0;
  std::uint32_t origin_x = 0;
  std::uint32_t origin_y = 0;
  std::uint32_t gap_x = 0;
  std::uint32_t gap_y = 0;
  bool proportional = false;
  std::uint32_t charset = VELLICOR_CHARSET_NONE;  // in place of the character list
};

// Everything that shapes one cut. Plain values: a request is copied into the
// worker that carries it out.
struct CutRequest {
  std::string input_path;            // as the file system spells it (QFile::encodeName)
  ConversionOptions options{};       // font_name is never read by a cut
  std::optional<std::string> chars;  // UTF-8 character list; none: codes count up
  std::uint32_t blank_advance = 0;
  std::uint32_t ink_rule = VELLICOR_INK_BLACK;
  SheetSettings sheet;
};

// One glyph of the font as the cut reports it (GlyphInfo, with its text kept).
struct GlyphBox {
  std::uint32_t index = 0;
  std::uint32_t code = 0;
  std::uint32_t first_column = 0;  // both 0 for a blank glyph
  std::uint32_t width = 0;
  std::uint32_t advance = 0;
  std::uint32_t top = 0;  // picture rows, counted from the top
  std::uint32_t bottom = 0;
  bool is_blank = false;
  // No character of the list goes with it (a glyph past a list that is too
  // short, or any glyph when the list was refused): drawn without labels.
  bool unpaired = false;
  QString character;  // empty without a character list
};

struct CutOutcome {
  ResultCode result = ResultCode::kOk;
  ::ErrorDetail detail = 0;
  ConversionReport report{};
  std::vector<GlyphBox> glyphs;  // in font order, as far as the cut went
};

class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  // Called from worker threads, several at once: an implementation keeps no
  // state between calls (a converter per call).
  virtual CutOutcome cut(const CutRequest& request) const = 0;
};

}  // namespace vellicor::dialog
