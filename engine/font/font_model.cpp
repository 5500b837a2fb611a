// Pairing the glyph boxes with codes, and the font-wide figures.
#include "engine/font/font_model.hpp"

#include <algorithm>
#include <vector>

namespace vellicor {

FontGlyph FontModel::boxed_glyph(const GlyphBox& box) const {
  const std::uint32_t sides = std::uint32_t{options_->leading_blank} + options_->trailing_blank;
  FontGlyph glyph;
  glyph.box = &box;
  glyph.code = std::uint64_t{options_->first_glyph} + box.number - 1;
  glyph.advance = (options_->fixed_width != 0 ? boxes_->totals.widest : box.width) + sides;
  return glyph;
}

// The lower median of the boxes' advances: a blank as wide as a typical
// letter, never one of a few very wide glyphs.
std::uint32_t FontModel::median_advance() const {
  std::vector<std::uint32_t> advances;
  advances.reserve(boxes_->boxes.size());
  for (const GlyphBox& box : boxes_->boxes) advances.push_back(boxed_glyph(box).advance);
  const auto middle = advances.begin() + static_cast<std::ptrdiff_t>((advances.size() - 1) / 2);
  std::nth_element(advances.begin(), middle, advances.end());
  return *middle;
}

ResultCode FontModel::build(const GlyphBoxes& boxes, const ConversionOptions& options,
                            const CharacterList* list, std::uint32_t blank_advance, Framing framing,
                            ErrorDetail* detail) {
  boxes_ = &boxes;
  options_ = &options;
  list_ = list;
  measure_ = boxes.totals;
  measure_.glyph_count = 0;
  blank_advance_ = 0;
  frame_ = FontFrame{};
  if (boxes.boxes.empty()) return fail(detail, ErrorDetail::kNoGlyph, ResultCode::kNoGlyph);
  frame_ = frame_font(options, measure_, framing);
  if (framing == Framing::kByInk && frame_.ascent <= 0) {
    return fail(detail, ErrorDetail::kDescentTooLarge, ResultCode::kBadArgument);
  }

  if (list != nullptr) blank_advance_ = blank_advance != 0 ? blank_advance : median_advance();
  std::uint32_t count = 0;
  for_each_glyph([&count](const FontGlyph&) {
    ++count;
    return true;
  });
  measure_.glyph_count = count;
  if (list != nullptr && list->inked_count != glyphs_cut()) {
    return fail(detail, ErrorDetail::kCharsCount, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

// The character shown for codes the font lacks: the replacement character or
// the question mark when listed, else the first character with ink.
std::uint32_t FontModel::default_character() const {
  constexpr std::uint32_t kReplacementCharacter = 0xFFFD;
  constexpr std::uint32_t kQuestionMark = 0x3F;
  bool has_replacement = false;
  bool has_question_mark = false;
  bool found_inked = false;
  std::uint64_t first_inked = 0;
  for_each_glyph([&](const FontGlyph& glyph) {
    if (glyph.code == kReplacementCharacter) {
      has_replacement = true;
      return false;
    }
    if (glyph.code == kQuestionMark) has_question_mark = true;
    if (!glyph.is_blank && !found_inked) {
      found_inked = true;
      first_inked = glyph.code;
    }
    return true;
  });
  if (has_replacement) return kReplacementCharacter;
  if (has_question_mark) return kQuestionMark;
  return static_cast<std::uint32_t>(first_inked);
}

UnicodeFontFigures FontModel::unicode_figures() const {
  const std::uint64_t font_width = frame_.width;
  // A blank glyph's box is as wide as its advance, unless it is empty.
  const bool blanks_have_boxes = !frame_.empty_blanks();
  UnicodeFontFigures figures;
  figures.bounding_width = font_width;
  std::uint64_t advances = 0;
  bool all_of_font_width = true;
  for_each_glyph([&](const FontGlyph& glyph) {
    advances += glyph.advance;
    all_of_font_width = all_of_font_width && glyph.advance == font_width;
    if (glyph.is_blank && blanks_have_boxes) {
      figures.bounding_width = std::max<std::uint64_t>(figures.bounding_width, glyph.advance);
    }
    return true;
  });
  constexpr std::uint64_t kTenths = 10;
  const std::uint64_t count = measure_.glyph_count;
  figures.average_width = count != 0 ? (advances * kTenths + count / 2) / count : 0;
  figures.default_char = default_character();
  figures.character_cell = options_->fixed_width != 0 && all_of_font_width;
  return figures;
}

}  // namespace vellicor
