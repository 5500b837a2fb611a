// Choosing the reader of a picture. One-bit BMP files under the black rule
// keep the plain conversion's reader, so they give exactly the plain
// conversion's picture (pure black palette entries are ink); every other
// picture and rule goes through the readers that see colours.
#include "engine/picture/picture_source.hpp"

#include "engine/picture/ink_rule.hpp"
#include "engine/picture/one_bit_bmp_ink.hpp"
#include "engine/picture/picture_ink.hpp"

namespace vellicor {

ResultCode read_picture(FileSystem& fs, const char* path, PictureReaders readers,
                        std::uint32_t ink_rule, InkMap& map, ErrorDetail* detail) {
  if (readers == PictureReaders::kOneBitBmp) return read_one_bit_bmp(fs, path, map, detail);

  InkRule rule = InkRule::kBlack;
  if (!ink_rule_from_number(ink_rule, rule)) return ResultCode::kBadArgument;
  if (rule == InkRule::kBlack && sniff_picture_format(fs, path) == PictureFormat::kOneBitBmp) {
    return read_one_bit_bmp(fs, path, map, detail);
  }
  return read_picture_ink(fs, path, rule, map, detail);
}

}  // namespace vellicor
