// Recognising a font a strip was converted into, and drawing that strip.
#include "engine/draw/strip_plan.hpp"

#include <algorithm>

#include "engine/core/limits.hpp"
#include "engine/draw/drawn_glyphs.hpp"
#include "engine/draw/glyph_extent.hpp"
#include "engine/draw/paint_glyph.hpp"
#include "engine/draw/sheet_plan.hpp"
#include "engine/font/character_list.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kMostOptionValue = 255;  // -l, -r, -u, -b, -a, -d
constexpr std::int64_t kScalableUnitsPerEm = 1000;
constexpr std::uint32_t kStripMarginPx = 1;  // blank columns before the first glyph

// The blank margins of an inked record and the blank runs inside its ink.
struct RecordMargins {
  std::uint32_t leading = 0, trailing = 0, upper = 0, lower = 0;
  std::uint32_t gaps = 0;        // blank runs between the first and last ink column
  std::uint32_t widest_gap = 0;  // the widest of them
};

bool column_has_ink(const LoadedGlyph& glyph, std::uint32_t column) {
  for (std::uint32_t row = 0; row < glyph.height; ++row) {
    if (glyph.ink(column, row)) return true;
  }
  return false;
}

bool row_has_ink(const LoadedGlyph& glyph, std::uint32_t row) {
  for (std::uint32_t column = 0; column < glyph.width; ++column) {
    if (glyph.ink(column, row)) return true;
  }
  return false;
}

// The margins of a glyph with ink.
RecordMargins margins_of(const LoadedGlyph& glyph) {
  RecordMargins margins;
  std::uint32_t first = glyph.width;
  std::uint32_t last = 0;
  std::uint32_t run = 0;
  for (std::uint32_t column = 0; column < glyph.width; ++column) {
    if (!column_has_ink(glyph, column)) {
      ++run;
      continue;
    }
    if (first == glyph.width) {
      first = column;
    } else if (run != 0) {
      ++margins.gaps;
      margins.widest_gap = std::max(margins.widest_gap, run);
    }
    run = 0;
    last = column;
  }
  margins.leading = first;
  margins.trailing = glyph.width - 1 - last;
  std::uint32_t top = 0;
  while (!row_has_ink(glyph, top)) ++top;
  std::uint32_t bottom = glyph.height - 1;
  while (!row_has_ink(glyph, bottom)) --bottom;
  margins.upper = top;
  margins.lower = glyph.height - 1 - bottom;
  return margins;
}

bool has_ink(const LoadedGlyph& glyph) {
  return std::any_of(glyph.lines.begin(), glyph.lines.end(),
                     [](std::uint8_t byte) { return byte != 0; });
}

// SWIDTH as a strip framed by its ink gives it: thousandths of the height.
bool scalable_width_fits(const LoadedGlyph& glyph, std::int64_t height) {
  const std::int64_t computed = (glyph.advance * kScalableUnitsPerEm + height / 2) / height;
  return glyph.scalable_width < 0 || glyph.scalable_width == computed;
}

// SWIDTH as the plain conversion gives it: the advance over the font's width
// as a point size at the BDF resolution, truncated.
bool plain_scalable_width_fits(const LoadedGlyph& glyph, std::uint64_t font_width) {
  if (glyph.advance < 0 || font_width == 0) return false;
  const std::uint64_t computed = static_cast<std::uint64_t>(glyph.advance) *
                                 kBdfScalableUnitsPerPoint / (font_width * kBdfResolutionDpi);
  return glyph.scalable_width < 0 || static_cast<std::uint64_t>(glyph.scalable_width) == computed;
}

// Whether font's header is the plain conversion's: FONT_DESCENT and
// FONT_ASCENT and nothing else, codes without a list.
bool plain_header(const LoadedFont& font) {
  if (font.unicode || font.properties.size() != 2) return false;
  for (const auto& property : font.properties) {
    if (property.first != "FONT_DESCENT" && property.first != "FONT_ASCENT") return false;
  }
  return font.properties[0].first != font.properties[1].first;
}

// The tallest ink column of a glyph: the most lines from a column's first
// ink to its last.
std::uint32_t tallest_column(const LoadedGlyph& glyph) {
  std::uint32_t tallest = 0;
  for (std::uint32_t column = 0; column < glyph.width; ++column) {
    std::uint32_t first = glyph.height;
    std::uint32_t last = 0;
    for (std::uint32_t row = 0; row < glyph.height; ++row) {
      if (!glyph.ink(column, row)) continue;
      first = std::min(first, row);
      last = row;
    }
    if (first < glyph.height) tallest = std::max(tallest, last - first + 1);
  }
  return tallest;
}

