// The glyphs of a cut and its report as JSON text, the form the page's worker
// hands on to the page.
#pragma once

#include <string>

#include "vellicor/vellicor.h"

namespace vellicor::web {

class GlyphJson {
 public:
  // Appends one glyph.
  void add(const GlyphInfo& glyph);
  // {"report": {...}, "glyphs": [...]}; the glyphs are given away.
  std::string finish(const ConversionReport& report);

 private:
  std::string glyphs_;
};

// text as a JSON string, quotes included. Bytes of UTF-8 pass unchanged;
// quotes, backslashes and control characters are escaped.
std::string json_string(const char* text);

}  // namespace vellicor::web
