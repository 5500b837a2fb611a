// Choosing the glyphs a drawing holds and the way their codes come back.
#include "engine/draw/drawn_glyphs.hpp"

#include <algorithm>
#include <unordered_set>

#include "engine/core/limits.hpp"

namespace vellicor {

namespace {

constexpr std::int64_t kMostCodePoint = 0x10FFFF;
constexpr std::int64_t kFirstSurrogate = 0xD800;
constexpr std::int64_t kLastSurrogate = 0xDFFF;
constexpr std::int64_t kMostFirstCode = 65535;  // the largest -v

bool is_scalar_value(std::int64_t code) {
  return code >= 0 && code <= kMostCodePoint && (code < kFirstSurrogate || code > kLastSurrogate);
}

std::string glyphs_counted(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " glyph" : " glyphs");
}

}  // namespace

bool has_ink(const LoadedGlyph& glyph) {
  return std::any_of(glyph.lines.begin(), glyph.lines.end(),
                     [](std::uint8_t byte) { return byte != 0; });
}

bool codes_count_up(const LoadedFont& font, const std::vector<std::size_t>& indices) {
  if (indices.empty()) return false;
  const std::int64_t first = font.glyphs[indices.front()].code;
  if (first < 0 || first > kMostFirstCode) return false;
  for (std::size_t place = 0; place < indices.size(); ++place) {
    if (font.glyphs[indices[place]].code != first + static_cast<std::int64_t>(place)) return false;
  }
  return true;
}

bool states_character_cell(const LoadedFont& font) {
  return std::any_of(font.properties.begin(), font.properties.end(), [](const auto& property) {
    return property.first == "SPACING" && (property.second == "C" || property.second == "\"C\"");
  });
}

std::vector<std::size_t> glyphs_with_code(const LoadedFont& font) {
  std::vector<std::size_t> indices;
  indices.reserve(font.glyphs.size());
  for (std::size_t index = 0; index < font.glyphs.size(); ++index) {
    if (font.glyphs[index].code >= 0) indices.push_back(index);
  }
  return indices;
}

void settle_drawn_glyphs(const LoadedFont& font, bool marks, bool blank_last_cells_lost,
                         DrawnGlyphs& drawn, std::vector<std::string>& lost) {
  const std::size_t without_code =
      font.glyphs.size() - glyphs_with_code(font).size() + font.glyphs_without_code;
  if (without_code != 0) {
    lost.push_back(glyphs_counted(without_code) + " without a code: a sheet names glyphs by code.");
  }
  std::vector<std::size_t> indices = glyphs_with_code(font);
  if (marks) {
    const auto first_flat =
        std::remove_if(indices.begin(), indices.end(),
                       [&font](std::size_t index) { return font.glyphs[index].advance <= 0; });
    const auto flat = static_cast<std::size_t>(indices.end() - first_flat);
    indices.erase(first_flat, indices.end());
    if (flat != 0) {
      lost.push_back(glyphs_counted(flat) +
                     " advancing 0 pixels or less: a marked strip marks every glyph's advance.");
    }
  }
  drawn = DrawnGlyphs{};
  const bool blank_last = !indices.empty() && !has_ink(font.glyphs[indices.back()]);
  drawn.uses_list =
      font.unicode || !codes_count_up(font, indices) || (blank_last_cells_lost && blank_last);
  if (!drawn.uses_list) {
    drawn.first_code =
        indices.empty() ? 0 : static_cast<std::uint32_t>(font.glyphs[indices[0]].code);
    drawn.indices = std::move(indices);
    return;
  }
  if (!font.unicode) lost.push_back("The codes are read back as Unicode code points.");
  std::unordered_set<std::int64_t> seen;
  std::size_t unnamed = 0;
  std::size_t repeated = 0;
  for (const std::size_t index : indices) {
    const std::int64_t code = font.glyphs[index].code;
    if (!is_scalar_value(code)) {
      ++unnamed;
    } else if (!seen.insert(code).second) {
      ++repeated;
    } else {
      drawn.indices.push_back(index);
    }
  }
  if (unnamed != 0) {
    lost.push_back(glyphs_counted(unnamed) +
                   " whose code is no Unicode character: a character list cannot name them.");
  }
  if (repeated != 0) {
    lost.push_back(glyphs_counted(repeated) +
                   " repeating an earlier glyph's code: a character list names each code once.");
  }
}

}  // namespace vellicor