// The plain conversion's strip for a font whose header says it made it: the
// records as tall as the tallest ink column and the blank lines, each ink
// line where the strip's rows put it (row 1 is the box's first line below the
// upper blank lines), SWIDTH by the font's width. figures holds what the
// records' margins gave; false when the records are not such a strip's.
bool plain_strip_made(const LoadedFont& font, const std::vector<std::size_t>& indices,
                      StripFigures& figures) {
  const std::int64_t tallest = std::int64_t{font.ascent} + font.descent;
  if (tallest <= 0 || font.descent < 0) return false;
  std::uint64_t font_width = 0;
  std::int64_t height = -1;
  std::uint32_t most_column = 0;
  for (const std::size_t index : indices) {
    const LoadedGlyph& glyph = font.glyphs[index];
    if (!has_ink(glyph)) return false;  // the plain conversion writes no blank glyph
    if (height < 0) height = glyph.height;
    if (glyph.height != height || glyph.x_offset != 0 || glyph.y_offset != -font.descent ||
        glyph.advance < 1 || glyph.width != static_cast<std::uint32_t>(glyph.advance)) {
      return false;
    }
    font_width = std::max<std::uint64_t>(font_width, glyph.width);
    most_column = std::max(most_column, tallest_column(glyph));
  }
  if (height < tallest || most_column != tallest) return false;
  for (const std::size_t index : indices) {
    if (!plain_scalable_width_fits(font.glyphs[index], font_width)) return false;
  }
  // Blank lines: -u and -b share what the records hold beyond the tallest
  // column; the strip is drawn so that -u lines lie above its row 1.
  const auto extra = static_cast<std::uint32_t>(height - tallest);
  figures.plain = true;
  figures.tallest = static_cast<std::uint32_t>(tallest);
  figures.height = static_cast<std::uint32_t>(height);
  figures.upper = std::min(figures.upper, extra);
  figures.lower = extra - figures.upper;
  figures.blank_advance = 0;
  figures.blank_advance_given = false;
  return figures.upper <= kMostOptionValue && figures.lower <= kMostOptionValue;
}

// The lower median of the inked glyphs' advances: the blank advance a cut
// strip takes when none is given.
std::uint32_t median_advance(std::vector<std::uint32_t> advances) {
  const auto middle = advances.begin() + static_cast<std::ptrdiff_t>((advances.size() - 1) / 2);
  std::nth_element(advances.begin(), middle, advances.end());
  return *middle;
}

}  // namespace

namespace {

// strip_made for the plain conversion's strip (plain) or one framed by its
// ink.
bool strip_made_as(const LoadedFont& font, const std::vector<std::size_t>& indices, bool uses_list,
                   bool plain, StripFigures& figures) {
  if (font.ascent <= 0 || font.descent < 0 ||
      static_cast<std::uint32_t>(font.descent) > kMostOptionValue) {
    return false;
  }
  const std::int64_t height = plain && !indices.empty()
                                  ? std::int64_t{font.glyphs[indices.front()].height}
                                  : std::int64_t{font.ascent} + font.descent;
  StripFigures found;
  found.descent = static_cast<std::uint32_t>(font.descent);
  found.upper = static_cast<std::uint32_t>(height);
  found.lower = static_cast<std::uint32_t>(height);
  std::vector<std::uint32_t> inked_advances;
  bool first_inked = true;
  std::uint32_t most_trailing = 0;
  for (const std::size_t index : indices) {
    const LoadedGlyph& glyph = font.glyphs[index];
    if (!plain && !scalable_width_fits(glyph, height)) return false;
    const bool blank_code = uses_list && is_space_separator(static_cast<std::uint32_t>(glyph.code));
    if (!has_ink(glyph)) {
      // A blank character of the list: an empty record of the blank advance.
      if (!blank_code || glyph.width != 0 || glyph.height != 0 || glyph.x_offset != 0 ||
          glyph.y_offset != 0 || glyph.advance < 1 ||
          static_cast<std::uint32_t>(glyph.advance) > kMostBlankAdvance) {
        return false;
      }
      const auto advance = static_cast<std::uint32_t>(glyph.advance);
      if (found.blank_advance != 0 && found.blank_advance != advance) return false;
      found.blank_advance = advance;
      continue;
    }
    if (blank_code || glyph.x_offset != 0 || glyph.y_offset != -font.descent ||
        glyph.height != height || glyph.advance < 1 ||
        glyph.width != static_cast<std::uint32_t>(glyph.advance)) {
      return false;
    }
    const RecordMargins margins = margins_of(glyph);
    if (margins.gaps > 1) return false;  // a cut glyph holds one blank run at most
    if (first_inked) {
      found.leading = margins.leading;
      found.trailing = margins.trailing;
      first_inked = false;
    } else if (margins.leading != found.leading) {
      return false;
    }
    found.trailing = std::min(found.trailing, margins.trailing);
    most_trailing = std::max(most_trailing, margins.trailing);
    found.allowed_gap = std::max(found.allowed_gap, margins.widest_gap);
    found.upper = std::min(found.upper, margins.upper);
    found.lower = std::min(found.lower, margins.lower);
    inked_advances.push_back(glyph.width);
  }
  if (inked_advances.empty()) return false;
  // A fixed width (-w) sets every record as wide as the widest glyph with
  // its sides, the ink on the left: trailing blanks then differ.
  found.fixed_width = states_character_cell(font) || most_trailing != found.trailing;
  if (found.fixed_width && std::any_of(inked_advances.begin(), inked_advances.end(),
                                       [&inked_advances](std::uint32_t advance) {
                                         return advance != inked_advances[0];
                                       })) {
    return false;
  }
  for (const std::uint32_t value :
       {found.leading, found.trailing, found.upper, found.lower, found.allowed_gap}) {
    if (value > kMostOptionValue) return false;
  }
  if (plain) {
    if (!plain_strip_made(font, indices, found)) return false;
    figures = found;
    return true;
  }
  found.ink_rows = static_cast<std::uint32_t>(height) - found.upper - found.lower;
  found.blank_advance_given =
      found.blank_advance != 0 && found.blank_advance != median_advance(inked_advances);
  figures = found;
  return true;
}

}  // namespace

