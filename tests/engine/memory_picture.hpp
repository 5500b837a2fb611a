// Pictures and fonts made in memory through the engine's stages, for tests
// of the layout and the font stage without files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/font/font_model.hpp"
#include "engine/layout/glyph_boxes.hpp"
#include "engine/picture/bmp_format.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/pixel_buffer.hpp"
#include "tests/support/bmp_builder.hpp"

namespace vellicor::test {

// A one-bit picture as the BMP loader hands it over.
struct MemoryPicture {
  BmpInfoHeader info{};
  PixelBuffer pixels;
  InkIndexTable ink{};
  std::uint16_t ink_count = 1;

  // The picture stage's result for it.
  InkMap ink_map() const;
};

// rows ('#' ink, '.' paper) drawn as make_one_bit_bmp draws them.
MemoryPicture memory_picture(const std::vector<std::string>& rows, const BmpOptions& bmp = {});

// The layout and font stages run over a picture; the model refers to the
// members, so the whole stays where it was made.
struct StagedFont {
  StagedFont(const MemoryPicture& picture, const ConversionOptions& given);
  StagedFont(const StagedFont&) = delete;
  StagedFont& operator=(const StagedFont&) = delete;

  ConversionOptions options;
  InkMap map;
  GlyphBoxes boxes;
  FontModel model;
  ResultCode result = ResultCode::kOk;  // of the first stage that failed
};

}  // namespace vellicor::test
