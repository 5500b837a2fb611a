// Cutting the picture once into spans and pairing them with the list.
#include "engine/font/font_plan.hpp"

#include <algorithm>

namespace vellicor {

namespace {

class SpanCollector final : public GlyphSink {
 public:
  explicit SpanCollector(std::vector<GlyphSpan>& spans) : spans_(spans) {}
  ResultCode on_glyph(const GlyphSpan& glyph) override {
    spans_.push_back(glyph);
    return ResultCode::kOk;
  }

 private:
  std::vector<GlyphSpan>& spans_;
};

std::uint32_t glyph_advance(const ConversionOptions& options, const FontMeasure& measure,
                            const GlyphSpan& span) {
  const std::uint32_t sides = std::uint32_t{options.leading_blank} + options.trailing_blank;
  return (options.fixed_width != 0 ? measure.widest : span.width) + sides;
}

// The lower median of the cut glyphs' advances: a blank as wide as a typical
// letter, never one of a few very wide glyphs.
std::uint32_t median_advance(const ConversionOptions& options, const FontMeasure& measure,
                             const std::vector<GlyphSpan>& spans) {
  std::vector<std::uint32_t> advances;
  advances.reserve(spans.size());
  for (const GlyphSpan& span : spans) advances.push_back(glyph_advance(options, measure, span));
  const auto middle = advances.begin() + static_cast<std::ptrdiff_t>((advances.size() - 1) / 2);
  std::nth_element(advances.begin(), middle, advances.end());
  return *middle;
}

PlannedGlyph cut_glyph(const ConversionOptions& options, const FontMeasure& measure,
                       const GlyphSpan& span) {
  PlannedGlyph glyph;
  glyph.span = span;
  glyph.code = std::uint64_t{options.first_glyph} + span.number - 1;
  glyph.advance = glyph_advance(options, measure, span);
  return glyph;
}

}  // namespace

ResultCode plan_font(const PictureView& picture, const ConversionOptions& options,
                     const CharacterList* list, std::uint32_t blank_advance, FontPlan& plan,
                     ErrorDetail* detail) {
  plan = FontPlan{};
  std::vector<GlyphSpan> spans;
  SpanCollector collector(spans);
  const ResultCode result =
      cut_glyphs(picture, options.allowed_blank_columns, collector, plan.measure);
  if (failed(result)) return fail(detail, ErrorDetail::kNoGlyph, result);
  plan.glyphs_cut = static_cast<std::uint32_t>(spans.size());
  if (spans.empty()) return fail(detail, ErrorDetail::kNoGlyph, ResultCode::kNoGlyph);

  plan.uses_list = list != nullptr;
  if (list == nullptr) {
    for (const GlyphSpan& span : spans)
      plan.glyphs.push_back(cut_glyph(options, plan.measure, span));
    plan.measure.glyph_count = static_cast<std::uint32_t>(plan.glyphs.size());
    return ResultCode::kOk;
  }

  plan.blank_advance =
      blank_advance != 0 ? blank_advance : median_advance(options, plan.measure, spans);
  std::size_t next_span = 0;
  for (const ListedCharacter& character : list->characters) {
    PlannedGlyph glyph;
    if (character.is_blank) {
      glyph.advance = plan.blank_advance;
      glyph.is_blank = true;
    } else {
      if (next_span == spans.size()) break;  // the list names more than were cut
      glyph = cut_glyph(options, plan.measure, spans[next_span++]);
    }
    glyph.code = character.code_point;
    glyph.character = &character;
    plan.glyphs.push_back(glyph);
  }
  // Glyphs the list has no character for still show in a listing.
  for (; next_span < spans.size(); ++next_span) {
    PlannedGlyph glyph = cut_glyph(options, plan.measure, spans[next_span]);
    glyph.code = 0;
    plan.glyphs.push_back(glyph);
  }
  plan.measure.glyph_count = static_cast<std::uint32_t>(plan.glyphs.size());
  if (list->inked_count != plan.glyphs_cut) {
    return fail(detail, ErrorDetail::kCharsCount, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
