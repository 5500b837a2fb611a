// The one-bit BMP reader: the loaded file turned into the neutral ink map,
// its row order, its palette's ink indices and its undelivered bytes
// resolved once, so the layout never sees anything of the BMP layout.
#pragma once

#include <cstdint>

#include "engine/io/file_system.hpp"
#include "engine/picture/bmp_format.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/pixel_buffer.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// The ink map of a one-bit picture as load_bmp hands it over: rows bottom-up
// or top-down in the file's order, each padded to four bytes, the pixels
// whose palette index is one of ink_indices ink. Pixel bytes the file did not
// deliver are paper, and the map holds only the rows and columns that
// delivered bytes can reach. kOutOfMemory (detail kOutOfMemory) when the
// map cannot be had; map is written only on success.
ResultCode one_bit_bmp_ink_map(const BmpInfoHeader& info, const PixelBuffer& pixels,
                               const std::uint8_t* ink_indices, std::uint16_t ink_count,
                               InkMap& map, ErrorDetail* detail);

// The same map, made in the pixel bytes themselves when the file delivered
// exactly its rows (pixels is then left empty), so the usual picture costs
// no second buffer.
ResultCode one_bit_bmp_ink_map(const BmpInfoHeader& info, PixelBuffer&& pixels,
                               const std::uint8_t* ink_indices, std::uint16_t ink_count,
                               InkMap& map, ErrorDetail* detail);

}  // namespace vellicor
