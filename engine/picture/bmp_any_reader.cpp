// BMP pictures of any depth: pixel values walked row by row (or RLE code by
// RLE code) and handed on as runs of one value, which either fill the ink
// map or are counted to find the paper colour.
#include "engine/picture/bmp_any_reader.hpp"

#include <array>
#include <memory>
#include <new>

#include "engine/io/input_stream.hpp"
#include "engine/picture/bmp_any_header.hpp"

namespace vellicor {

namespace {

constexpr std::size_t kPaletteSize = 256;
using Palette = std::array<Rgba16, kPaletteSize>;

constexpr unsigned kBitsPerByte = 8;
constexpr std::uint32_t kRowAlignmentBits = 32;
constexpr std::uint32_t kRowAlignmentBytes = 4;

// RLE escape codes (the byte after a zero count).
constexpr int kRleEndOfLine = 0;
constexpr int kRleEndOfBitmap = 1;
constexpr int kRleDelta = 2;

ResultCode file_access_failed(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}

ResultCode bad_data(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kBmpBadData, ResultCode::kUnusableInput);
}

ResultCode out_of_memory(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
}

std::uint16_t scale_channel(std::uint32_t pixel, const ChannelMask& channel, std::uint16_t absent) {
  if (channel.bits == 0) return absent;
  const std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  const std::uint64_t largest = (std::uint64_t{1} << channel.bits) - 1;
  return static_cast<std::uint16_t>(value * kFullChannel / largest);
}

// The colour of a pixel value as the walkers hand it on.
class PixelColours {
 public:
  PixelColours(const BmpAnyHeader& header, const Palette& palette)
      : header_(&header), palette_(&palette) {}
  bool indexed() const {
    return header_->coding == BmpPixelCoding::kIndexed ||
           header_->coding == BmpPixelCoding::kRle8 || header_->coding == BmpPixelCoding::kRle4;
  }
  Rgba16 colour(std::uint32_t value) const {
    if (indexed()) return (*palette_)[value & 0xFF];
    if (header_->coding == BmpPixelCoding::kRgb24) {
      return {widen8(static_cast<std::uint8_t>(value >> 16)),
              widen8(static_cast<std::uint8_t>(value >> 8)),
              widen8(static_cast<std::uint8_t>(value)), kFullChannel};
    }
    const auto& masks = header_->masks;
    return {scale_channel(value, masks[0], 0), scale_channel(value, masks[1], 0),
            scale_channel(value, masks[2], 0), scale_channel(value, masks[3], kFullChannel)};
  }

 private:
  const BmpAnyHeader* header_;
  const Palette* palette_;
};

// Fills the ink map from runs of one pixel value.
class InkVisitor {
 public:
  InkVisitor(InkMap& map, const PixelColours& colours, InkClassifier classifier)
      : map_(&map), colours_(&colours), classifier_(classifier) {
    if (colours.indexed()) {
      for (std::uint32_t index = 0; index < kPaletteSize; ++index) {
        index_is_ink_[index] = classifier.is_ink(colours.colour(index));
      }
    }
  }
  void run(std::uint32_t y, std::uint32_t x, std::uint32_t length, std::uint32_t value) {
    if (!is_ink(value)) return;
    for (std::uint32_t column = x; column < x + length; ++column) map_->set_ink(column, y);
  }

 private:
  bool is_ink(std::uint32_t value) {
    if (colours_->indexed()) return index_is_ink_[value & 0xFF];
    if (!has_last_ || value != last_value_) {
      last_value_ = value;
      last_is_ink_ = classifier_.is_ink(colours_->colour(value));
      has_last_ = true;
    }
    return last_is_ink_;
  }

  InkMap* map_;
  const PixelColours* colours_;
  InkClassifier classifier_;
  std::array<bool, kPaletteSize> index_is_ink_{};
  std::uint32_t last_value_ = 0;
  bool last_is_ink_ = false;
  bool has_last_ = false;
};

// Counts the pixels of every colour: palette indices exactly, other values
// through the bounded counter.
class CountVisitor {
 public:
  CountVisitor(CommonColourCounter& counter, const PixelColours& colours)
      : counter_(&counter), colours_(&colours) {}
  void run(std::uint32_t, std::uint32_t, std::uint32_t length, std::uint32_t value) {
    if (colours_->indexed()) {
      index_counts_[value & 0xFF] += length;
    } else {
      counter_->add(colour_key(colours_->colour(value)), length);
    }
  }
  // Hands the index counts to the counter, by colour.
  void finish() {
    for (std::uint32_t index = 0; index < kPaletteSize; ++index) {
      counter_->add(colour_key(colours_->colour(index)), index_counts_[index]);
    }
  }

