// What both picture writers check before they write a byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/draw/drawn_picture.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// A picture the writers can save: at least one pixel, as many pixel values
// as its width and height say, each one of the palette's. kUnusableInput
// with detail kUnusableContent otherwise.
inline ResultCode check_drawn_picture(const DrawnPicture& picture, ErrorDetail* detail) {
  const bool sized = picture.width != 0 && picture.height != 0 &&
                     picture.pixels.size() / picture.width == picture.height &&
                     picture.pixels.size() % picture.width == 0;
  bool known_colours = sized;
  for (std::size_t at = 0; known_colours && at < picture.pixels.size(); ++at) {
    known_colours = picture.pixels[at] < kDrawnPalette.size();
  }
  if (!known_colours) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
