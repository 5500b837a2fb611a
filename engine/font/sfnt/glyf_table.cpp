// glyf and loca, made in a second pass over the glyphs: only then are the
// units known, and one glyph's bitmap and outline are held at a time.
#include "engine/font/sfnt/glyf_table.hpp"

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/font/font_glyph_bitmap.hpp"
#include "engine/font/glyph_record.hpp"
#include "engine/font/outline_tracer.hpp"
#include "engine/font/sfnt/glyf_glyph.hpp"

namespace vellicor {

namespace {

// Records start on four bytes, as the OpenType specification recommends
// for long offsets.
void pad_record(std::vector<std::uint8_t>& glyf) {
  constexpr std::size_t kAlignment = 4;
  glyf.resize((glyf.size() + kAlignment - 1) / kAlignment * kAlignment, 0);
}

}  // namespace

ErrorDetail make_glyf_outlines(const FontModel& font, const InkMap& map, const SfntPlan& plan,
                               SfntOutlines& outlines) {
  std::vector<std::uint8_t>& glyf = outlines.glyf.bytes();
  outlines.boxes.assign(plan.glyphs.size(), SfntGlyphBox{});
  outlines.loca.u32(0);
  outlines.loca.u32(0);  // .notdef: no outline
  // Made once for all glyphs: they keep their working memory between them.
  GlyphBitmap bitmap;
  OutlineTracer tracer;
  Outline outline;
  GlyfGlyphEncoder encoder;
  std::size_t id = 1;
  ErrorDetail problem = ErrorDetail::kNone;
  font.for_each_glyph([&](const FontGlyph& font_glyph) {
    if (id == plan.glyphs.size()) return false;  // the glyphs left out
    font_glyph_bitmap(font, map, font_glyph, bitmap);
    tracer.trace(bitmap, outline);
    GlyfBounds bounds;
    if (!encoder.append(outline, plan.units_per_pixel, glyf, bounds)) {
      problem = ErrorDetail::kOutlineTooComplex;
      return false;
    }
    pad_record(glyf);
    if (glyf.size() > std::numeric_limits<std::uint32_t>::max()) {
      problem = ErrorDetail::kFontTooLarge;
      return false;
    }
    outlines.loca.u32(static_cast<std::uint32_t>(glyf.size()));
    if (bounds.contours > 0) {
      outlines.boxes[id] = {bounds.x_min, bounds.y_min, bounds.x_max, bounds.y_max, false};
    }
    outlines.figures.most_points = std::max(outlines.figures.most_points, bounds.points);
    outlines.figures.most_contours = std::max(outlines.figures.most_contours, bounds.contours);
    ++id;
    return true;
  });
  return problem;
}

}  // namespace vellicor