 private:
  CommonColourCounter* counter_;
  const PixelColours* colours_;
  std::array<std::uint64_t, kPaletteSize> index_counts_{};
};

std::uint32_t pixel_value(const std::uint8_t* row, std::uint32_t x, std::uint16_t depth) {
  switch (depth) {
    case 16: {
      const std::uint8_t* pixel = row + std::size_t{2} * x;
      return pixel[0] | std::uint32_t{pixel[1]} << 8;
    }
    case 24: {
      const std::uint8_t* pixel = row + std::size_t{3} * x;
      return pixel[0] | std::uint32_t{pixel[1]} << 8 | std::uint32_t{pixel[2]} << 16;
    }
    case 32: {
      const std::uint8_t* pixel = row + std::size_t{4} * x;
      return pixel[0] | std::uint32_t{pixel[1]} << 8 | std::uint32_t{pixel[2]} << 16 |
             std::uint32_t{pixel[3]} << 24;
    }
    default: {
      // 1, 2, 4 or 8 bits: the leftmost pixel in the high bits of its byte.
      const std::uint64_t bit = std::uint64_t{x} * depth;
      const unsigned shift = kBitsPerByte - depth - static_cast<unsigned>(bit % kBitsPerByte);
      return (row[bit / kBitsPerByte] >> shift) & ((1u << depth) - 1);
    }
  }
}

std::uint64_t file_row_bytes(const BmpAnyHeader& header) {
  return (std::uint64_t{header.width_px} * header.bits_per_pixel + kRowAlignmentBits - 1) /
         kRowAlignmentBits * kRowAlignmentBytes;
}

// Rows as stored, one after another, until the picture or the file ends.
template <class Visitor>
ResultCode walk_rows(InputStream& stream, const BmpAnyHeader& header, std::uint8_t* row,
                     Visitor& visitor, ErrorDetail* detail) {
  const std::uint64_t stride = file_row_bytes(header);
  for (std::uint32_t stored = 0; stored < header.height_px; ++stored) {
    std::size_t got = 0;
    if (!stream.read(row, static_cast<std::size_t>(stride), &got)) {
      return file_access_failed(detail);
    }
    // Only pixels whose bits all arrived are read.
    const std::uint64_t arrived = std::uint64_t{got} * kBitsPerByte / header.bits_per_pixel;
    const auto present =
        static_cast<std::uint32_t>(arrived < header.width_px ? arrived : header.width_px);
    const std::uint32_t y = header.top_down ? stored : header.height_px - 1 - stored;
    std::uint32_t run_start = 0;
    std::uint32_t run_value = 0;
    for (std::uint32_t x = 0; x < present; ++x) {
      const std::uint32_t value = pixel_value(row, x, header.bits_per_pixel);
      if (x != run_start && value != run_value) {
        visitor.run(y, run_start, x - run_start, run_value);
        run_start = x;
      }
      run_value = value;
    }
    if (present > run_start) visitor.run(y, run_start, present - run_start, run_value);
    if (got < stride) break;
  }
  return ResultCode::kOk;
}

// RLE8 and RLE4 codes, bottom row first. Every code consumes file bytes and
// writes at most the picture's own pixels, so work is bounded by both.
// Writers run the last code of a row past its end (ImageMagick fills the
// row up to a multiple of four pixels), so pixels right of the picture are
// dropped; a jump that leaves the picture is broken data.
template <class Visitor>
class RleWalker {
 public:
  RleWalker(const BmpAnyHeader& header, Visitor& visitor)
      : header_(&header), visitor_(&visitor), four_bits_(header.coding == BmpPixelCoding::kRle4) {}

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
        if (x_ > header_->width_px || row_ > header_->height_px) return bad_data(detail);
      } else {
        copy(stream, static_cast<std::uint32_t>(code));
      }
    }
    if (stream.failed()) return file_access_failed(detail);
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
      if (pixels != 0) visitor_->run(y(), x_, pixels, four_bits_ ? byte & kNibble : byte);
    } else {
      for (std::uint32_t i = 0; i < pixels; ++i) {
        visitor_->run(y(), x_ + i, 1, i % 2 == 0 ? byte >> kNibbleBits : byte & kNibble);
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
        if (done < pixels) visitor_->run(y(), x_ + done++, 1, value >> kNibbleBits);
        if (done < pixels) visitor_->run(y(), x_ + done++, 1, value & kNibble);
      } else if (done < pixels) {
        visitor_->run(y(), x_ + done++, 1, value);
      }
    }
    if (bytes % 2 != 0) static_cast<void>(stream.next_byte());
    x_ += pixels;
  }

  const BmpAnyHeader* header_;
  Visitor* visitor_;
  bool four_bits_;
  std::uint32_t x_ = 0;
  std::uint32_t row_ = 0;  // counted from the bottom
};

