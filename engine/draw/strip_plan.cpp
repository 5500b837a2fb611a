// Recognising a font a strip was converted into, and drawing that strip.
#include "engine/draw/strip_plan.hpp"

#include <algorithm>

#include "engine/draw/drawn_glyphs.hpp"
#include "engine/draw/glyph_extent.hpp"
#include "engine/draw/lost_parts.hpp"
#include "engine/draw/paint_glyph.hpp"
#include "engine/draw/sheet_plan.hpp"
#include "engine/font/character_list.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kMostOptionValue = 255;  // -l, -r, -u, -b, -a, -d
constexpr std::uint32_t kStripMarginPx = 1;      // blank columns before the first glyph

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

// Whether the ink on record line first_line of every glyph (the picture's
// row 0 in a margin strip) has more ink below it in its column: a column
// inked in row 0 alone is blank to the plain conversion's cutter.
bool row_zero_ink_kept(const LoadedFont& font, const std::vector<std::size_t>& indices,
                       std::uint32_t first_line) {
  for (const std::size_t index : indices) {
    const LoadedGlyph& glyph = font.glyphs[index];
    if (first_line >= glyph.height) continue;
    for (std::uint32_t column = 0; column < glyph.width; ++column) {
      if (!glyph.ink(column, first_line)) continue;
      bool below = false;
      for (std::uint32_t row = first_line + 1; row < glyph.height && !below; ++row) {
        below = glyph.ink(column, row);
      }
      if (!below) return false;
    }
  }
  return true;
}

// Whether glyph's SWIDTH, where it has one, is the one rule gives.
bool fits_rule(const LoadedGlyph& glyph, const ScalableWidthRule& rule) {
  return glyph.scalable_width < 0 || glyph.scalable_width == rule.scalable_width(glyph.advance);
}

// The most rows any one column of a glyph's ink spans, from its first ink
// row to its last: the plain conversion's box is the tallest of these.
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
    if (first <= last) tallest = std::max(tallest, last - first + 1);
  }
  return tallest;
}

// The lower median of the inked glyphs' advances: the blank advance a cut
// strip takes when none is given.
std::uint32_t median_advance(std::vector<std::uint32_t> advances) {
  const auto middle = advances.begin() + static_cast<std::ptrdiff_t>((advances.size() - 1) / 2);
  std::nth_element(advances.begin(), middle, advances.end());
  return *middle;
}

// Every record starts on the box's top line. Framed by the ink, every
// record is as tall as the box; in the margin strip a glyph whose ink reaches
// below the box grows downward, so the box is the shortest record.
struct RecordHeights {
  std::int64_t shortest = 0;
  std::int64_t tallest = 0;
};

RecordHeights record_heights(const LoadedFont& font, const std::vector<std::size_t>& indices) {
  RecordHeights heights{-1, 0};
  for (const std::size_t index : indices) {
    const LoadedGlyph& glyph = font.glyphs[index];
    if (!has_ink(glyph)) continue;
    const std::int64_t height = glyph.height;
    heights.shortest = heights.shortest < 0 ? height : std::min(heights.shortest, height);
    heights.tallest = std::max(heights.tallest, height);
  }
  return heights;
}

std::uint32_t widest_ink(const LoadedFont& font, const std::vector<std::size_t>& indices) {
  std::uint32_t widest = 0;
  for (const std::size_t index : indices) {
    const GlyphExtent ink = glyph_extent(font.glyphs[index]);
    if (!ink.has_ink) continue;
    widest = std::max(widest, static_cast<std::uint32_t>(ink.right - ink.left));
  }
  return widest;
}

}  // namespace

