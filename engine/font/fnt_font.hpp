// One Windows raster font resource in the version 3.0 layout: the 148-byte
// header, the character table, the glyphs' bitmaps in byte columns, and the
// face name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/font/glyph_record.hpp"

namespace vellicor {

constexpr std::uint16_t kFntVersion = 0x0300;
constexpr std::uint64_t kFntHeaderBytes = 148;
constexpr std::uint64_t kFntEntryBytes = 6;  // geWidth (WORD) and geOffset (DWORD)
// A font directory entry repeats the header from dfVersion to dfBitsPointer.
constexpr std::uint64_t kFntDirectoryHeaderBytes = 113;
constexpr std::uint64_t kFntMostFigure = 0xFFFF;  // the header's and table's WORDs
constexpr std::uint64_t kFntResolutionDpi = 96;
constexpr std::uint16_t kFntNormalWeight = 400;  // FW_NORMAL

// One entry of the character table: the glyph's width, which is also its
// advance, and where its bits begin, counted from the first bitmap byte.
struct FntEntry {
  std::uint32_t width = 0;
  std::uint64_t bits = 0;
};

// What the header and the table state. Codes are absolute here; the header
// states the default and break characters relative to first_char.
struct FntFont {
  std::uint16_t points = 0;
  std::uint16_t ascent = 0;  // rows of the cell above the baseline
  std::uint16_t internal_leading = 0;
  bool italic = false;
  std::uint16_t weight = kFntNormalWeight;
  std::uint16_t pixel_width = 0;  // 0 unless every character is as wide
  std::uint16_t pixel_height = 0;
  std::uint16_t average_width = 0;
  std::uint16_t max_width = 0;
  std::uint8_t first_char = 0;
  std::uint8_t last_char = 0;
  std::uint8_t default_char = 0;
  std::uint8_t break_char = 0;
  std::string face;  // without its closing NUL
  // One entry per code from first_char to last_char, then the extra entry
  // the table ends with.
  std::vector<FntEntry> entries;
  std::uint64_t bitmap_bytes = 0;  // of all glyphs, the extra one's included
};

// Bytes before the bitmaps (header and table), and of the whole resource.
std::uint64_t fnt_bits_offset(const FntFont& font);
std::uint64_t fnt_size(const FntFont& font);

// Appends the header and the character table of font to out; font's size
// must fit in 32 bits.
void put_fnt_head(std::vector<std::uint8_t>& out, const FntFont& font);

// Bytes of the bitmap of a glyph width pixels wide in a cell height rows tall.
std::uint64_t fnt_glyph_bytes(std::uint64_t width, std::uint64_t height);

// Where a glyph's box stands in its FNT cell: the cell's left edge and top
// row relative to the glyph's origin and baseline (x right, y up).
struct FntCell {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::uint64_t width = 0;
  std::uint64_t height = 0;
};

// Fills columns with the bitmap of bitmap placed in cell, as FNT stores it:
// byte column after byte column, each from the top row down, the leftmost
// pixel of a byte in its most significant bit. Bits outside the cell are
// left out; callers size the cell to hold the glyph's box.
void fnt_glyph_columns(const GlyphBitmap& bitmap, const FntCell& cell,
                       std::vector<std::uint8_t>& columns);

}  // namespace vellicor
