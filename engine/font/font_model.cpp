// Pairing the glyph boxes with codes, and the font-wide figures.
#include "engine/font/font_model.hpp"

#include <algorithm>
#include <vector>

namespace vellicor {

FontGlyph FontModel::boxed_glyph(const GlyphBox& box) const {
  FontGlyph glyph;
  glyph.box = &box;
  glyph.code = std::uint64_t{options_->first_glyph} + box.number - 1;
  if (box.placed) {
    glyph.advance = box.advance != 0 ? box.advance : blank_advance_;
    glyph.is_blank = box.width == 0;
    return glyph;
  }
  const std::uint32_t sides = std::uint32_t{options_->leading_blank} + options_->trailing_blank;
  // The fixed width is the widest glyph of the box's band with its sides.
  glyph.advance = options_->fixed_width != 0 ? static_cast<std::uint32_t>(frame_of(box).width)
                                             : box.width + sides;
  return glyph;
}

// The lower median of the inked boxes' advances: a blank as wide as a
// typical letter, never one of a few very wide glyphs.
std::uint32_t FontModel::median_advance(std::uint32_t band) const {
  std::vector<std::uint32_t> advances;
  advances.reserve(band == kAllBands ? boxes_->boxes.size() : 0);
  for (const GlyphBox& box : boxes_->boxes) {
    if (band != kAllBands && box.band != band) continue;
    if (box.width != 0 && (!box.placed || box.advance != 0)) {
      advances.push_back(boxed_glyph(box).advance);
    }
  }
  if (advances.empty()) return 0;
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
  band_frames_.clear();
  mismatch_ = BandMismatch{};
  if (list != nullptr) mismatch_.list_lines = static_cast<std::uint32_t>(list->line_starts.size());
  if (boxes.boxes.empty() || boxes.totals.glyph_count == 0) {
    return fail(detail, ErrorDetail::kNoGlyph, ResultCode::kNoGlyph);
  }
  ResultCode result = frame_bands(framing, detail);
  if (failed(result)) return result;
  if (framing == Framing::kByInk && frame_.ascent <= 0) {
    return fail(detail, ErrorDetail::kDescentTooLarge, ResultCode::kBadArgument);
  }

  if (list != nullptr || boxes.one_per_place) {
    blank_advance_ = blank_advance != 0 ? blank_advance : median_advance();
  }
  band_blank_advances_.clear();
  if (list != nullptr && !boxes.bands.empty()) {
    for (std::uint32_t band = 0; band < boxes.bands.size(); ++band) {
      const bool own = blank_advance == 0 && boxes.bands[band].glyph_count != 0;
      band_blank_advances_.push_back(own ? median_advance(band) : blank_advance_);
    }
  }
  std::uint32_t count = 0;
  for_each_glyph([&count](const FontGlyph&) {
    ++count;
    return true;
  });
  measure_.glyph_count = count;
  if (list == nullptr) return ResultCode::kOk;
  result = check_lines(detail);
  if (failed(result)) return result;
  return check_counts(detail);
}

// The font's frame, and in a strip of bands each band's own.
ResultCode FontModel::frame_bands(Framing framing, ErrorDetail* detail) {
  const GlyphBoxes& boxes = *boxes_;
  if (boxes.one_per_place) {
    PlacedBounds bounds;
    for (const GlyphBox& box : boxes.boxes) {
      if (box.width == 0) continue;
      const std::int64_t left = box.x_offset;
      const std::int64_t bottom = box.y_offset;
      const std::int64_t right = left + box.width;
      const std::int64_t top = bottom + (box.bottom - box.top + 1);
      bounds.left = bounds.any ? std::min(bounds.left, left) : left;
      bounds.bottom = bounds.any ? std::min(bounds.bottom, bottom) : bottom;
      bounds.right = bounds.any ? std::max(bounds.right, right) : right;
      bounds.top = bounds.any ? std::max(bounds.top, top) : top;
      bounds.any = true;
    }
    frame_ = frame_placed(*options_, boxes.place_height, bounds);
    return ResultCode::kOk;
  }
  if (boxes.bands.empty()) {
    frame_ = frame_font(*options_, measure_, framing);
    return ResultCode::kOk;
  }
  std::vector<FontFrame> inked;
  band_frames_.reserve(boxes.bands.size());
  for (const StripBand& band : boxes.bands) {
    FontFrame frame = frame_font(*options_, band.totals, framing);
    frame.first_row += band.first_row;
    band_frames_.push_back(frame);
    if (band.glyph_count == 0) continue;
    inked.push_back(frame);
    if (framing == Framing::kByInk && frame.ascent <= 0) {
      frame_ = frame;  // the report names the band's height
      return fail(detail, ErrorDetail::kDescentTooLarge, ResultCode::kBadArgument);
    }
  }
  frame_ = frame_of_bands(inked.data(), inked.size());
  return ResultCode::kOk;
}

std::uint32_t FontModel::band_of_blank(std::size_t index, std::size_t next_box) const {
  const std::vector<std::uint32_t>& starts = list_->line_starts;
  if (starts.size() == boxes_->bands.size()) {
    const auto line = std::upper_bound(starts.begin(), starts.end(), index) - starts.begin() - 1;
    return static_cast<std::uint32_t>(line);
  }
  const std::deque<GlyphBox>& boxes = boxes_->boxes;
  return next_box < boxes.size() ? boxes[next_box].band : boxes.back().band;
}

// A list of one line runs across the bands; one of a line per band pairs
// with them band by band.
ResultCode FontModel::check_lines(ErrorDetail* detail) {
  const GlyphBoxes& boxes = *boxes_;
  const bool banded = boxes.grid_columns == 0 && boxes.band_count > 1;
  const std::uint32_t lines = mismatch_.list_lines;
  if (!banded || lines == 1) return ResultCode::kOk;
  if (lines != boxes.band_count) {
    return fail(detail, ErrorDetail::kListLines, ResultCode::kUnusableInput);
  }
  const std::vector<ListedCharacter>& characters = list_->characters;
  for (std::uint32_t band = 0; band < lines; ++band) {
    const std::uint32_t from = list_->line_starts[band];
    const auto to = band + 1 < lines ? list_->line_starts[band + 1]
                                     : static_cast<std::uint32_t>(characters.size());
    std::uint32_t named = 0;
    for (std::uint32_t i = from; i < to; ++i) {
      if (boxes.one_per_place || !characters[i].is_blank) ++named;
    }
    const std::uint32_t glyphs =
        boxes.one_per_place ? boxes.band_places[band] : boxes.bands[band].glyph_count;
    if (named != glyphs) {
      mismatch_.band = band + 1;
      mismatch_.glyphs = glyphs;
      mismatch_.characters = named;
      return fail(detail, ErrorDetail::kBandCount, ResultCode::kUnusableInput);
    }
  }
  return ResultCode::kOk;
}

ResultCode FontModel::check_counts(ErrorDetail* detail) {
  const GlyphBoxes& boxes = *boxes_;
  const std::size_t listed = list_->characters.size();
  bool fits = list_->inked_count == glyphs_cut();
  if (boxes.one_per_place) {
    // A grid's list may run on over the empty cells past the last inked
    // one; marks pair one by one.
    fits = boxes.grid_columns != 0 ? listed >= boxes.boxes.size() && listed <= boxes.places
                                   : listed == boxes.boxes.size();
  }
  if (!fits) return fail(detail, ErrorDetail::kCharsCount, ResultCode::kUnusableInput);
  return ResultCode::kOk;
}

std::uint32_t FontModel::characters_paired() const {
  if (list_ == nullptr) return 0;
  return boxes_->one_per_place ? static_cast<std::uint32_t>(list_->characters.size())
                               : list_->inked_count;
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
