// Walking a PNG file's chunks in memory.
#include "engine/picture/png_chunks.hpp"

#include <array>
#include <cstring>

#include "engine/core/byte_order.hpp"
#include "engine/core/limits.hpp"
#include "engine/picture/png_reader.hpp"

namespace vellicor {

namespace {

constexpr std::size_t kChunkFraming = 12;  // length, type, CRC
constexpr std::size_t kTypeBytes = 4;
constexpr std::uint32_t kLargestPngNumber = 0x7FFFFFFFu;  // lengths, width, height
constexpr std::uint32_t kIhdrLength = 13;
constexpr std::uint32_t kMostPaletteEntries = 256;
constexpr std::uint8_t kTypeCaseBit = 0x20;  // lower case: ancillary

ResultCode bad_header(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
}

bool is_type(const std::uint8_t* type, const char (&name)[kTypeBytes + 1]) {
  return std::memcmp(type, name, kTypeBytes) == 0;
}

// The bit depths each colour type allows.
bool depth_allowed(std::uint8_t colour_type, std::uint8_t depth) {
  std::uint32_t allowed = 0;  // bit n: depth n
  switch (colour_type) {
    case kPngColourGrey:
      allowed = 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8 | 1u << 16;
      break;
    case kPngColourPalette:
      allowed = 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8;
      break;
    case kPngColourRgb:
    case kPngColourGreyAlpha:
    case kPngColourRgba:
      allowed = 1u << 8 | 1u << 16;
      break;
    default:
      return false;
  }
  return depth <= 16 && (allowed >> depth & 1u) != 0;
}

ResultCode parse_header(const std::uint8_t* data, PngHeader& header, ErrorDetail* detail) {
  header.width = load_u32_be(data);
  header.height = load_u32_be(data + 4);
  header.bit_depth = data[8];
  header.colour_type = data[9];
  header.interlaced = data[12] == 1;
  const bool valid = header.width != 0 && header.width <= kLargestPngNumber && header.height != 0 &&
                     header.height <= kLargestPngNumber &&
                     depth_allowed(header.colour_type, header.bit_depth) && data[10] == 0 &&
                     data[11] == 0 && data[12] <= 1;  // deflate, adaptive filtering, Adam7 or none
  if (!valid) return bad_header(detail);
  if (header.width > kMaxPictureSidePx || header.height > kMaxPictureSidePx) {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

// What a chunk's length and type say before its data is read: the lengths
// IHDR and IEND allow, and critical chunks no decoder knows.
bool chunk_start_allowed(const std::uint8_t* type, std::uint32_t length) {
  if (is_type(type, "IHDR")) return length == kIhdrLength;
  if (is_type(type, "IEND")) return length == 0;
  return (type[0] & kTypeCaseBit) != 0 || is_type(type, "PLTE") || is_type(type, "IDAT");
}

// A tRNS chunk of this length fits the picture: one alpha per palette entry
// at most, or one key sample per channel (two bytes each); none where the
// picture has its own alpha.
bool transparency_fits(const PngLayout& layout, std::uint32_t length) {
  switch (layout.header.colour_type) {
    case kPngColourPalette:
      return layout.palette.present() && length <= layout.palette.length / 3;
    case kPngColourGrey:
      return length == 2;
    case kPngColourRgb:
      return length == 6;
    default:
      return false;
  }
}

// Text chunks, which a decoder keeps (up to kPngChunkCacheLimit in all).
bool is_kept_text(const std::uint8_t* type) {
  return is_type(type, "tEXt") || is_type(type, "zTXt") || is_type(type, "iTXt");
}

// Where the walk stands between chunks.
struct WalkState {
  bool seen_header = false;
  bool in_image_data = false;    // the last chunk was an IDAT
  bool seen_image_data = false;  // an IDAT run has begun
  std::uint64_t kept_text_bytes = 0;
};

// Checks one complete chunk with a correct CRC (where it matters) against
// the chunks before it and records what it holds. chunk_at is where its
// length begins.
ResultCode take_chunk(const std::uint8_t* type, std::size_t chunk_at, std::uint32_t length,
                      WalkState& state, PngLayout& layout, ErrorDetail* detail) {
  const std::size_t data_at = chunk_at + 2 * kTypeBytes;
  const bool is_ihdr = is_type(type, "IHDR");
  if (state.seen_header == is_ihdr) return bad_header(detail);  // IHDR first, and once
  if (is_ihdr) {
    state.seen_header = true;
    layout.ihdr_offset = data_at;
    return parse_header(type + kTypeBytes, layout.header, detail);
  }
  const bool is_idat = is_type(type, "IDAT");
  const bool image_data_ended = state.seen_image_data && !state.in_image_data;
  if (is_idat) {
    if (image_data_ended) {
      layout.stray_image_data = true;
      return ResultCode::kOk;
    }
    if (layout.header.colour_type == kPngColourPalette && !layout.palette.present()) {
      return bad_header(detail);
    }
    if (!state.seen_image_data) layout.image_data_begin = chunk_at;
    state.in_image_data = true;
    state.seen_image_data = true;
    layout.image_data_end = data_at + length + kTypeBytes;
    layout.image_data_bytes += length;
    return ResultCode::kOk;
  }
  state.in_image_data = false;
  if (is_type(type, "PLTE")) {
    const std::uint8_t colour = layout.header.colour_type;
    const std::uint32_t entries = length / 3;
    if (length == 0 || length % 3 != 0 || entries > kMostPaletteEntries ||
        (colour == kPngColourPalette && entries > (1u << layout.header.bit_depth))) {
      return bad_header(detail);
    }
    if (colour != kPngColourGrey && colour != kPngColourGreyAlpha && !layout.palette.present() &&
        !state.seen_image_data) {
      layout.palette = {data_at, length};
    }
  } else if (is_type(type, "tRNS")) {
    if (!layout.transparency.present() && !state.seen_image_data &&
        transparency_fits(layout, length)) {
      layout.transparency = {data_at, length};
    }
  } else if (is_kept_text(type) && length <= kPngChunkSizeLimit) {
    state.kept_text_bytes += length;
    if (state.kept_text_bytes > kPngChunkCacheLimit) {
      return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
    }
  }
  return ResultCode::kOk;
}

}  // namespace

std::uint32_t png_crc32(const std::uint8_t* bytes, std::size_t count) {
  // The table of the CRC-32 that PNG chunks carry (polynomial 0xEDB88320).
  static const auto kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
      std::uint32_t c = n;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    return table;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < count; ++i) crc = kTable[(crc ^ bytes[i]) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

ResultCode check_png_chunks(const std::uint8_t* bytes, std::size_t size, PngLayout& layout,
                            ErrorDetail* detail) {
  if (size < kPngSignature.size() ||
      std::memcmp(bytes, kPngSignature.data(), kPngSignature.size()) != 0) {
    return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
  }
  PngLayout found;
  WalkState state;
  std::size_t at = kPngSignature.size();
  for (;;) {
    if (size - at < 2 * kTypeBytes) {
      return fail(detail, ErrorDetail::kPngTruncated, ResultCode::kUnusableInput);
    }
    const std::uint32_t length = load_u32_be(bytes + at);
    const std::uint8_t* type = bytes + at + 4;
    if (length > kLargestPngNumber || !chunk_start_allowed(type, length)) {
      return bad_header(detail);
    }
    if (size - at < kChunkFraming || size - at - kChunkFraming < length) {
      return fail(detail, ErrorDetail::kPngTruncated, ResultCode::kUnusableInput);
    }
    for (std::size_t i = 0; i < kTypeBytes; ++i) {
      const auto letter = static_cast<std::uint8_t>(type[i] | kTypeCaseBit);
      if (letter < 'a' || letter > 'z') return bad_header(detail);
    }
    const std::uint8_t* data = type + kTypeBytes;
    const bool critical = (type[0] & kTypeCaseBit) == 0;
    const bool crc_right =
        png_crc32(type, std::size_t{length} + kTypeBytes) == load_u32_be(data + length);
    // The header's values are judged before its checksum, as a decoder
    // reading the file in order does; an IDAT with a wrong checksum still
    // counts as image data (see image_data_checksum_broken).
    const bool is_header = is_type(type, "IHDR");
    const bool is_data = is_type(type, "IDAT");
    if (crc_right || is_header || is_data) {
      if (const ResultCode taken = take_chunk(type, at, length, state, found, detail);
          failed(taken)) {
        layout = found;
        return taken;
      }
    }
    if (critical && !crc_right) {
      found.image_data_checksum_broken = is_data && !found.stray_image_data;
      layout = found;
      return fail(detail, ErrorDetail::kPngChecksum, ResultCode::kUnusableInput);
    }
    if (is_type(type, "IEND")) break;
    at += kChunkFraming + length;
  }
  layout = found;
  if (!state.seen_image_data) return bad_header(detail);
  return ResultCode::kOk;
}

ResultCode read_png_chunks(FileSystem& fs, FileHandle input, std::uint64_t max_bytes,
                           std::size_t first_read_bytes, WholeFile& file, PngLayout& layout,
                           ErrorDetail* detail) {
  if (!fs.seek(input, 0)) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  if (const ResultCode read = read_whole_file(fs, input, max_bytes, first_read_bytes,
                                              ErrorDetail::kPictureTooLarge, file, detail);
      failed(read)) {
    return read;
  }
  return check_png_chunks(file.bytes.get(), file.size, layout, detail);
}

void gather_png_image_data(const std::uint8_t* bytes, const PngLayout& layout, std::uint8_t* out) {
  std::uint8_t* next = out;  // where the next chunk's data goes
  for_each_png_chunk(bytes, layout.image_data_end,
                     [&](const std::uint8_t* type, std::size_t data_at, std::uint32_t length) {
                       if (data_at > layout.image_data_begin && is_type(type, "IDAT")) {
                         std::memcpy(next, bytes + data_at, length);
                         next += length;
                       }
                     });
}

std::uint64_t png_scanline_bytes(const PngHeader& header, std::uint32_t width_px) {
  std::uint32_t channels = 1;
  switch (header.colour_type) {
    case kPngColourRgb:
      channels = 3;
      break;
    case kPngColourGreyAlpha:
      channels = 2;
      break;
    case kPngColourRgba:
      channels = 4;
      break;
    default:
      break;
  }
  return (std::uint64_t{width_px} * channels * header.bit_depth + 7) / 8;
}

namespace {

// Adam7: where each pass starts and how far it steps, across and down.
constexpr std::array<std::uint32_t, 7> kFirstColumn = {0, 4, 0, 2, 0, 1, 0};
constexpr std::array<std::uint32_t, 7> kColumnStep = {8, 8, 4, 4, 2, 2, 1};
constexpr std::array<std::uint32_t, 7> kFirstRow = {0, 0, 4, 0, 2, 0, 1};
constexpr std::array<std::uint32_t, 7> kRowStep = {8, 8, 8, 4, 4, 2, 2};

// Calls each_pass(scanline_bytes, rows) for every pass that holds pixels:
// the whole picture, or the seven of Adam7.
template <typename EachPass>
void for_each_pass(const PngHeader& header, EachPass each_pass) {
  if (!header.interlaced) {
    each_pass(png_scanline_bytes(header, header.width), header.height);
    return;
  }
  for (std::size_t pass = 0; pass < kFirstColumn.size(); ++pass) {
    if (header.width <= kFirstColumn[pass] || header.height <= kFirstRow[pass]) continue;
    const std::uint32_t columns =
        (header.width - kFirstColumn[pass] + kColumnStep[pass] - 1) / kColumnStep[pass];
    const std::uint32_t rows =
        (header.height - kFirstRow[pass] + kRowStep[pass] - 1) / kRowStep[pass];
    each_pass(png_scanline_bytes(header, columns), rows);
  }
}

}  // namespace

std::uint64_t png_inflated_bytes(const PngHeader& header) {
  std::uint64_t total = 0;
  for_each_pass(header, [&](std::uint64_t scanline_bytes, std::uint32_t rows) {
    total += (scanline_bytes + 1) * rows;
  });
  return total;
}

bool png_filters_known(const PngHeader& header, const std::uint8_t* inflated, std::size_t count) {
  constexpr std::uint8_t kLastFilter = 4;  // Paeth
  std::uint64_t at = 0;
  bool known = true;
  for_each_pass(header, [&](std::uint64_t scanline_bytes, std::uint32_t rows) {
    for (std::uint32_t row = 0; row < rows && known && at < count; ++row) {
      known = inflated[at] <= kLastFilter;
      at += scanline_bytes + 1;
    }
  });
  return known;
}

}  // namespace vellicor
