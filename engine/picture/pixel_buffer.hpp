// The picture's pixel bytes as loaded: only what the file delivered is held.
#pragma once

#include <cstdint>
#include <memory>

namespace vellicor {

// The pixel data of a loaded picture, in the file's own row layout. The
// picture declares biSizeImage bytes; only the first delivered_bytes of them
// were present in the file and are held here. Bytes past that read as paper.
struct PixelBuffer {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::uint32_t delivered_bytes = 0;
};

}  // namespace vellicor
