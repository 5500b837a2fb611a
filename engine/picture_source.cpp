// The extended conversion's picture reader. One-bit BMP files keep the plain
// conversion's loader and its rule: pure black palette entries are ink.
#include "engine/picture_source.hpp"

#include "engine/bmp_loader.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

ResultCode load_picture(FileSystem& fs, const char* path, std::uint32_t ink_rule,
                        LoadedPicture& picture, ErrorDetail* detail) {
  picture = LoadedPicture{};
  // The one-bit reader knows only the black rule; the others need readers
  // that see colours.
  if (ink_rule != VELLICOR_INK_BLACK) return ResultCode::kBadArgument;
  return load_bmp(fs, path, picture.info, picture.ink_table, picture.ink_count, picture.pixels,
                  detail);
}

}  // namespace vellicor
