// BMP pictures of any depth: pixel values walked row by row (or RLE code by
// RLE code) and handed to the ink passes as runs of one value.
#include "engine/picture/bmp_any_reader.hpp"

#include <array>
#include <memory>
#include <new>

#include "engine/core/byte_order.hpp"
#include "engine/core/limits.hpp"
#include "engine/core/row_stride.hpp"
#include "engine/io/input_stream.hpp"
#include "engine/picture/bmp_any_header.hpp"
#include "engine/picture/ink_passes.hpp"

namespace vellicor {

namespace {

constexpr std::size_t kPaletteSize = 256;
using Palette = std::array<Rgba16, kPaletteSize>;

constexpr unsigned kBitsPerByte = 8;

// RLE escape codes (the byte after a zero count).
constexpr int kRleEndOfLine = 0;
constexpr int kRleEndOfBitmap = 1;
constexpr int kRleDelta = 2;

std::uint16_t scale_channel(std::uint32_t pixel, const ChannelMask& channel, std::uint16_t absent) {
  if (channel.bits == 0) return absent;
  const std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  const std::uint64_t largest = (std::uint64_t{1} << channel.bits) - 1;
  return static_cast<std::uint16_t>(value * kFullChannel / largest);
}

// The colour of a pixel value as the walkers hand it on: a palette index,
// or the pixel's bits as stored.
class BmpColours {
 public:
  using Value = std::uint32_t;

  BmpColours(const BmpAnyHeader& header, const Palette& palette)
      : header_(&header), palette_(&palette) {}
  Rgba16 colour(std::uint32_t value) const {
    switch (header_->coding) {
      case BmpPixelCoding::kIndexed:
      case BmpPixelCoding::kRle8:
      case BmpPixelCoding::kRle4:
        return (*palette_)[value & 0xFF];
      case BmpPixelCoding::kRgb24:
        return {widen8(static_cast<std::uint8_t>(value >> 16)),
                widen8(static_cast<std::uint8_t>(value >> 8)),
                widen8(static_cast<std::uint8_t>(value)), kFullChannel};
      case BmpPixelCoding::kBitfields:
        break;
    }
    const auto& masks = header_->masks;
    return {scale_channel(value, masks[0], 0), scale_channel(value, masks[1], 0),
            scale_channel(value, masks[2], 0), scale_channel(value, masks[3], kFullChannel)};
  }

