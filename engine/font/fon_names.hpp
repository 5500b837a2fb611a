// What a .fon file says about its font besides the glyphs: face and module
// names, weight, slant and size, all read from the BDF header's properties
// so that both files describe the same font.
#pragma once

#include <cstdint>
#include <string>

#include "engine/font/font_model.hpp"

namespace vellicor {

struct FonNames {
  // FAMILY_NAME (the font's name when the header states none) in code page
  // 1252: characters outside it dropped, at most 31 bytes, as Windows keeps
  // 32 for a face name and its NUL.
  std::string face;
  // The face's letters and digits in capitals, at most 8 of them, as the
  // module names of Windows' own font libraries are; "FONT" when none.
  std::string module_name;
  std::uint16_t weight = 0;      // WEIGHT_NAME as a Windows weight, 400 without one
  bool italic = false;           // SLANT "I" or "O"
  std::uint64_t pixel_size = 0;  // PIXEL_SIZE, else the font's height
};

FonNames fon_names(const FontModel& font);

// The point size of pixel_size pixels at the 96 dpi FNT fonts are made for,
// rounded, at most 65,535.
std::uint16_t fon_points(std::uint64_t pixel_size);

// The module description that names the font in Windows' font lists:
// "FONTRES 100,96,96 : Face 9", aspect 100 (square pixels), 96 dpi.
std::string fon_description(const std::string& face, std::uint16_t points);

}  // namespace vellicor
