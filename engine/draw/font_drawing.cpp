// Draws a LoadedFont into a picture the extended conversion reads back.
#include "engine/draw/font_drawing.hpp"

#include <algorithm>
#include <string>

#include "engine/draw/draw_grid.hpp"
#include "engine/draw/draw_marks.hpp"
#include "engine/draw/drawn_glyphs.hpp"
#include "engine/draw/drawn_list.hpp"
#include "engine/draw/glyph_extent.hpp"
#include "engine/draw/lost_parts.hpp"
#include "engine/draw/sheet_plan.hpp"
#include "engine/fontfile/font_file_reader.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor {

namespace {

// The largest -d the conversion takes.
constexpr std::int64_t kMostDescentOption = 255;

// Whether every glyph's bits are as large as its box says, within the
// readers' bounds.
bool glyphs_whole(const LoadedFont& font) {
  return std::all_of(font.glyphs.begin(), font.glyphs.end(), [](const LoadedGlyph& glyph) {
    return glyph.width <= kMaxDrawnGlyphSide && glyph.height <= kMaxDrawnGlyphSide &&
           glyph.lines.size() == glyph.stride() * glyph.height;
  });
}

std::vector<GlyphExtent> extents_of(const LoadedFont& font,
                                    const std::vector<std::size_t>& indices) {
  std::vector<GlyphExtent> extents;
  extents.reserve(indices.size());
  for (const std::size_t index : indices) extents.push_back(glyph_extent(font.glyphs[index]));
  return extents;
}

std::vector<std::int32_t> advances_of(const LoadedFont& font,
                                      const std::vector<std::size_t>& indices) {
  std::vector<std::int32_t> advances;
  advances.reserve(indices.size());
  for (const std::size_t index : indices) advances.push_back(font.glyphs[index].advance);
  return advances;
}

// Whether the font states SPACING "C": the conversion writes it back for
// -w when every advance is the font's width.
bool states_character_cell(const LoadedFont& font) {
  return std::any_of(font.properties.begin(), font.properties.end(), [](const auto& property) {
    return property.first == "SPACING" && (property.second == "C" || property.second == "\"C\"");
  });
}

std::vector<std::string> conversion_options(const LoadedFont& font, const SheetPlan& plan,
                                            const DrawnGlyphs& drawn) {
  std::vector<std::string> options;
  if (!drawn.uses_list && drawn.first_code != 0) {
    options.insert(options.end(), {"-v", std::to_string(drawn.first_code)});
  }
  if (plan.descent != 0) options.insert(options.end(), {"-d", std::to_string(plan.descent)});
  if (drawn.uses_list && states_character_cell(font)) options.emplace_back("-w");
  if (plan.layout == DrawLayout::kGrid) {
    const std::string cell =
        std::to_string(plan.cell_width) + "x" + std::to_string(plan.ascent + plan.descent);
    const std::string line = std::to_string(kGridLinePx);
    options.insert(options.end(), {"--grid", cell, "--grid-origin", line + "," + line, "--grid-gap",
                                   line + "," + line});
  } else {
    options.emplace_back("--marks");
    if (plan.bands > 1) options.insert(options.end(), {"--rows", std::to_string(plan.bands)});
  }
  options.insert(options.end(), {"--ink", "dark"});
  return options;
}

}  // namespace

ResultCode draw_font(const LoadedFont& font, const DrawRequest& request, FontDrawing& drawing,
                     ErrorDetail* detail) {
  if (font.glyphs.size() > kMaxDrawnGlyphs) {
    return fail(detail, ErrorDetail::kTooManyGlyphs, ResultCode::kUnusableInput);
  }
  if (!glyphs_whole(font)) {
    return fail(detail, ErrorDetail::kFontDamaged, ResultCode::kUnusableInput);
  }
  const std::vector<std::size_t> coded = glyphs_with_code(font);
  if (coded.empty()) return fail(detail, ErrorDetail::kFontNoGlyph, ResultCode::kUnusableInput);

  // The layout follows from every glyph with a code, blank ones included.
  SheetPlan plan;
  frame_extents(font.ascent, font.descent, extents_of(font, coded), plan.ascent, plan.descent);
  const bool grid_fits =
      fits_grid(advances_of(font, coded), extents_of(font, coded), plan.ascent, plan.descent);
  if (request.layout == DrawLayout::kGrid && !grid_fits) {
    return fail(detail, ErrorDetail::kLayoutSettings, ResultCode::kBadArgument);
  }
  const bool grid =
      request.layout == DrawLayout::kGrid || (request.layout == DrawLayout::kAuto && grid_fits);
  plan.layout = grid ? DrawLayout::kGrid : DrawLayout::kMarks;

  FontDrawing made;
  made.layout = plan.layout;
  DrawnGlyphs drawn;
  settle_drawn_glyphs(font, !grid, grid, drawn, made.lost);
  const std::vector<GlyphExtent> extents = extents_of(font, drawn.indices);
  const bool any_ink = std::any_of(extents.begin(), extents.end(),
                                   [](const GlyphExtent& extent) { return extent.has_ink; });
  if (!any_ink) return fail(detail, ErrorDetail::kFontNoGlyph, ResultCode::kUnusableInput);
  if (drawn.indices.size() > kMostSheetGlyphs) {
    return fail(detail, ErrorDetail::kTooManyGlyphs, ResultCode::kUnusableInput);
  }
  frame_extents(font.ascent, font.descent, extents, plan.ascent, plan.descent);
  if (plan.descent > kMostDescentOption) {
    return fail(detail, ErrorDetail::kLayoutSettings, ResultCode::kBadArgument);
  }
  const std::vector<std::int32_t> advances = advances_of(font, drawn.indices);
  const ResultCode planned = plan_sheet(advances, extents, request.columns, plan, detail);
  if (failed(planned)) return planned;

  if (grid) {
    draw_grid(font, drawn.indices, plan, made.picture);
  } else {
    draw_marks(font, drawn.indices, plan, made.picture);
  }
  if (drawn.uses_list) {
    std::vector<std::uint32_t> code_points;
    code_points.reserve(drawn.indices.size());
    for (const std::size_t index : drawn.indices) {
      code_points.push_back(static_cast<std::uint32_t>(font.glyphs[index].code));
    }
    made.list_text = drawn_list_text(code_points, plan.columns);
  }
  made.options = conversion_options(font, plan, drawn);
  note_lost_parts(font, drawn.indices, drawn.uses_list, plan.ascent + plan.descent, made.lost);
  drawing = std::move(made);
  return ResultCode::kOk;
}

}  // namespace vellicor
