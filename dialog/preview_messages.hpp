// The texts of the Preview window's status line.
#pragma once

#include <QString>
#include <cstddef>

#include "dialog/glyph_source.hpp"

namespace vellicor::dialog {

// "94 glyphs, codes 33 to 126" after a good cut; after a failed one the
// message the console gives for the same failure.
QString cut_summary(const CutOutcome& outcome);

// "95 glyphs written to /path/font.bdf".
QString glyphs_written(std::size_t glyph_count, const QString& path);

// "Font written to /path/font.fon. Left out of the FON, ...": a font that
// leaves out some of the cut's glyphs, which the notice names; the cut's
// count would overstate what the font holds.
QString font_written_with_notice(const QString& path, const QString& notice);

}  // namespace vellicor::dialog
