// The character map: Unicode codes to glyph ids.
#pragma once

#include "engine/font/sfnt/sfnt_bytes.hpp"
#include "engine/font/sfnt/sfnt_plan.hpp"

namespace vellicor {

// The cmap table of plan's glyphs: a format 4 subtable of the basic plane's
// codes, and when a code lies past it (or the basic plane's codes take more
// segments than format 4's 16-bit length holds) a format 12 subtable of all
// codes. Each is listed for Unicode (platform 0) and for Windows (platform
// 3), as the two are read by different systems. A code given to several
// glyphs maps to the first.
SfntBytes make_cmap(const SfntPlan& plan);

}  // namespace vellicor
