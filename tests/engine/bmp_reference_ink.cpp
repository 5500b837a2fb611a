// A plain BMP reading for tests: every field read where the format puts it,
// one pixel at a time.
#include "tests/engine/bmp_reference_ink.hpp"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

struct Fields {
  std::uint32_t pixel_offset = 0;
  std::uint32_t header_bytes = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours_used = 0;
  std::uint32_t masks[4] = {};  // red, green, blue, alpha
};

std::uint32_t le(const std::vector<std::uint8_t>& file, std::size_t at, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes && at + i < file.size(); ++i) {
    value |= std::uint32_t{file[at + i]} << (8 * i);
  }
  return value;
}

class Reference {
 public:
  explicit Reference(std::vector<std::uint8_t> file) : file_(std::move(file)) {}

  std::vector<std::string> read() {
    if (file_.size() < 54 || file_[0] != 'B' || file_[1] != 'M') return {};
    f_.pixel_offset = le(file_, 10, 4);
    f_.header_bytes = le(file_, 14, 4);
    f_.width = static_cast<std::int32_t>(le(file_, 18, 4));
    f_.height = static_cast<std::int32_t>(le(file_, 22, 4));
    f_.bits = le(file_, 28, 2);
    f_.compression = le(file_, 30, 4);
    f_.colours_used = le(file_, 46, 4);
    const std::size_t mask_count = f_.header_bytes >= 56 ? 4 : 3;
    for (std::size_t i = 0; i < mask_count; ++i) f_.masks[i] = le(file_, 54 + 4 * i, 4);
    if (f_.width <= 0 || f_.height == 0) return {};
    rows_.assign(static_cast<std::size_t>(std::abs(f_.height)),
                 std::string(static_cast<std::size_t>(f_.width), '.'));
    if (f_.bits <= 8) read_palette();
    if (f_.compression == 0 && f_.bits <= 8) return read_rows();
    if (f_.compression == 3 && (f_.bits == 16 || f_.bits == 32)) return read_rows();
    if (f_.compression == 1 && f_.bits == 8) return read_rle();
    if (f_.compression == 2 && f_.bits == 4) return read_rle();
    return {};
  }

 private:
  void read_palette() {
    const std::uint32_t entries = f_.colours_used != 0 ? f_.colours_used : 1u << f_.bits;
    const std::size_t start = 14 + f_.header_bytes;
    black_.assign(256, true);  // past the palette: black
    for (std::uint32_t i = 0; i < entries && i < 256; ++i) {
      const std::size_t at = start + 4 * i;
      if (at + 3 > file_.size()) break;
      black_[i] = file_[at] == 0 && file_[at + 1] == 0 && file_[at + 2] == 0;
    }
  }

  // The stored row number counts from the first row in the file.
  void set(std::uint32_t stored_row, std::uint32_t x, bool black) {
    const auto height = static_cast<std::uint32_t>(std::abs(f_.height));
    if (stored_row >= height || x >= static_cast<std::uint32_t>(f_.width)) return;
    const std::uint32_t y = f_.height > 0 ? height - 1 - stored_row : stored_row;
    rows_[y][x] = black ? '#' : '.';
  }

  bool field_black(std::uint32_t value) const {
    for (int channel = 0; channel < 3; ++channel) {
      if ((value & f_.masks[channel]) != 0) return false;
    }
    const std::uint32_t alpha = f_.masks[3];
    return alpha == 0 || (value & alpha) == alpha;
  }

  std::vector<std::string> read_rows() {
    const std::size_t stride = (std::size_t(f_.width) * f_.bits + 31) / 32 * 4;
    for (std::uint32_t row = 0; row < rows_.size(); ++row) {
      const std::size_t start = f_.pixel_offset + row * stride;
      for (std::uint32_t x = 0; x < static_cast<std::uint32_t>(f_.width); ++x) {
        const std::size_t first_bit = std::size_t{x} * f_.bits;
        const std::size_t last_byte = start + (first_bit + f_.bits - 1) / 8;
        if (last_byte >= file_.size()) continue;  // not all its bits arrived: paper
        if (f_.bits >= 16) {
          set(row, x, field_black(le(file_, start + first_bit / 8, f_.bits / 8)));
        } else {
          const std::uint8_t byte = file_[start + first_bit / 8];
          const unsigned shift = 8 - f_.bits - first_bit % 8;
          set(row, x, black_[(byte >> shift) & ((1u << f_.bits) - 1)]);
        }
      }
    }
    return rows_;
  }

  std::vector<std::string> read_rle() {
    const bool four = f_.bits == 4;
    std::size_t at = f_.pixel_offset;
    std::uint32_t x = 0;
    std::uint32_t row = 0;
    const auto index_at = [four](std::uint8_t byte, std::uint32_t n) {
      return four ? (n % 2 == 0 ? byte >> 4 : byte & 0xF) : byte;
    };
    while (at + 1 < file_.size()) {
      const std::uint8_t count = file_[at];
      const std::uint8_t code = file_[at + 1];
      at += 2;
      if (count > 0) {
        for (std::uint32_t n = 0; n < count; ++n) set(row, x++, black_[index_at(code, n)]);
      } else if (code == 0) {
        ++row;
        x = 0;
      } else if (code == 1) {
        break;
      } else if (code == 2) {
        if (at + 1 >= file_.size()) break;
        x += file_[at];
        row += file_[at + 1];
        at += 2;
      } else {
        const std::size_t bytes = four ? (code + 1u) / 2 : code;
        for (std::uint32_t n = 0; n < code && at + (four ? n / 2 : n) < file_.size(); ++n) {
          set(row, x++, black_[index_at(file_[at + (four ? n / 2 : n)], n)]);
        }
        at += bytes + bytes % 2;
      }
    }
    return rows_;
  }

  std::vector<std::uint8_t> file_;
  Fields f_;
  std::vector<bool> black_;
  std::vector<std::string> rows_;
};

}  // namespace

std::vector<std::string> reference_black_rows(const std::string& path) {
  return Reference(read_file(path)).read();
}

}  // namespace vellicor::test
