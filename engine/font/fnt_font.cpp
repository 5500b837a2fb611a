// The FNT version 3.0 header and character table, and glyph bitmaps in the
// column order the format keeps them in.
#include "engine/font/fnt_font.hpp"

#include <algorithm>

#include "engine/font/little_endian.hpp"

namespace vellicor {

namespace {

constexpr std::uint64_t kCopyrightBytes = 60;
constexpr std::uint64_t kBitsPerByte = 8;
// dfReserved1: 16 bytes; the printed documentation's 4 is an error.
constexpr std::uint64_t kReservedBytes = 16;

// dfFlags: the character table's layout and one bit a pixel, as the
// Windows 3.1 documentation defines the field (Windows 3.0 left it zero).
constexpr std::uint32_t kFixedPitchTable = 0x0001;    // DFF_FIXED
constexpr std::uint32_t kProportionalTable = 0x0002;  // DFF_PROPORTIONAL
constexpr std::uint32_t kOneColour = 0x0010;          // DFF_1COLOR
// dfPitchAndFamily: the low bit marks a variable pitch; the high nibble is
// the family, FF_MODERN (constant stroke width, fixed pitch) or FF_DONTCARE.
constexpr std::uint8_t kVariablePitch = 0x01;
constexpr std::uint8_t kModernFamily = 0x30;
constexpr std::uint8_t kAnsiCharset = 0;

std::uint64_t byte_columns(std::uint64_t width) {
  return (width + kBitsPerByte - 1) / kBitsPerByte;
}

}  // namespace

std::uint64_t fnt_bits_offset(const FntFont& font) {
  return kFntHeaderBytes + font.entries.size() * kFntEntryBytes;
}

std::uint64_t fnt_size(const FntFont& font) {
  return fnt_bits_offset(font) + font.bitmap_bytes + font.face.size() + 1;
}

std::uint64_t fnt_glyph_bytes(std::uint64_t width, std::uint64_t height) {
  return byte_columns(width) * height;
}

void put_fnt_head(std::vector<std::uint8_t>& out, const FntFont& font) {
  const bool fixed = font.pixel_width != 0;
  const std::uint64_t bits_offset = fnt_bits_offset(font);
  // dfWidthBytes dates from the format's first version, which kept all
  // glyphs side by side in one bitmap: the bytes of its rows, kept even.
  std::uint64_t width_bytes = 0;
  for (const FntEntry& entry : font.entries) width_bytes += byte_columns(entry.width);
  width_bytes = std::min(kFntMostFigure - 1, (width_bytes + 1) / 2 * 2);

  put_u16(out, kFntVersion);
  put_u32(out, fnt_size(font));
  put_zeros(out, kCopyrightBytes);
  put_u16(out, 0);  // dfType: a raster font whose bits follow in the file
  put_u16(out, font.points);
  put_u16(out, kFntResolutionDpi);  // dfVertRes
  put_u16(out, kFntResolutionDpi);  // dfHorizRes
  put_u16(out, font.ascent);
  put_u16(out, font.internal_leading);
  put_u16(out, 0);  // dfExternalLeading
  put_u8(out, font.italic ? 1 : 0);
  put_u8(out, 0);  // dfUnderline
  put_u8(out, 0);  // dfStrikeOut
  put_u16(out, font.weight);
  put_u8(out, kAnsiCharset);
  put_u16(out, font.pixel_width);
  put_u16(out, font.pixel_height);
  put_u8(out, fixed ? kModernFamily : kVariablePitch);
  put_u16(out, font.average_width);
  put_u16(out, font.max_width);
  put_u8(out, font.first_char);
  put_u8(out, font.last_char);
  put_u8(out, static_cast<std::uint8_t>(font.default_char - font.first_char));
  put_u8(out, static_cast<std::uint8_t>(font.break_char - font.first_char));
  put_u16(out, width_bytes);
  put_u32(out, 0);                                // dfDevice: no device name
  put_u32(out, bits_offset + font.bitmap_bytes);  // dfFace
  put_u32(out, 0);                                // dfBitsPointer: set by the loader
  put_u32(out, bits_offset);
  put_u8(out, 0);  // dfReserved
  put_u32(out, (fixed ? kFixedPitchTable : kProportionalTable) | kOneColour);
  put_u16(out, 0);  // dfAspace, dfBspace and dfCspace: no ABC widths
  put_u16(out, 0);
  put_u16(out, 0);
  put_u32(out, 0);  // dfColorPointer
  put_zeros(out, kReservedBytes);
  for (const FntEntry& entry : font.entries) {
    put_u16(out, entry.width);
    put_u32(out, bits_offset + entry.bits);
  }
}

void fnt_glyph_columns(const GlyphBitmap& bitmap, const FntCell& cell,
                       std::vector<std::uint8_t>& columns) {
  const std::uint64_t height = cell.height;
  const std::uint64_t byte_count = byte_columns(cell.width);
  columns.assign(static_cast<std::size_t>(byte_count * height), 0);
  // The box's first column and top line in the cell.
  const std::int64_t first_column = bitmap.x_offset - cell.left;
  const std::int64_t first_row =
      cell.top - (bitmap.y_offset + static_cast<std::int64_t>(bitmap.height));
  if (first_column < 0) return;
  const auto cell_height = static_cast<std::int64_t>(height);
  const auto first = static_cast<std::uint64_t>(first_column);
  const auto shift = static_cast<unsigned>(first % kBitsPerByte);
  const auto first_byte = first / kBitsPerByte;
  for (std::uint64_t line = 0; line < bitmap.height; ++line) {
    const std::int64_t row = first_row + static_cast<std::int64_t>(line);
    if (row < 0 || row >= cell_height) continue;
    const std::uint8_t* const in = bitmap.lines.data() + line * bitmap.stride;
    // A line's byte lands in one byte column, or straddles two.
    for (std::uint64_t index = 0; index < bitmap.stride; ++index) {
      if (in[index] == 0) continue;
      const std::uint64_t column = first_byte + index;
      const auto at = [&](std::uint64_t byte_column) -> std::uint8_t& {
        return columns[static_cast<std::size_t>(byte_column * height +
                                                static_cast<std::uint64_t>(row))];
      };
      if (column < byte_count) at(column) |= static_cast<std::uint8_t>(in[index] >> shift);
      if (shift != 0 && column + 1 < byte_count) {
        at(column + 1) |= static_cast<std::uint8_t>(in[index] << (kBitsPerByte - shift));
      }
    }
  }
}

}  // namespace vellicor
