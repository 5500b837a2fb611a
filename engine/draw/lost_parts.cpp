// Naming what a drawing loses of its font.
#include "engine/draw/lost_parts.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/font/glyph_record.hpp"

namespace vellicor {

namespace {

// The properties a conversion writes: the first two always, the others
// with a character list.
constexpr std::array<std::string_view, 14> kWrittenProperties = {
    "FONT_DESCENT", "FONT_ASCENT", "PIXEL_SIZE",    "POINT_SIZE",       "RESOLUTION_X",
    "RESOLUTION_Y", "SPACING",     "AVERAGE_WIDTH", "CHARSET_REGISTRY", "CHARSET_ENCODING",
    "FAMILY_NAME",  "WEIGHT_NAME", "SLANT",         "DEFAULT_CHAR"};

constexpr std::int64_t kScalableUnitsPerEm = 1000;

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

void note_properties(const LoadedFont& font, std::vector<std::string>& lost) {
  std::string names;
  std::size_t count = 0;
  for (const auto& [name, value] : font.properties) {
    if (std::find(kWrittenProperties.begin(), kWrittenProperties.end(), name) !=
        kWrittenProperties.end()) {
      continue;
    }
    names += (count++ == 0 ? "" : ", ") + name;
  }
  if (count != 0) {
    lost.push_back(counted(count, "property", "properties") +
                   " the conversion does not write: " + names + ".");
  }
}

}  // namespace

void note_lost_parts(const LoadedFont& font, const std::vector<std::size_t>& indices,
                     bool uses_list, std::int64_t box_height, std::vector<std::string>& lost) {
  std::size_t renamed = 0;
  std::size_t rescaled = 0;
  for (const std::size_t index : indices) {
    const LoadedGlyph& glyph = font.glyphs[index];
    if (!glyph.name.empty() &&
        glyph.name != glyph_name(static_cast<std::uint64_t>(glyph.code), uses_list)) {
      ++renamed;
    }
    const std::int64_t scalable =
        box_height > 0
            ? (std::int64_t{glyph.advance} * kScalableUnitsPerEm + box_height / 2) / box_height
            : 0;
    if (glyph.scalable_width >= 0 && glyph.scalable_width != scalable) ++rescaled;
  }
  if (renamed != 0) {
    lost.push_back(counted(renamed, "glyph name", "glyph names") +
                   (uses_list ? " other than uniXXXX or uXXXXX" : " other than charNNNN") +
                   ": the conversion names glyphs by their codes.");
  }
  note_properties(font, lost);
  if (font.sizes > 1) {
    lost.push_back(counted(font.sizes - 1, "further size", "further sizes") +
                   ": only the first size is drawn.");
  }
  if (rescaled != 0) {
    lost.push_back(counted(rescaled, "scalable width (SWIDTH)", "scalable widths (SWIDTH)") +
                   " other than the conversion computes from the advance and the font's height.");
  }
}

}  // namespace vellicor
