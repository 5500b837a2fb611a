// The extended conversion's picture reader. One-bit BMP files under the black
// rule keep the plain conversion's loader, so they give exactly the plain
// conversion's picture (pure black palette entries are ink); every other
// picture and rule goes through the readers that see colours.
#include "engine/picture/picture_source.hpp"

#include "engine/picture/bmp_loader.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/ink_rule.hpp"
#include "engine/picture/picture_ink.hpp"

namespace vellicor {

ResultCode load_picture(FileSystem& fs, const char* path, std::uint32_t ink_rule,
                        LoadedPicture& picture, ErrorDetail* detail) {
  picture = LoadedPicture{};
  InkRule rule = InkRule::kBlack;
  if (!ink_rule_from_number(ink_rule, rule)) return ResultCode::kBadArgument;

  if (rule == InkRule::kBlack && sniff_picture_format(fs, path) == PictureFormat::kOneBitBmp) {
    return load_bmp(fs, path, picture.info, picture.ink_table, picture.ink_count, picture.pixels,
                    detail);
  }

  InkMap map;
  if (const ResultCode read = read_picture_ink(fs, path, rule, map, detail); failed(read)) {
    return read;
  }
  // The map's set bits are ink: palette index 1 of a one-bit picture.
  picture.info = ink_map_header(map);
  picture.ink_table[0] = 1;
  picture.ink_count = 1;
  picture.pixels = std::move(map.pixels);
  return ResultCode::kOk;
}

}  // namespace vellicor
