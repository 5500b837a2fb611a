// Placeholder until the scanner lands.
#include "engine/glyph_scanner.hpp"

namespace vellicor {

ResultCode scan_glyphs(const GlyphScanContext&, OutputFile*, FontMeasure* measure) {
  if (measure != nullptr) *measure = FontMeasure{};
  return ResultCode::kOk;
}

}  // namespace vellicor
