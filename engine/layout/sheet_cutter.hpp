// The sheet layouts: a strip in bands, a grid of cells and marked bands. Each
// yields glyph boxes in reading order, as the strip does, for the font stage.
#pragma once

#include <cstdint>

#include "engine/core/framing.hpp"
#include "engine/core/layout_settings.hpp"
#include "engine/layout/glyph_boxes.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Cuts map by layout. A one-band strip is cut_strip itself. Bands of a strip
// are each cut as a picture of that band alone would be, their boxes' rows
// counted in the whole picture. Refusals: kRowsDoNotDivide when the height
// does not divide into the bands, kNoCell when not one whole cell fits,
// kTooManyGlyphs past kMostSheetGlyphs, kDescentTooLarge when a cell or a
// marked band leaves no row above the baseline.
ResultCode cut_sheet(const InkMap& map, const ConversionOptions& options,
                     const LayoutSettings& layout, Framing framing, GlyphBoxes& boxes,
                     ErrorDetail* detail);

}  // namespace vellicor
