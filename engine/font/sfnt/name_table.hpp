// The naming table.
#pragma once

#include "engine/font/sfnt/font_names.hpp"
#include "engine/font/sfnt/sfnt_bytes.hpp"

namespace vellicor {

// The name table of names: family (name 1), style (2), a unique name (3),
// full name (4), version (5) and PostScript name (6), each for Windows
// (platform 3, Unicode basic plane encoding, US English) in UTF-16BE.
// No Macintosh (platform 1) names: they hold Mac Roman text only, which
// cannot spell every family name, and FreeType, fontconfig, macOS and
// Windows all read the Windows names.
SfntBytes make_name(const SfntNames& names);

}  // namespace vellicor
