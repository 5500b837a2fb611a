// Draws a LoadedFont into a picture the extended conversion reads back.
#include "engine/draw/font_drawing.hpp"

namespace vellicor {

ResultCode draw_font(const LoadedFont& font, const DrawRequest& request, FontDrawing& drawing,
                     ErrorDetail* detail) {
  static_cast<void>(font);
  static_cast<void>(request);
  static_cast<void>(drawing);
  return fail(detail, ErrorDetail::kFontNoGlyph, ResultCode::kUnusableInput);
}

}  // namespace vellicor
