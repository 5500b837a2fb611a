// A drawn picture: palette indices, one byte a pixel, and the few colours
// they stand for. The drawing of a font makes one; the PNG and BMP writers
// save it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vellicor {

// The colours of a drawing, by index.
enum DrawnColour : std::uint8_t {
  kDrawnPaper = 0,      // white
  kDrawnInk = 1,        // black: the glyphs
  kDrawnSeparator = 2,  // light grey, not ink under --ink dark: a grid's lines between cells
  kDrawnMark = 3,       // red, ink under --ink dark: a marked strip's advance marks
};

struct DrawnPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // width * height DrawnColour values, top row first
  // Whether the picture uses ink and paper only, and is to be saved as a
  // one-bit picture.
  bool two_colours = false;

  std::uint8_t& at(std::uint32_t x, std::uint32_t y) {
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
  std::uint8_t at(std::uint32_t x, std::uint32_t y) const {
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
};

// RGB of each DrawnColour.
inline constexpr std::array<std::array<std::uint8_t, 3>, 4> kDrawnPalette{{
    {255, 255, 255},
    {0, 0, 0},
    {190, 190, 200},
    {200, 0, 0},
}};

}  // namespace vellicor
