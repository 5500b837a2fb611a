// The font as a PSF2 console font: header, glyph cells, Unicode table.
#include "engine/font/psf_writer.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "engine/font/character_list.hpp"
#include "engine/font/glyph_record.hpp"

namespace vellicor {

namespace {

// The PSF2 header as the kernel documentation and kbd's psf.h state it:
// eight little-endian 32-bit fields.
constexpr std::array<std::uint8_t, 4> kPsf2Magic = {0x72, 0xb5, 0x4a, 0x86};
constexpr std::uint32_t kPsf2Version = 0;
constexpr std::uint32_t kPsf2HeaderSize = 32;
constexpr std::size_t kPsf2FieldBytes = 4;
constexpr std::uint32_t kPsf2HasUnicodeTable = 0x01;
// Ends a glyph's entry in the Unicode table; 0xFE (not written) would start a
// sequence of code points that together take the glyph.
constexpr std::uint8_t kPsf2Separator = 0xFF;
// The longest entry: one code point in four UTF-8 bytes and the separator
// (encode_utf8's terminator takes the separator's place).
constexpr std::size_t kMostEntryBytes = 5;

// The framebuffer console (fbcon_set_font) and the VGA text console
// (vgacon_font_set) refuse every glyph count but these two with EINVAL;
// setfont rounds the count up itself only for cells 8 pixels wide.
constexpr std::uint64_t kPsfSmallCount = 256;

constexpr std::uint32_t kBitsPerByte = 8;
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;

// The font's cell: FONTBOUNDINGBOX as the BDF header states it, which holds
// every glyph's box, blank characters' boxes included.
struct Cell {
  std::uint64_t width = 0, height = 0;
  std::int64_t x = 0, y = 0;  // offsets of its lower left corner from the origin
  std::uint64_t stride = 0;   // bytes per row
  std::uint64_t bytes = 0;    // bytes per glyph
};

Cell cell_of(const FontModel& font) {
  const FontFrame& frame = font.frame();
  Cell cell;
  cell.width = font.uses_list() ? font.unicode_figures().bounding_width : frame.bounds_width;
  cell.height = frame.bounds_height;
  cell.x = frame.bounds_x;
  cell.y = frame.bounds_y;
  cell.stride = (cell.width + kBitsPerByte - 1) / kBitsPerByte;
  cell.bytes = cell.stride * cell.height;
  return cell;
}

// Copies bitmap's bits into glyph_cell (zeroed, of cell.bytes) at the glyph's
// offsets. Each glyph's box lies in the font's box; were one not to, the bits
// outside the cell would be left out rather than written past it.
void place_in_cell(const GlyphBitmap& bitmap, const Cell& cell,
                   std::vector<std::uint8_t>& glyph_cell) {
  const std::int64_t cell_top = cell.y + static_cast<std::int64_t>(cell.height);
  const std::int64_t first_row =
      cell_top - (bitmap.y_offset + static_cast<std::int64_t>(bitmap.height));
  const std::int64_t column = bitmap.x_offset - cell.x;
  if (column < 0) return;
  const auto stride = static_cast<std::int64_t>(cell.stride);
  for (std::uint64_t line = 0; line < bitmap.height; ++line) {
    const std::int64_t row = first_row + static_cast<std::int64_t>(line);
    if (row < 0 || row >= static_cast<std::int64_t>(cell.height)) continue;
    std::uint8_t* const out = glyph_cell.data() + row * stride;
    const std::uint8_t* const in = bitmap.lines.data() + line * bitmap.stride;
    for (std::uint64_t index = 0; index < bitmap.stride; ++index) {
      if (in[index] == 0) continue;
      const std::int64_t bit = column + static_cast<std::int64_t>(index * kBitsPerByte);
      const std::int64_t byte = bit / kBitsPerByte;
      const auto shift = static_cast<unsigned>(bit % kBitsPerByte);
      if (byte < stride) out[byte] |= static_cast<std::uint8_t>(in[index] >> shift);
      if (shift != 0 && byte + 1 < stride) {
        out[byte + 1] |= static_cast<std::uint8_t>(in[index] << (kBitsPerByte - shift));
      }
    }
    // Bits past the cell's width, had a glyph reached there, stay out.
    const std::uint64_t used_bits = cell.width % kBitsPerByte;
    if (used_bits != 0)
      out[stride - 1] &= static_cast<std::uint8_t>(0xFF << (kBitsPerByte - used_bits));
  }
}

bool is_scalar_value(std::uint64_t code) {
  return code <= kLastCodePoint && (code < kFirstSurrogate || code > kLastSurrogate);
}

void put_u32(std::uint8_t* place, std::uint64_t value) {
  for (std::size_t index = 0; index < kPsf2FieldBytes; ++index) {
    place[index] = static_cast<std::uint8_t>(value >> (index * kBitsPerByte));
  }
}

ResultCode write_header(OutputFile& file, std::uint64_t glyphs, const Cell& cell,
                        ErrorDetail* detail) {
  std::array<std::uint8_t, kPsf2HeaderSize> header{};
  std::copy(kPsf2Magic.begin(), kPsf2Magic.end(), header.begin());
  const std::array<std::uint64_t, 7> fields = {kPsf2Version, kPsf2HeaderSize, kPsf2HasUnicodeTable,
                                               glyphs,       cell.bytes,      cell.height,
                                               cell.width};
  for (std::size_t index = 0; index < fields.size(); ++index) {
    put_u32(header.data() + kPsf2FieldBytes * (index + 1), fields[index]);
  }
  return file.write_exact(header.data(), header.size(), detail);
}

}  // namespace

ResultCode write_psf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail) {
  std::uint64_t glyphs = 0;
  font.for_each_glyph([&](const FontGlyph&) { return ++glyphs <= kPsfMostGlyphs; });
  if (glyphs > kPsfMostGlyphs) {
    return fail(detail, ErrorDetail::kPsfGlyphCount, ResultCode::kUnusableInput);
  }
  const Cell cell = cell_of(font);
  if (cell.width == 0 || cell.width > kPsfMostCellWidth || cell.height == 0 ||
      cell.height > kPsfMostCellHeight) {
    return fail(detail, ErrorDetail::kPsfCellSize, ResultCode::kUnusableInput);
  }
  const std::uint64_t slots = glyphs <= kPsfSmallCount ? kPsfSmallCount : kPsfMostGlyphs;
  ResultCode result = write_header(file, slots, cell, detail);
  if (failed(result)) return result;

  std::vector<std::uint8_t> glyph_cell(static_cast<std::size_t>(cell.bytes));
  GlyphBitmap bitmap;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    if (glyph.is_blank) {
      blank_bitmap(font.frame_of_blank(glyph), glyph.advance, bitmap);
    } else {
      glyph_bitmap(map, font.options(), font.frame_of(*glyph.box), *glyph.box, bitmap);
    }
    std::fill(glyph_cell.begin(), glyph_cell.end(), std::uint8_t{0});
    place_in_cell(bitmap, cell, glyph_cell);
    result = file.write_exact(glyph_cell.data(), glyph_cell.size(), detail);
    return succeeded(result);
  });
  if (failed(result)) return result;
  std::fill(glyph_cell.begin(), glyph_cell.end(), std::uint8_t{0});
  for (std::uint64_t slot = glyphs; slot < slots; ++slot) {
    result = file.write_exact(glyph_cell.data(), glyph_cell.size(), detail);
    if (failed(result)) return result;
  }

  // A glyph of a list font that the list has no character for maps to
  // nothing, as does a code that is no Unicode scalar value.
  font.for_each_glyph([&](const FontGlyph& glyph) {
    char entry[kMostEntryBytes] = {};
    std::size_t length = 0;
    const bool mapped = !font.uses_list() || glyph.character != nullptr;
    if (mapped && is_scalar_value(glyph.code)) {
      length = encode_utf8(static_cast<std::uint32_t>(glyph.code), entry);
    }
    entry[length++] = static_cast<char>(kPsf2Separator);
    result = file.write_exact(entry, length, detail);
    return succeeded(result);
  });
  if (failed(result)) return result;
  for (std::uint64_t slot = glyphs; slot < slots; ++slot) {
    result = file.write_exact(&kPsf2Separator, 1, detail);
    if (failed(result)) return result;
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
