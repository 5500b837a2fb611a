// Pictures and fonts made in memory through the engine's stages.
#include "tests/engine/memory_picture.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/layout/glyph_cutter.hpp"
#include "engine/picture/one_bit_bmp_ink.hpp"

namespace vellicor::test {

InkMap MemoryPicture::ink_map() const {
  InkMap map;
  EXPECT_EQ(one_bit_bmp_ink_map(info, pixels, ink.data(), ink_count, map, nullptr),
            ResultCode::kOk);
  return map;
}

MemoryPicture memory_picture(const std::vector<std::string>& rows, const BmpOptions& bmp) {
  const std::vector<std::uint8_t> file = make_one_bit_bmp(rows, bmp);
  MemoryPicture picture;
  picture.info.biSize = get_u32(file, kOffBiSize);
  picture.info.biWidth = static_cast<std::int32_t>(get_u32(file, kOffBiWidth));
  picture.info.biHeight = static_cast<std::int32_t>(get_u32(file, kOffBiHeight));
  picture.info.biBitCount = 1;
  picture.info.biSizeImage = get_u32(file, kOffBiSizeImage);
  const std::uint32_t offset = get_u32(file, kOffBfOffBits);
  const std::size_t bytes = file.size() - offset;
  picture.pixels.bytes.reset(new std::uint8_t[bytes]);
  std::memcpy(picture.pixels.bytes.get(), file.data() + offset, bytes);
  picture.pixels.delivered_bytes = static_cast<std::uint32_t>(bytes);
  picture.ink[0] = bmp.ink_is_index_one ? 1 : 0;
  return picture;
}

StagedFont::StagedFont(const MemoryPicture& picture, const ConversionOptions& given)
    : options(given), map(picture.ink_map()) {
  result = cut_strip(map, options.allowed_blank_columns, Framing::kMarginStrip, boxes);
  if (succeeded(result))
    result = model.build(boxes, options, nullptr, 0, Framing::kMarginStrip, nullptr);
}

}  // namespace vellicor::test
