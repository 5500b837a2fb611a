// The font as a PSF2 console font: header, glyph cells, Unicode table.
#include "engine/font/psf_writer.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "engine/font/character_list.hpp"
#include "engine/font/font_glyph_bitmap.hpp"
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

// The console clears the screen with the glyph at position 32, whatever the
// Unicode table says (setfont warns "font position 32 is nonblank"), so that
// position holds the font's space when it has one, else a blank filler where
// a slot is free, the glyphs from there on one position later.
constexpr std::uint64_t kErasePosition = 32;
constexpr std::uint64_t kSpace = 0x20;

// Where the glyphs stand in the PSF2 font.
struct Positions {
  std::uint64_t glyphs = 0;  // of the font
  std::uint64_t slots = 0;   // the font's glyph count: 256 or 512
  // The space and the glyph at kErasePosition trade places.
  bool swap = false;
  std::uint64_t space_index = 0;
  FontGlyph space;
  FontGlyph erase_glyph;
  bool filler_at_erase = false;
};

bool is_mapped(const FontModel& font, const FontGlyph& glyph) {
  return !font.uses_list() || glyph.character != nullptr;
}

Positions plan_positions(const FontModel& font, std::uint64_t glyphs) {
  Positions plan;
  plan.glyphs = glyphs;
  plan.slots = glyphs <= kPsfSmallCount ? kPsfSmallCount : kPsfMostGlyphs;
  if (glyphs <= kErasePosition) return plan;  // the position holds a filler already
  std::uint64_t index = 0;
  bool has_space = false;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    if (index == kErasePosition) plan.erase_glyph = glyph;
    if (!has_space && is_mapped(font, glyph) && glyph.code == kSpace) {
      has_space = true;
      plan.space = glyph;
      plan.space_index = index;
    }
    ++index;
    return true;
  });
  if (has_space) {
    plan.swap = plan.space_index != kErasePosition;
  } else {
    plan.filler_at_erase = !plan.erase_glyph.is_blank && glyphs < plan.slots;
  }
  return plan;
}

// Calls visit(const FontGlyph*) for every position in order, with null for
// a filler, until it returns false; false when it did.
template <typename Visit>
bool for_each_position(const FontModel& font, const Positions& plan, Visit&& visit) {
  std::uint64_t index = 0;
  const bool whole = font.for_each_glyph([&](const FontGlyph& glyph) {
    const FontGlyph* source = &glyph;
    if (plan.swap && index == kErasePosition) source = &plan.space;
    if (plan.swap && index == plan.space_index) source = &plan.erase_glyph;
    if (plan.filler_at_erase && index == kErasePosition && !visit(nullptr)) return false;
    ++index;
    return visit(source);
  });
  if (!whole) return false;
  const std::uint64_t used = plan.glyphs + (plan.filler_at_erase ? 1 : 0);
  for (std::uint64_t slot = used; slot < plan.slots; ++slot) {
    if (!visit(nullptr)) return false;
  }
  return true;
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
  const Positions plan = plan_positions(font, glyphs);
  ResultCode result = write_header(file, plan.slots, cell, detail);
  if (failed(result)) return result;

  std::vector<std::uint8_t> glyph_cell(static_cast<std::size_t>(cell.bytes));
  GlyphBitmap bitmap;
  for_each_position(font, plan, [&](const FontGlyph* glyph) {
    std::fill(glyph_cell.begin(), glyph_cell.end(), std::uint8_t{0});
    if (glyph != nullptr) {
      font_glyph_bitmap(font, map, *glyph, bitmap);
      place_in_cell(bitmap, cell, glyph_cell);
    }
    result = file.write_exact(glyph_cell.data(), glyph_cell.size(), detail);
    return succeeded(result);
  });
  if (failed(result)) return result;

  // A filler, a glyph of a list font that the list has no character for and
  // a code that is no Unicode scalar value map to nothing.
  for_each_position(font, plan, [&](const FontGlyph* glyph) {
    char entry[kMostEntryBytes] = {};
    std::size_t length = 0;
    if (glyph != nullptr && is_mapped(font, *glyph) && is_scalar_value(glyph->code)) {
      length = encode_utf8(static_cast<std::uint32_t>(glyph->code), entry);
    }
    entry[length++] = static_cast<char>(kPsf2Separator);
    result = file.write_exact(entry, length, detail);
    return succeeded(result);
  });
  return result;
}

}  // namespace vellicor
