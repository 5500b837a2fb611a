// Decoding and checking BMP headers of every version the any-depth reader takes.
#include "engine/picture/bmp_any_header.hpp"

#include <algorithm>
#include <bit>

#include "engine/core/byte_order.hpp"
#include "engine/core/limits.hpp"
#include "engine/picture/bmp_format.hpp"

namespace vellicor {

namespace {

// Information header sizes with a meaning of their own.
constexpr std::uint32_t kOs2V1HeaderBytes = 12;
constexpr std::uint32_t kOs2V2MinHeaderBytes = 16;
constexpr std::uint32_t kOs2V2MaxHeaderBytes = 64;
constexpr std::uint32_t kWindowsHeaderBytes = 40;
constexpr std::uint32_t kWindowsV2HeaderBytes = 52;  // colour masks inside
constexpr std::uint32_t kWindowsV3HeaderBytes = 56;  // and the alpha mask
constexpr std::uint32_t kLargestHeaderBytes = 124;

// biCompression values; OS/2 2.x gives 3 and 4 other meanings.
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitfields = 3;  // OS/2: Huffman 1D
constexpr std::uint32_t kCompressionJpeg = 4;       // OS/2: RLE24
constexpr std::uint32_t kCompressionPng = 5;
constexpr std::uint32_t kCompressionAlphaBitfields = 6;

// Offsets from the start of the file.
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoAt = kBmpFileHeaderSize;
constexpr std::size_t kMasksAt = kInfoAt + kWindowsHeaderBytes;
constexpr std::size_t kMaskBytes = 4;
constexpr std::size_t kChannels = 4;
constexpr std::size_t kColourChannels = 3;

constexpr std::uint32_t kMaxBitsPerPixel = 32;

// A mask must be one run of set bits inside the pixel; no two may overlap.
bool describe_masks(std::array<std::uint32_t, kChannels> raw, std::uint16_t bits_per_pixel,
                    std::array<ChannelMask, kChannels>& masks) {
  const std::uint64_t pixel_bits = (std::uint64_t{1} << bits_per_pixel) - 1;
  std::uint32_t seen = 0;
  for (std::size_t channel = 0; channel < kChannels; ++channel) {
    const std::uint32_t mask = raw[channel];
    if ((mask & ~pixel_bits) != 0 || (mask & seen) != 0) return false;
    seen |= mask;
    ChannelMask described;
    if (mask != 0) {
      described.mask = mask;
      described.shift = static_cast<unsigned>(std::countr_zero(mask));
      described.bits = static_cast<unsigned>(std::popcount(mask));
      const std::uint32_t shifted = mask >> described.shift;
      if ((shifted & (shifted + 1)) != 0) return false;  // holes in the run
    }
    masks[channel] = described;
  }
  return true;
}

}  // namespace

ResultCode parse_bmp_any_header(std::span<const std::uint8_t> bytes, BmpAnyHeader& header,
                                ErrorDetail* detail) {
  const LittleEndianBytes fields(bytes);
  if (fields.u16(0) != kBmpSignature) {
    return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
  }
  BmpAnyHeader parsed;
  parsed.pixel_offset = fields.u32(kPixelOffsetAt);
  const std::uint32_t info_bytes = fields.u32(kInfoAt);
  const bool os2_v1 = info_bytes == kOs2V1HeaderBytes;
  const bool windows = info_bytes >= kWindowsHeaderBytes &&
                       (info_bytes == kWindowsHeaderBytes || info_bytes == kWindowsV2HeaderBytes ||
                        info_bytes == kWindowsV3HeaderBytes || info_bytes > kOs2V2MaxHeaderBytes);
  const bool os2_v2 =
      !windows && info_bytes >= kOs2V2MinHeaderBytes && info_bytes <= kOs2V2MaxHeaderBytes;
  if (!os2_v1 && !windows && !os2_v2) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }
  // A header past the largest known one is read as far as that one goes.
  if (bytes.size() < kInfoAt + std::min(info_bytes, kLargestHeaderBytes)) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }

  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t compression = kCompressionNone;
  std::uint32_t colours_used = 0;
  if (os2_v1) {
    width = fields.u16(18);
    height = fields.u16(20);
    parsed.bits_per_pixel = fields.u16(24);
    parsed.palette_entry_bytes = 3;
  } else {
    width = fields.i32(18);
    height = fields.i32(22);
    parsed.bits_per_pixel = fields.u16(28);
    if (info_bytes >= 20) compression = fields.u32(30);
    if (info_bytes >= 36) colours_used = fields.u32(46);
  }
  if (width <= 0 || height == 0) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }
  parsed.width_px = static_cast<std::uint32_t>(width);
  parsed.top_down = height < 0;
  parsed.height_px = static_cast<std::uint32_t>(height < 0 ? -height : height);

  const std::uint16_t depth = parsed.bits_per_pixel;
  if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16 && depth != 24 &&
      depth != kMaxBitsPerPixel) {
    return fail(detail, ErrorDetail::kUnsupported, ResultCode::kFileAccess);
  }
  if (os2_v2 && (compression == kCompressionBitfields || compression == kCompressionJpeg)) {
    // Huffman 1D and RLE24
    return fail(detail, ErrorDetail::kUnsupported, ResultCode::kFileAccess);
  }

  std::array<std::uint32_t, kChannels> raw_masks{};
  std::size_t masks_after_header = 0;
  switch (compression) {
    case kCompressionNone:
      if (depth <= 8) {
        parsed.coding = BmpPixelCoding::kIndexed;
      } else if (depth == 24) {
        parsed.coding = BmpPixelCoding::kRgb24;
      } else {
        // The default layouts: 5-5-5 and 8-8-8 with the top bits unused.
        parsed.coding = BmpPixelCoding::kBitfields;
        raw_masks = depth == 16 ? std::array<std::uint32_t, kChannels>{0x7C00, 0x03E0, 0x001F, 0}
                                : std::array<std::uint32_t, kChannels>{0xFF0000, 0xFF00, 0xFF, 0};
      }
      break;
    case kCompressionRle8:
    case kCompressionRle4:
      if (depth != (compression == kCompressionRle8 ? 8 : 4) || parsed.top_down) {
        return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
      }
      parsed.coding =
          compression == kCompressionRle8 ? BmpPixelCoding::kRle8 : BmpPixelCoding::kRle4;
      break;
    case kCompressionBitfields:
    case kCompressionAlphaBitfields: {
      if (depth != 16 && depth != kMaxBitsPerPixel) {
        return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
      }
      parsed.coding = BmpPixelCoding::kBitfields;
      const bool with_alpha = compression == kCompressionAlphaBitfields;
      std::size_t mask_count = kColourChannels;
      if (info_bytes == kWindowsHeaderBytes) {
        mask_count = with_alpha ? kChannels : kColourChannels;
        masks_after_header = mask_count * kMaskBytes;
      } else if (info_bytes >= kWindowsV3HeaderBytes || with_alpha) {
        mask_count = kChannels;
      } else if (info_bytes < kWindowsV2HeaderBytes) {
        return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
      }
      if (bytes.size() < kMasksAt + mask_count * kMaskBytes) {
        return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
      }
      for (std::size_t channel = 0; channel < mask_count; ++channel) {
        raw_masks[channel] = fields.u32(kMasksAt + channel * kMaskBytes);
      }
      break;
    }
    case kCompressionJpeg:
    case kCompressionPng:
    default:
      return fail(detail, ErrorDetail::kUnsupported, ResultCode::kFileAccess);
  }
  if (parsed.coding == BmpPixelCoding::kBitfields &&
      !describe_masks(raw_masks, depth, parsed.masks)) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }

  parsed.palette_offset = std::uint64_t{kInfoAt} + info_bytes + masks_after_header;
  if (depth <= 8) {
    const std::uint32_t most = std::uint32_t{1} << depth;
    std::uint32_t entries = colours_used == 0 || colours_used > most ? most : colours_used;
    // Writers that store fewer entries than the depth allows say so by where
    // the pixel data starts; what lies past that is no palette.
    if (parsed.pixel_offset >= parsed.palette_offset) {
      const std::uint64_t room =
          (parsed.pixel_offset - parsed.palette_offset) / parsed.palette_entry_bytes;
      if (room < entries) entries = static_cast<std::uint32_t>(room);
    }
    parsed.palette_entries = entries;
  }
  header = parsed;
  return ResultCode::kOk;
}

}  // namespace vellicor
