// Compressed font files: gzip (.pcf.gz, .psf.gz) inflated in memory before
// the font's own reader sees the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Whether bytes begin as a gzip stream does (1f 8b).
bool is_gzip(const std::uint8_t* data, std::size_t size);

// Inflates the gzip stream in data (one member or several in a row) into
// inflated, which is written only on success. Refusals: kFontTooLargeToDraw
// when the result would pass limit bytes, kFontDamaged for a broken stream
// or one that ends early, kFontUnknown on a build without zlib, kOutOfMemory.
ResultCode inflate_gzip(const std::uint8_t* data, std::size_t size, std::uint64_t limit,
                        std::vector<std::uint8_t>& inflated, ErrorDetail* detail);

}  // namespace vellicor
