// One cut: a converter, its cut callback collecting every glyph, the release.
#include "dialog/converter_glyph_source.hpp"

#include "vellicor/internal/converter_factory.hpp"

namespace vellicor::dialog {
namespace {

struct Collection {
  std::vector<GlyphBox> glyphs;
  bool out_of_memory = false;
};

GlyphBox box_of(const GlyphInfo& glyph) {
  GlyphBox box;
  box.index = glyph.index;
  box.code = glyph.code;
  box.first_column = glyph.first_column;
  box.width = glyph.width;
  box.advance = glyph.advance;
  box.top = glyph.top;
  box.bottom = glyph.bottom;
  box.is_blank = glyph.is_blank != 0;
  if (glyph.character != nullptr) box.character = QString::fromUtf8(glyph.character);
  // Past the end of a list that is too short the cut reports glyphs with
  // code 0 and no character: they belong to no character of the font.
  box.unpaired = glyph.unpaired != 0;
  return box;
}

// No exception may cross the engine's C boundary: running out of memory stops
// the cut and is reported as such.
int32_t VELLICOR_CALL collect_glyph(void* context, const GlyphInfo* glyph) noexcept {
  auto& collection = *static_cast<Collection*>(context);
  // A character past the picture's glyphs has nothing to draw.
  if (glyph->unpaired != 0 && glyph->character != nullptr) return 0;
  try {
    collection.glyphs.push_back(box_of(*glyph));
  } catch (...) {
    collection.out_of_memory = true;
    return 1;
  }
  return 0;
}

}  // namespace

ConverterGlyphSource::ConverterGlyphSource() : factory_(&create_converter_ex) {}

CutOutcome ConverterGlyphSource::cut(const CutRequest& request) const {
  CutOutcome outcome;
  outcome.report.size = sizeof outcome.report;
  ConverterEx* converter = nullptr;
  outcome.result = factory_(0, &converter);
  if (failed(outcome.result) || converter == nullptr) {
    if (succeeded(outcome.result)) outcome.result = ResultCode::kOutOfMemory;
    if (outcome.result == ResultCode::kOutOfMemory) outcome.detail = VELLICOR_DETAIL_OUT_OF_MEMORY;
    return outcome;
  }
  ConversionSettings settings{};
  settings.size = sizeof settings;
  settings.chars = request.chars ? request.chars->c_str() : nullptr;
  settings.blank_advance = request.blank_advance;
  settings.ink_rule = request.ink_rule;
  const SheetSettings& sheet = request.sheet;
  settings.layout = sheet.layout;
  settings.rows = sheet.rows;
  settings.cell_width = sheet.cell_width;
  settings.cell_height = sheet.cell_height;
  settings.grid_origin_x = sheet.origin_x;
  settings.grid_origin_y = sheet.origin_y;
  settings.grid_gap_x = sheet.gap_x;
  settings.grid_gap_y = sheet.gap_y;
  settings.proportional = sheet.proportional ? 1 : 0;
  settings.charset = sheet.charset;
  Collection collection;
  outcome.result = static_cast<ResultCode>(
      converter->ops->cut(converter, request.input_path.c_str(), &request.options, &settings,
                          &collect_glyph, &collection, &outcome.report, &outcome.detail));
  converter->ops->release(converter);
  if (collection.out_of_memory) {
    outcome.result = ResultCode::kOutOfMemory;
    outcome.detail = VELLICOR_DETAIL_OUT_OF_MEMORY;
    collection.glyphs.clear();
  }
  outcome.glyphs = std::move(collection.glyphs);
  return outcome;
}

}  // namespace vellicor::dialog
