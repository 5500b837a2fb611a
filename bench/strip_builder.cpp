// Drawing the benchmark strips: one pixel byte per row and cell.
#include "bench/strip_builder.hpp"

#include <algorithm>

#include "engine/core/limits.hpp"

namespace vellicor::bench {

namespace {

constexpr std::uint32_t kCellColumns = 8;  // one pixel byte
constexpr std::uint32_t kWideRows = 16;
constexpr std::uint32_t kTallCells = 64;
constexpr std::uint32_t kMaxGlyphColumns = 5;  // leaves two blank columns in the cell
constexpr std::uint32_t kRowAlignment = 4;
constexpr std::uint32_t kPaletteEntries = 2;  // 0 white paper, 1 black ink
constexpr std::uint64_t kSeed = 20261207;
constexpr std::uint8_t kWhite = 0xFF;
constexpr std::int32_t kPixelsPerMeter = 2835;  // 72 dpi, as drawing programs write it

// SplitMix64: a small generator whose sequence is the same on every platform.
class PatternSource {
 public:
  explicit PatternSource(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t value = (state_ += 0x9E3779B97F4A7C15ULL);
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
  }
  // A number from low to high, both included.
  std::uint32_t between(std::uint32_t low, std::uint32_t high) {
    return low + static_cast<std::uint32_t>(next() % (std::uint64_t{high} - low + 1));
  }

 private:
  std::uint64_t state_;
};

// The bits of cell columns 1 to width_px in a pixel byte (column 0 is 0x80).
std::uint8_t glyph_mask(std::uint32_t width_px) {
  return static_cast<std::uint8_t>((0xFFu >> 1) & ~(0xFFu >> (1 + width_px)));
}

void put_u16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put_u16(out, value & 0xFFFFu);
  put_u16(out, value >> 16);
}

struct StripSize {
  std::uint32_t cells;
  std::uint32_t rows;
};

StripSize size_of(StripShape shape, std::uint32_t glyph_count) {
  if (shape == StripShape::kWide) return {glyph_count, kWideRows};
  return {kTallCells, std::max(kWideRows, glyph_count * kWideRows / kTallCells)};
}

}  // namespace

std::uint32_t strip_glyph_count(StripShape shape, std::uint32_t glyph_count) {
  return size_of(shape, glyph_count).cells;
}

std::vector<std::uint8_t> build_strip(StripShape shape, std::uint32_t glyph_count) {
  const StripSize size = size_of(shape, glyph_count);
  const std::uint32_t stride = (size.cells + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  const std::uint32_t pixel_bytes = stride * size.rows;
  const std::uint32_t offset =
      static_cast<std::uint32_t>(kBmpMinimumPixelOffset + kPaletteEntries * kPaletteEntrySize);

  std::vector<std::uint8_t> file;
  file.reserve(offset + pixel_bytes);
  file.push_back('B');
  file.push_back('M');
  put_u32(file, offset + pixel_bytes);
  put_u32(file, 0);  // two reserved fields
  put_u32(file, offset);
  put_u32(file, static_cast<std::uint32_t>(kBmpInfoHeaderSize));
  put_u32(file, size.cells * kCellColumns);
  put_u32(file, size.rows);  // positive: bottom row first
  put_u16(file, 1);          // planes
  put_u16(file, 1);          // bits per pixel
  put_u32(file, 0);          // no compression
  put_u32(file, pixel_bytes);
  put_u32(file, kPixelsPerMeter);
  put_u32(file, kPixelsPerMeter);
  put_u32(file, kPaletteEntries);
  put_u32(file, kPaletteEntries);
  const std::uint8_t palette[] = {kWhite, kWhite, kWhite, 0, 0, 0, 0, 0};
  file.insert(file.end(), std::begin(palette), std::end(palette));
  file.resize(offset + pixel_bytes, 0);

  PatternSource source(kSeed);
  const std::uint32_t quarter = std::max<std::uint32_t>(1, size.rows / 4);
  for (std::uint32_t cell = 0; cell < size.cells; ++cell) {
    const std::uint8_t mask = glyph_mask(source.between(1, kMaxGlyphColumns));
    // Proportional heights: a glyph starts between row 1 and a quarter of the
    // height down and ends in the lower quarter.
    const std::uint32_t top = source.between(1, quarter);
    const std::uint32_t bottom = source.between(size.rows - quarter, size.rows - 1);
    for (std::uint32_t row = top; row <= bottom; ++row) {
      const auto pattern = static_cast<std::uint8_t>(source.next());
      const std::uint8_t ink = row == bottom ? mask : static_cast<std::uint8_t>(pattern & mask);
      file[offset + std::uint64_t{size.rows - 1 - row} * stride + cell] = ink;
    }
  }
  return file;
}

}  // namespace vellicor::bench
