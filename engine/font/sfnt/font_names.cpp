// Family and style names from the BDF header's properties.
#include "engine/font/sfnt/font_names.hpp"

#include <string_view>
#include <vector>

#include "engine/font/bdf_header.hpp"

namespace vellicor {

namespace {

constexpr std::size_t kMostPostScriptName = 63;

bool plain_weight(std::string_view weight) {
  return weight.empty() || weight == "Medium" || weight == "Regular" || weight == "Normal" ||
         weight == "Book";
}

// The XLFD slant codes: roman, italic, oblique, and their reverses.
std::string_view slant_style(std::string_view slant) {
  if (slant == "I") return "Italic";
  if (slant == "O") return "Oblique";
  if (slant == "RI") return "Reverse Italic";
  if (slant == "RO") return "Reverse Oblique";
  return {};
}

bool postscript_character(char c) {
  constexpr std::string_view kReserved = "[](){}<>/%";
  return c > ' ' && c < '\x7F' && kReserved.find(c) == std::string_view::npos;
}

}  // namespace

SfntNames sfnt_names(const FontModel& font) {
  std::string_view family = font_name(font);
  std::string_view weight;
  std::string_view slant;
  UnicodeFontFigures figures;
  if (font.uses_list()) figures = font.unicode_figures();
  for (const FontProperty& property :
       font_properties(font, font.uses_list() ? &figures : nullptr)) {
    if (!property.is_string) continue;
    if (property.name == "FAMILY_NAME") family = property.text;
    if (property.name == "WEIGHT_NAME") weight = property.text;
    if (property.name == "SLANT") slant = property.text;
  }

  SfntNames names;
  names.family = std::string(family);
  if (!plain_weight(weight)) names.style = std::string(weight);
  names.bold = weight == "Bold";
  const std::string_view slanted = slant_style(slant);
  names.italic = !slanted.empty();
  if (!slanted.empty()) {
    if (!names.style.empty()) names.style += ' ';
    names.style.append(slanted);
  }
  if (names.style.empty()) names.style = "Regular";

  // A family of no printable ASCII (all CJK, say) still needs a name here.
  const auto keep = [&names](std::string_view text) {
    for (const char c : text) {
      if (postscript_character(c) && names.postscript.size() < kMostPostScriptName) {
        names.postscript += c;
      }
    }
  };
  keep(names.family);
  if (names.postscript.empty()) names.postscript = "Unnamed";
  keep("-");
  keep(names.style);
  return names;
}

}  // namespace vellicor
