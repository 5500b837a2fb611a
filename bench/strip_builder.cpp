// Drawing the benchmark strips: one pixel byte per row and cell.
#include "bench/strip_builder.hpp"

#include <algorithm>

#include "tests/support/bmp_builder.hpp"

namespace vellicor::bench {

namespace {

constexpr std::uint32_t kCellColumns = 8;  // one pixel byte
constexpr std::uint32_t kWideRows = 16;
constexpr std::uint32_t kTallCells = 64;
constexpr std::uint32_t kMaxGlyphColumns = 5;  // leaves two blank columns in the cell
constexpr std::uint64_t kSeed = 20261207;

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
  // Bottom row first, palette white then black: a cell's ink bits are 1.
  test::BmpOptions layout;
  layout.ink_is_index_one = true;
  std::vector<std::uint8_t> file =
      test::blank_one_bit_bmp(size.cells * kCellColumns, size.rows, layout);
  const std::size_t stride = test::one_bit_row_bytes(size.cells * kCellColumns);
  const std::size_t offset = test::one_bit_pixel_offset(layout);

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
      file[offset + std::size_t{size.rows - 1 - row} * stride + cell] = ink;
    }
  }
  return file;
}

}  // namespace vellicor::bench
