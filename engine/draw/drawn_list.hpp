// The character list that names a drawing's glyphs: one character per glyph
// in drawing order, one line per band, in escape form when some code has no
// place in a plain list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vellicor {

// Whether a plain list cannot carry code_point: U+0000 (the end of the text),
// the C0 and C1 controls (line feeds end lines, other controls vanish in
// editors) and U+FEFF (read as a byte-order mark at the start of a file).
bool needs_list_escape(std::uint32_t code_point);

// The list of code_points (Unicode scalar values), glyphs_per_line to a line
// (0: one line), a line feed after each line. In escape form, with its first
// line, when any code point needs an escape; a backslash then is `\\`.
std::string drawn_list_text(const std::vector<std::uint32_t>& code_points,
                            std::size_t glyphs_per_line);

}  // namespace vellicor