template <class Visitor>
ResultCode walk_rle(InputStream& stream, const BmpAnyHeader& header, Visitor& visitor,
                    ErrorDetail* detail) {
  return RleWalker<Visitor>(header, visitor).walk(stream, detail);
}

// One reading of the file's pixels, handed to a visitor made for it.
class BmpPass {
 public:
  BmpPass(FileSystem& fs, const char* path) : fs_(&fs), path_(path) {}

  ResultCode read_for_ink(InkClassifier classifier, InkMap& map, ErrorDetail* detail) {
    InkMap decoded;
    ResultCode result = run(
        [&](const BmpAnyHeader& header, const PixelColours& colours, std::uint64_t row_bytes,
            std::uint64_t file_bytes, auto&& walk) -> ResultCode {
          if (const ResultCode made = allocate_ink_map(header.width_px, header.height_px, row_bytes,
                                                       file_bytes, decoded, detail);
              failed(made)) {
            return made;
          }
          InkVisitor visitor(decoded, colours, classifier);
          return walk(visitor);
        },
        detail);
    if (succeeded(result)) map = std::move(decoded);
    return result;
  }

  ResultCode count_colours(CommonColourCounter& counter, ErrorDetail* detail) {
    return run(
        [&](const BmpAnyHeader& header, const PixelColours& colours, std::uint64_t row_bytes,
            std::uint64_t file_bytes, auto&& walk) -> ResultCode {
          if (const ResultCode checked = check_picture_size(header.width_px, header.height_px,
                                                            row_bytes, file_bytes, detail);
              failed(checked)) {
            return checked;
          }
          CountVisitor visitor(counter, colours);
          const ResultCode walked = walk(visitor);
          visitor.finish();
          return walked;
        },
        detail);
  }

 private:
  template <class Use>
  ResultCode run(Use&& use, ErrorDetail* detail);

  FileSystem* fs_;
  const char* path_;
};

template <class Use>
ResultCode BmpPass::run(Use&& use, ErrorDetail* detail) {
  InputFile file(*fs_, fs_->open_for_reading(path_));
  if (!file.is_open()) return file_access_failed(detail);
  std::uint64_t file_bytes = 0;
  if (!fs_->size(file.handle(), &file_bytes)) file_bytes = 0;
  InputStream stream(*fs_, file.handle());
  if (!stream.allocate()) return out_of_memory(detail);

  std::array<std::uint8_t, kBmpAnyHeaderBytes> header_bytes{};
  std::size_t got = 0;
  if (!stream.read(header_bytes.data(), header_bytes.size(), &got)) {
    return file_access_failed(detail);
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
    if (!stream.seek(header.palette_offset)) return file_access_failed(detail);
    std::array<std::uint8_t, kPaletteSize * 4> entries{};
    const std::size_t wanted = std::size_t{header.palette_entries} * header.palette_entry_bytes;
    if (!stream.read(entries.data(), wanted, &got)) return file_access_failed(detail);
    for (std::size_t index = 0; index < got / header.palette_entry_bytes; ++index) {
      const std::uint8_t* entry = entries.data() + index * header.palette_entry_bytes;
      // Blue, green, red; a fourth byte is reserved, not alpha.
      palette[index] = {widen8(entry[2]), widen8(entry[1]), widen8(entry[0]), kFullChannel};
    }
  }
  const PixelColours colours(header, palette);
  if (!stream.seek(header.pixel_offset)) return file_access_failed(detail);

  const bool rle = header.coding == BmpPixelCoding::kRle8 || header.coding == BmpPixelCoding::kRle4;
  const std::uint64_t row_bytes = rle ? 0 : file_row_bytes(header);
  std::unique_ptr<std::uint8_t[]> row;
  const auto walk = [&](auto& visitor) -> ResultCode {
    if (rle) return walk_rle(stream, header, visitor, detail);
    row.reset(new (std::nothrow) std::uint8_t[row_bytes]);
    if (!row) return out_of_memory(detail);
    return walk_rows(stream, header, row.get(), visitor, detail);
  };
  return use(header, colours, row_bytes, file_bytes, walk);
}

}  // namespace

ResultCode read_bmp_any_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                            ErrorDetail* detail) {
  ColourKey paper = 0;
  if (rule == InkRule::kAuto) {
    std::unique_ptr<CommonColourCounter> counter(new (std::nothrow) CommonColourCounter());
    if (!counter) return out_of_memory(detail);
    if (const ResultCode counted = BmpPass(fs, path).count_colours(*counter, detail);
        failed(counted)) {
      return counted;
    }
    paper = counter->most_common();
  }
  return BmpPass(fs, path).read_for_ink(InkClassifier(rule, paper), map, detail);
}

}  // namespace vellicor
