// The Unicode table of a PSF font.
#include "engine/fontfile/psf_unicode_table.hpp"

#include "engine/core/byte_order.hpp"
#include "engine/fontfile/psf_format.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
constexpr std::size_t kPsf1CodeBytes = 2;

// UTF-8 lead bytes and the smallest code point each length may carry, so
// that overlong forms are refused.
struct Utf8Form {
  std::size_t length;
  std::uint32_t smallest;
  std::uint8_t lead_mask;
  std::uint8_t lead_bits;
};
constexpr Utf8Form kUtf8Forms[] = {
    {1, 0x0, 0x80, 0x00},
    {2, 0x80, 0xE0, 0xC0},
    {3, 0x800, 0xF0, 0xE0},
    {4, 0x10000, 0xF8, 0xF0},
};
constexpr std::uint8_t kContinuationMask = 0xC0;
constexpr std::uint8_t kContinuationBits = 0x80;
constexpr std::uint32_t kContinuationPayload = 0x3F;
constexpr std::uint32_t kContinuationShift = 6;

// Decodes the UTF-8 sequence at bytes[at]; false when it is broken (cut
// off, overlong, a surrogate, past U+10FFFF, a stray byte).
bool decode_utf8(const std::uint8_t* bytes, std::size_t size, std::size_t& at,
                 std::uint32_t& code_point) {
  const std::uint8_t lead = bytes[at];
  for (const Utf8Form& form : kUtf8Forms) {
    if ((lead & form.lead_mask) != form.lead_bits) continue;
    if (form.length > size - at) return false;
    std::uint32_t value = lead & static_cast<std::uint8_t>(~form.lead_mask);
    for (std::size_t index = 1; index < form.length; ++index) {
      const std::uint8_t next = bytes[at + index];
      if ((next & kContinuationMask) != kContinuationBits) return false;
      value = value << kContinuationShift | (next & kContinuationPayload);
    }
    if (value < form.smallest || value > kLastCodePoint ||
        (value >= kFirstSurrogate && value <= kLastSurrogate)) {
      return false;
    }
    at += form.length;
    code_point = value;
    return true;
  }
  return false;
}

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
      if (!decode_utf8(bytes, size, at, code_point)) return false;
      if (!in_sequence) table.code_points.push_back(code_point);
    }
    table.entry_starts.push_back(table.code_points.size());
  }
  return true;
}

}  // namespace vellicor