bool strip_made(const LoadedFont& font, const std::vector<std::size_t>& indices, bool uses_list,
                StripFigures& figures) {
  // A header of two properties is the plain conversion's, or an extended
  // conversion's without a list: the scalable widths tell them apart.
  if (!uses_list && plain_header(font) && strip_made_as(font, indices, false, true, figures)) {
    return true;
  }
  return strip_made_as(font, indices, uses_list, false, figures);
}

bool draw_strip(const LoadedFont& font, const std::vector<std::size_t>& indices,
                const StripFigures& figures, DrawnPicture& picture) {
  const std::uint32_t after = figures.allowed_gap + 1;
  std::uint64_t width = kStripMarginPx;
  for (const std::size_t index : indices) {
    const GlyphExtent ink = glyph_extent(font.glyphs[index]);
    if (ink.has_ink) width += static_cast<std::uint64_t>(ink.right - ink.left) + after;
  }
  // The plain strip leaves row 0 blank and puts the record's line upper on
  // row 1; the others put the records' first ink line on row 0.
  const std::uint32_t rows = figures.plain ? figures.height - figures.upper + 1 : figures.ink_rows;
  if (!readers_take_picture(width, rows)) return false;
  fill_picture(picture, static_cast<std::uint32_t>(width), rows, kDrawnPaper);
  picture.two_colours = true;
  // A record's top line lies upper lines above the strip's first row.
  std::int64_t left = kStripMarginPx;
  const std::int64_t first_above_baseline =
      figures.plain ? std::int64_t{figures.height} - figures.descent - figures.upper
                    : std::int64_t{figures.ink_rows} + figures.lower - figures.descent - 1;
  for (const std::size_t index : indices) {
    const LoadedGlyph& glyph = font.glyphs[index];
    const GlyphExtent ink = glyph_extent(glyph);
    if (!ink.has_ink) continue;
    paint_glyph(picture, glyph, left - ink.left, first_above_baseline);
    left += ink.right - ink.left + after;
  }
  return true;
}

std::vector<std::string> strip_options(const StripFigures& figures) {
  std::vector<std::string> options;
  const auto add = [&options](const char* option, std::uint32_t value) {
    if (value != 0) options.insert(options.end(), {option, std::to_string(value)});
  };
  if (figures.fixed_width) options.emplace_back("-w");
  add("-a", figures.allowed_gap);
  add("-d", figures.descent);
  add("-l", figures.leading);
  add("-r", figures.trailing);
  add("-u", figures.upper);
  add("-b", figures.lower);
  if (figures.blank_advance_given) add("--blank-advance", figures.blank_advance);
  // The plain conversion runs without a long option; any other strip needs
  // one to be framed by its ink.
  if (!figures.plain) options.insert(options.end(), {"--ink", "black"});
  return options;
}

}  // namespace vellicor
