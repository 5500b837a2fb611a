// Placeholder until the loader lands.
#include "engine/bmp_loader.hpp"

namespace vellicor {

ResultCode load_bmp(FileSystem&, const char*, BmpFileHeader&, BmpInfoHeader&, InkIndexTable&,
                    std::uint8_t, std::uint16_t& ink_count, PixelBuffer&, ErrorDetail* detail) {
  ink_count = 0;
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}

}  // namespace vellicor
