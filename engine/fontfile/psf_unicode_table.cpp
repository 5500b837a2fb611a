// The Unicode table of a PSF font.
#include "engine/fontfile/psf_unicode_table.hpp"

#include "engine/core/byte_order.hpp"
#include "engine/font/character_list.hpp"
#include "engine/fontfile/psf_format.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;
constexpr std::size_t kPsf1CodeBytes = 2;

}  // namespace

bool read_psf1_unicode_table(const std::uint8_t* bytes, std::size_t size, std::uint32_t glyphs,
                             PsfUnicodeTable& table) {
  std::size_t at = 0;
  for (std::uint32_t glyph = 0; glyph < glyphs; ++glyph) {
    bool in_sequence = false;
    for (;;) {
      if (size - at < kPsf1CodeBytes) return false;
      const std::uint16_t value = load_u16_le(bytes + at);
      at += kPsf1CodeBytes;
      if (value == kPsf1Separator) break;
      if (value == kPsf1StartSeq) in_sequence = true;
      if (in_sequence || (value >= kFirstSurrogate && value <= kLastSurrogate)) continue;
      table.code_points.push_back(value);
    }
    table.entry_starts.push_back(table.code_points.size());
  }
  return true;
}

bool read_psf2_unicode_table(const std::uint8_t* bytes, std::size_t size, std::uint32_t glyphs,
                             PsfUnicodeTable& table) {
  std::size_t at = 0;
  for (std::uint32_t glyph = 0; glyph < glyphs; ++glyph) {
    bool in_sequence = false;
    for (;;) {
      if (at >= size) return false;
      if (bytes[at] == kPsf2Separator) {
        ++at;
        break;
      }
      if (bytes[at] == kPsf2StartSeq) {
        ++at;
        in_sequence = true;
        continue;
      }
      std::uint32_t code_point = 0;
      std::size_t length = 0;
      if (!decode_utf8(bytes, size, at, code_point, length)) return false;
      at += length;
      if (!in_sequence) table.code_points.push_back(code_point);
    }
    table.entry_starts.push_back(table.code_points.size());
  }
  return true;
}

}  // namespace vellicor
