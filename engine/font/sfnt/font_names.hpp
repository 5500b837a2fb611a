// The names an sfnt font goes by, from its BDF header's FAMILY_NAME,
// WEIGHT_NAME and SLANT, so that every format of the font is one family.
#pragma once

#include <string>

#include "engine/font/font_model.hpp"

namespace vellicor {

struct SfntNames {
  std::string family;  // UTF-8
  // The style as font menus show it: the weight and the slant, but for the
  // plain ones (a Medium, Regular, Normal or Book weight, an upright slant);
  // "Regular" when both are plain.
  std::string style;
  bool italic = false;  // slanted: italic or oblique
  bool bold = false;
  // Family and style for PostScript: printable ASCII without the characters
  // PostScript reserves, at most 63 characters.
  std::string postscript;
};

// The names of font; a font made without a list, whose header states no
// FAMILY_NAME, is the family its name (FONT) says, of medium weight and
// upright.
SfntNames sfnt_names(const FontModel& font);

}  // namespace vellicor
