// Decoding the two BMP headers from their little-endian bytes, and the checks
// that decide whether the loader can use the picture they describe.
#pragma once

#include <cstdint>
#include <span>

#include "engine/core/limits.hpp"
#include "engine/picture/bmp_format.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Widest row the stride arithmetic allows: bit count x width + 31 must stay
// within 32 bits.
inline constexpr std::uint32_t kMaxRowBits = 0xFFFFFFE0;
// Rows are padded to a multiple of this many bytes.
inline constexpr std::uint32_t kRowAlignmentBytes = 4;

// Both decoders read every field from its bytes, least significant byte first,
// so the result does not depend on the host's byte order or struct padding.
BmpFileHeader decode_file_header(std::span<const std::uint8_t, kBmpFileHeaderSize> bytes);
BmpInfoHeader decode_info_header(std::span<const std::uint8_t, kBmpInfoHeaderSize> bytes);

// Rows of the picture, abs(biHeight), exact also for INT32_MIN.
std::uint32_t row_count(const BmpInfoHeader& info);

// Bytes per stored row: the row's bits rounded up to whole 32-bit words.
// Only meaningful once validate_headers() has accepted the headers.
std::uint32_t row_stride(const BmpInfoHeader& info);

// Refuses what the loader cannot read: more than one bit per pixel and
// compressed data (kFileAccess, detail kUnsupported), then unusable header
// values (kUnusableInput, detail kUnusableContent), first failure reported.
// A biSizeImage of 0, which writers may leave for uncompressed pictures, is
// replaced by stride x rows once the size arithmetic is known to be safe, so
// every later user of info sees the real size. info is changed only on success.
ResultCode validate_headers(const BmpFileHeader& file, BmpInfoHeader& info, ErrorDetail* detail);

// Number of palette entries the information header declares: biClrUsed, or
// 2 to the power biBitCount when that is 0. Call after validate_headers().
std::uint32_t palette_entry_count(const BmpInfoHeader& info);

}  // namespace vellicor