 private:
  const BmpAnyHeader* header_;
  const Palette* palette_;
};

std::uint32_t pixel_value(const std::uint8_t* row, std::uint32_t x, std::uint16_t depth) {
  switch (depth) {
    case 16:
      return load_u16_le(row + std::size_t{2} * x);
    case 24:
      return load_u24_le(row + std::size_t{3} * x);
    case 32:
      return load_u32_le(row + std::size_t{4} * x);
    default: {
      // 1, 2, 4 or 8 bits: the leftmost pixel in the high bits of its byte.
      const std::uint64_t bit = std::uint64_t{x} * depth;
      const unsigned shift = kBitsPerByte - depth - static_cast<unsigned>(bit % kBitsPerByte);
      return (row[bit / kBitsPerByte] >> shift) & ((1u << depth) - 1);
    }
  }
}

// Rows as stored, one after another, until the picture or the file ends.
template <class Pass>
ResultCode walk_rows(InputStream& stream, const BmpAnyHeader& header, std::uint64_t stride,
                     std::uint8_t* row, Pass& pass, ErrorDetail* detail) {
  for (std::uint32_t stored = 0; stored < header.height_px; ++stored) {
    std::size_t got = 0;
    if (!stream.read(row, static_cast<std::size_t>(stride), &got)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    // Only pixels whose bits all arrived are read.
    const std::uint64_t arrived = std::uint64_t{got} * kBitsPerByte / header.bits_per_pixel;
    const auto present =
        static_cast<std::uint32_t>(arrived < header.width_px ? arrived : header.width_px);
    const std::uint32_t y = header.top_down ? stored : header.height_px - 1 - stored;
    take_row_runs(pass, y, 0, 1, present, [row, depth = header.bits_per_pixel](std::uint32_t x) {
      return pixel_value(row, x, depth);
    });
    if (got < stride) break;
  }
  return ResultCode::kOk;
}

// RLE8 and RLE4 codes, bottom row first. Every code consumes file bytes and
// writes at most the picture's own pixels, so work is bounded by both.
// Writers run the last code of a row past its end (ImageMagick fills the
// row up to a multiple of four pixels), so pixels right of the picture are
// dropped; a jump that leaves the picture is broken data.
template <class Pass>
class RleWalker {
 public:
  RleWalker(const BmpAnyHeader& header, Pass& pass)
      : header_(&header), pass_(&pass), four_bits_(header.coding == BmpPixelCoding::kRle4) {}

  ResultCode walk(InputStream& stream, ErrorDetail* detail) {
    while (row_ < header_->height_px) {
      const int count = stream.next_byte();
      const int code = stream.next_byte();
      if (code < 0) break;  // the data ends early: the rest is paper
      if (count > 0) {
        repeat(static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(code));
      } else if (code == kRleEndOfLine) {
        x_ = 0;
        ++row_;
      } else if (code == kRleEndOfBitmap) {
        break;
      } else if (code == kRleDelta) {
        const int right = stream.next_byte();
        const int up = stream.next_byte();
        if (up < 0) break;
        x_ += static_cast<std::uint32_t>(right);
        row_ += static_cast<std::uint32_t>(up);
        if (x_ > header_->width_px || row_ > header_->height_px) {
          return fail(detail, ErrorDetail::kBmpBadData, ResultCode::kUnusableInput);
        }
      } else {
        copy(stream, static_cast<std::uint32_t>(code));
      }
    }
    if (stream.failed()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    return ResultCode::kOk;
  }

 private:
  static constexpr unsigned kNibbleBits = 4;
  static constexpr std::uint32_t kNibble = 0x0F;

  std::uint32_t y() const { return header_->height_px - 1 - row_; }
  // Pixels of a code that still fall inside the row.
  std::uint32_t inside(std::uint32_t pixels) const {
    const std::uint32_t room = header_->width_px - x_;
    return pixels < room ? pixels : room;
  }

  // count pixels of one value (RLE8) or of two alternating nibbles (RLE4).
  void repeat(std::uint32_t count, std::uint32_t byte) {
    const std::uint32_t pixels = inside(count);
    if (!four_bits_ || (byte >> kNibbleBits) == (byte & kNibble)) {
      if (pixels != 0) pass_->take_run(y(), x_, 1, pixels, four_bits_ ? byte & kNibble : byte);
    } else {
      for (std::uint32_t i = 0; i < pixels; ++i) {
        pass_->take_run(y(), x_ + i, 1, 1, i % 2 == 0 ? byte >> kNibbleBits : byte & kNibble);
      }
    }
    x_ += pixels;
  }

  // An absolute stretch of count pixels, padded to a whole 16-bit word.
  void copy(InputStream& stream, std::uint32_t count) {
    const std::uint32_t bytes = four_bits_ ? (count + 1) / 2 : count;
    const std::uint32_t pixels = inside(count);
    std::uint32_t done = 0;
    for (std::uint32_t i = 0; i < bytes; ++i) {
      const int byte = stream.next_byte();
      if (byte < 0) return;
      const auto value = static_cast<std::uint32_t>(byte);
      if (four_bits_) {
        if (done < pixels) pass_->take_run(y(), x_ + done++, 1, 1, value >> kNibbleBits);
        if (done < pixels) pass_->take_run(y(), x_ + done++, 1, 1, value & kNibble);
      } else if (done < pixels) {
        pass_->take_run(y(), x_ + done++, 1, 1, value);
      }
    }
    if (bytes % 2 != 0) static_cast<void>(stream.next_byte());
    x_ += pixels;
  }

  const BmpAnyHeader* header_;
  Pass* pass_;
  bool four_bits_;
  std::uint32_t x_ = 0;
  std::uint32_t row_ = 0;  // counted from the bottom
};

// One reading of the file's pixels into pass (see read_ink_in_passes).
// Every pass reads the open file from its start.
template <class Pass>
ResultCode read_bmp_pass(FileSystem& fs, FileHandle file, Pass& pass, ErrorDetail* detail) {
  if (!fs.seek(file, 0)) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  std::uint64_t file_bytes = 0;
  if (!fs.size(file, &file_bytes)) file_bytes = 0;
  InputStream stream(fs, file);
  if (!stream.allocate()) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);

  std::array<std::uint8_t, kBmpAnyHeaderBytes> header_bytes{};
  std::size_t got = 0;
  if (!stream.read(header_bytes.data(), header_bytes.size(), &got)) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  BmpAnyHeader header;
  if (const ResultCode parsed =
          parse_bmp_any_header(std::span(header_bytes.data(), got), header, detail);
      failed(parsed)) {
    return parsed;
  }

  // Entries the file does not deliver stay black, like indices past the palette.
  Palette palette{};
  palette.fill(Rgba16{0, 0, 0, kFullChannel});
  if (header.palette_entries != 0) {
    if (!stream.seek(header.palette_offset)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    std::array<std::uint8_t, kPaletteSize * kPaletteEntrySize> entries{};
    const std::size_t wanted = std::size_t{header.palette_entries} * header.palette_entry_bytes;
    if (!stream.read(entries.data(), wanted, &got)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    for (std::size_t index = 0; index < got / header.palette_entry_bytes; ++index) {
      const std::uint8_t* entry = entries.data() + index * header.palette_entry_bytes;
      // Blue, green, red; a fourth byte is reserved, not alpha.
      palette[index] = {widen8(entry[2]), widen8(entry[1]), widen8(entry[0]), kFullChannel};
    }
  }
  const BmpColours colours(header, palette);
  if (!stream.seek(header.pixel_offset)) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }

  const bool rle = header.coding == BmpPixelCoding::kRle8 || header.coding == BmpPixelCoding::kRle4;
  std::uint64_t stride = 0;
  // No width or depth the header allows overflows the stride; checked all the same.
  if (!rle && !padded_row_bytes(header.width_px, header.bits_per_pixel, stride)) {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  }
  if (const ResultCode begun =
          pass.begin({header.width_px, header.height_px, stride, file_bytes}, colours, detail);
      failed(begun)) {
    return begun;
  }
  if (rle) return RleWalker<Pass>(header, pass).walk(stream, detail);
  // begin held the stride to the decoding allowance, so it fits a size_t.
  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow)
                                          std::uint8_t[static_cast<std::size_t>(stride)]);
  if (!row) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  return walk_rows(stream, header, stride, row.get(), pass, detail);
}

}  // namespace

ResultCode read_bmp_any_ink(FileSystem& fs, FileHandle file, InkRule rule, InkMap& map,
                            ErrorDetail* detail) {
  return read_ink_in_passes<BmpColours>(
      rule, [&](auto& pass, ErrorDetail* why) { return read_bmp_pass(fs, file, pass, why); }, map,
      detail);
}

ResultCode read_bmp_any_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                            ErrorDetail* detail) {
  InputFile file(fs, fs.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  return read_bmp_any_ink(fs, file.handle(), rule, map, detail);
}

}  // namespace vellicor
