// The Unicode table of a PSF font: for each glyph position the code points
// that the glyph shows, then the sequences it shows, then a separator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellicor {

// The single code points of every glyph's entry in table order; sequences
// (several code points shown by one glyph) are left out.
struct PsfUnicodeTable {
  std::vector<std::uint32_t> code_points;
  // Where each glyph's code points begin in code_points, one more at the end.
  std::vector<std::size_t> entry_starts{0};

  std::size_t entries() const { return entry_starts.size() - 1; }
};

// Reads the entries of glyphs glyph positions from bytes (the file after the
// glyphs). false when the table ends before its last entry does, or (PSF 2)
// holds a broken UTF-8 sequence. Bytes after the last entry are passed over.
// A PSF 1 code that is a surrogate half names no character and is left out.
bool read_psf1_unicode_table(const std::uint8_t* bytes, std::size_t size, std::uint32_t glyphs,
                             PsfUnicodeTable& table);
bool read_psf2_unicode_table(const std::uint8_t* bytes, std::size_t size, std::uint32_t glyphs,
                             PsfUnicodeTable& table);

}  // namespace vellicor