bool strip_made(const LoadedFont& font, const std::vector<std::size_t>& indices, bool uses_list,
                StripFigures& figures) {
  if (font.ascent <= 0 || font.descent < 0 ||
      static_cast<std::uint32_t>(font.descent) > kMostOptionValue) {
    return false;
  }
  // FONT_ASCENT and FONT_DESCENT fill the box: framed by the ink, every
  // record is that tall; in the margin strip the tallest ink column is, and
  // the records add the -u and -b lines.
  const std::int64_t height = std::int64_t{font.ascent} + font.descent;
  const RecordHeights heights = record_heights(font, indices);
  const std::int64_t record_height = heights.shortest;
  if (record_height <= 0) return false;
  StripFigures found;
  found.descent = static_cast<std::uint32_t>(font.descent);
  found.upper = static_cast<std::uint32_t>(record_height);
  found.lower = static_cast<std::uint32_t>(record_height);
  std::uint32_t tallest = 0;
  std::vector<std::uint32_t> inked_advances;
  bool first_inked = true;
  std::uint32_t most_trailing = 0;
  for (const std::size_t index : indices) {
    const LoadedGlyph& glyph = font.glyphs[index];
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
    const std::int64_t grown = std::int64_t{glyph.height} - record_height;
    if (blank_code || glyph.x_offset != 0 || glyph.y_offset != -(font.descent + grown) ||
        glyph.advance < 1 || glyph.width != static_cast<std::uint32_t>(glyph.advance)) {
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
    tallest = std::max(tallest, tallest_column(glyph));
    inked_advances.push_back(glyph.width);
  }
  if (inked_advances.empty()) return false;
  // Framed by the ink unless the scalable widths say the plain conversion's
  // margin strip, where the box is the tallest ink column and the records
  // hold the -u and -b lines beside it.
  found.widest_ink = widest_ink(font, indices);
  const auto fits_all = [&font, &indices](auto&& fits) {
    return std::all_of(indices.begin(), indices.end(),
                       [&font, &fits](std::size_t index) { return fits(font.glyphs[index]); });
  };
  const std::int64_t font_width = std::int64_t{found.widest_ink} + found.leading + found.trailing;
  const ScalableWidthRule by_ink{height, 0};
  const ScalableWidthRule margin{height, font_width};
  if (record_height == height && heights.tallest == height &&
      fits_all([&by_ink](const LoadedGlyph& glyph) { return fits_rule(glyph, by_ink); })) {
    found.margin_framed = false;
  } else if (!uses_list && tallest == height && record_height >= height &&
             fits_all([&margin](const LoadedGlyph& glyph) { return fits_rule(glyph, margin); })) {
    found.margin_framed = true;
  } else {
    return false;
  }
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
  if (found.margin_framed) {
    // A record grown below the box ends with exactly -b blank lines, so -b is
    // the fewest lower blank lines of any record. A glyph inked in the
    // picture's row 0 starts one line higher than the others, as that row
    // lies above the box: its record has one upper blank line fewer than -u.
    const auto blank_lines = static_cast<std::uint32_t>(record_height - height);
    found.lower = std::min(found.lower, blank_lines);
    const std::uint32_t upper = blank_lines - found.lower;
    if (upper > found.upper + 1) return false;
    if (upper == found.upper + 1 && !row_zero_ink_kept(font, indices, found.upper)) return false;
    found.upper = upper;
  }
  found.box_height = static_cast<std::uint32_t>(record_height);
  found.ink_rows = static_cast<std::uint32_t>(heights.tallest) - found.upper - found.lower;
  found.blank_advance_given =
      found.blank_advance != 0 && found.blank_advance != median_advance(inked_advances);
  figures = found;
  return true;
}

bool draw_strip(const LoadedFont& font, const std::vector<std::size_t>& indices,
                const StripFigures& figures, DrawnPicture& picture) {
  const std::uint32_t after = figures.allowed_gap + 1;
  std::uint64_t width = kStripMarginPx;
  for (const std::size_t index : indices) {
    const GlyphExtent ink = glyph_extent(font.glyphs[index]);
    if (ink.has_ink) width += static_cast<std::uint64_t>(ink.right - ink.left) + after;
  }
  // The plain conversion never reads ink in row 0 as a glyph's: its strip
  // starts in row 1.
  const std::uint32_t top_margin = figures.margin_framed ? 1 : 0;
  const std::uint64_t height = std::uint64_t{figures.ink_rows} + top_margin;
  if (!readers_take_picture(width, height)) return false;
  fill_picture(picture, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
               kDrawnPaper);
  picture.two_colours = true;
  // A record's top line lies upper lines above the strip's first row.
  std::int64_t left = kStripMarginPx;
  const std::int64_t first_above_baseline =
      std::int64_t{figures.box_height} - figures.upper - figures.descent - 1 + top_margin;
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
  // The margin strip is the plain conversion's, which no long option may
  // reach; a strip framed by its ink needs the extended one.
  if (!figures.margin_framed) options.insert(options.end(), {"--ink", "black"});
  return options;
}

}  // namespace vellicor
