// The tables of an sfnt font, gathered in memory and written in one go:
// the per-glyph tables hold a few bytes a glyph, EBDT and glyf as much as
// the glyphs' boxes, so the font costs memory in proportion to its ink.
#include "engine/font/sfnt/sfnt_font.hpp"

#include <utility>

#include "engine/font/sfnt/bitmap_strike.hpp"
#include "engine/font/sfnt/cmap_table.hpp"
#include "engine/font/sfnt/font_names.hpp"
#include "engine/font/sfnt/name_table.hpp"
#include "engine/font/sfnt/sfnt_file.hpp"
#include "engine/font/sfnt/sfnt_tags.hpp"

namespace vellicor {

ResultCode write_sfnt_font(OutputFile& file, const FontModel& font, const InkMap& map,
                           SfntOutlineMaker make_outlines, ErrorDetail* detail) {
  SfntPlan plan;
  SfntBytes ebdt;
  const ErrorDetail problem = plan_sfnt_font(font, map, plan, ebdt);
  if (problem != ErrorDetail::kNone) return fail(detail, problem, ResultCode::kBadArgument);
  SfntOutlines outlines;
  if (make_outlines != nullptr) {
    const ErrorDetail refusal = make_outlines(font, map, plan, outlines);
    if (refusal != ErrorDetail::kNone) {
      return fail(detail, refusal,
                  refusal == ErrorDetail::kFontTooLarge ? ResultCode::kBadArgument
                                                        : ResultCode::kUnusableInput);
    }
  } else {
    outlines.boxes = bitmap_boxes(plan);
  }
  const bool with_outlines = make_outlines != nullptr;
  const SfntNames names = sfnt_names(font);

  // In the order the OpenType specification recommends for fonts with
  // TrueType outlines; the directory lists them by tag.
  std::vector<SfntTable> tables;
  const auto add = [&tables](std::uint32_t tag, SfntBytes bytes) {
    tables.push_back(SfntTable{tag, std::move(bytes)});
  };
  add(kTagHead, make_head(plan, outlines.boxes, names, with_outlines));
  add(kTagHhea, make_hhea(plan, outlines.boxes));
  add(kTagMaxp, make_maxp(plan, with_outlines ? &outlines.figures : nullptr));
  add(kTagOs2, make_os2(plan, outlines.boxes, names));
  add(kTagHmtx, make_hmtx(plan, outlines.boxes));
  add(kTagCmap, make_cmap(plan));
  if (with_outlines) {
    add(kTagPrep, make_prep());
    add(kTagLoca, std::move(outlines.loca));
    add(kTagGlyf, std::move(outlines.glyf));
  }
  add(kTagEblc, make_eblc(plan));
  add(kTagEbdt, std::move(ebdt));
  add(kTagName, make_name(names));
  add(kTagPost, make_post(plan));
  return write_sfnt_file(file, tables, detail);
}

}  // namespace vellicor
