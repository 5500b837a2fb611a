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

}  // namespace vellicor::dialog
