// The font stage: the glyph boxes of a layout, their codes (counted up from
// the first code, or named by a character list) and the metric options make
// the font model that every writer reads. The model is a view: it keeps the
// boxes, the list and the options it was built from (which must outlive it)
// and yields each glyph's code and advance as it is read, so a font of any
// size costs no more memory than its boxes.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/core/font_measure.hpp"
#include "engine/font/character_list.hpp"
#include "engine/font/font_frame.hpp"
#include "engine/layout/glyph_boxes.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// One glyph of the font, in font order.
struct FontGlyph {
  const GlyphBox* box = nullptr;  // the picture's glyph; null for a blank character
  std::uint64_t code = 0;         // ENCODING: first code + number - 1, or the code point
  std::uint32_t band = 0;         // the band of a strip in bands a blank character stands in
  std::uint32_t advance = 0;      // DWIDTH
  const ListedCharacter* character = nullptr;  // null without a list or past its end
  bool is_blank = false;
};

// What a Unicode font's header says beyond the plain header.
struct UnicodeFontFigures {
  std::uint64_t bounding_width = 0;  // FONTBOUNDINGBOX width, blank glyphs' boxes included
  std::uint64_t average_width = 0;   // AVERAGE_WIDTH: mean advance in tenths of a pixel
  std::uint32_t default_char = 0;    // DEFAULT_CHAR: a code point of the font
  bool character_cell = false;       // SPACING "C": every advance is the font's width
};

// Where a character list given one line per band and the bands part ways.
struct BandMismatch {
  std::uint32_t list_lines = 0;  // lines of the list
  std::uint32_t band = 0;        // from 1: the first band whose count differs
  std::uint32_t glyphs = 0;      // its glyphs
  std::uint32_t characters = 0;  // the characters of its line that take one
};

class FontModel {
 public:
  // Pairs boxes with codes. Without a list (list null) every box gets
  // options.first_glyph + its number - 1. With one, every character takes the
  // next box, blank characters an empty glyph of blank_advance columns (0:
  // the median advance of the boxes, the font's width when fixed). Fails
  // with kNoGlyph when there is no box and with kUnusableInput / kCharsCount
  // when the counts differ; the model then still pairs boxes and characters
  // as far as both go, and yields the boxes past the list without a
  // character, so a listing shows where the two part ways. The font's box
  // follows framing's rules; under Framing::kByInk a descent that leaves no
  // line above the baseline fails with kBadArgument, detail kDescentTooLarge.
  // A strip cut in bands frames each band's glyphs as that band alone would
  // be framed. A list of one line runs across all bands; one of a line per
  // band pairs band by band (kListLines for any other number of lines,
  // kBandCount for a band whose count differs, see band_mismatch()).
  // Grids and marks pair every place with a character, blank ones included;
  // a grid's list may run on over its empty cells past the last inked one.
  ResultCode build(const GlyphBoxes& boxes, const ConversionOptions& options,
                   const CharacterList* list, std::uint32_t blank_advance, Framing framing,
                   ErrorDetail* detail);

  const ConversionOptions& options() const { return *options_; }
  // The figures of the cut, glyph_count counting every glyph of the font.
  const FontMeasure& measure() const { return measure_; }
  // The font's box and the figures that follow from it.
  const FontFrame& frame() const { return frame_; }
  // The frame box's glyph is written in: its band's in a strip of bands.
  const FontFrame& frame_of(const GlyphBox& box) const {
    return band_frames_.empty() ? frame_ : band_frames_[box.band];
  }
  // The frame a blank character's record is written in: its band's.
  const FontFrame& frame_of_blank(const FontGlyph& glyph) const {
    return band_frames_.empty() ? frame_ : band_frames_[glyph.band];
  }
  // Whether every glyph is a box of one frame, as in the one-band strip.
  bool single_frame() const { return band_frames_.empty() && !boxes_->one_per_place; }
  const BandMismatch& band_mismatch() const { return mismatch_; }
  // Characters of the list the picture's places pair with: every character
  // in grids and marks, those that take a glyph in a strip.
  std::uint32_t characters_paired() const;
  bool uses_list() const { return list_ != nullptr; }
  std::uint32_t glyphs_cut() const { return static_cast<std::uint32_t>(boxes_->boxes.size()); }
  // Figures of the header of a font made with a list.
  UnicodeFontFigures unicode_figures() const;

  // Calls visit(const FontGlyph&) for every glyph in font order until it
  // returns false; false when it did.
  template <typename Visit>
  bool for_each_glyph(Visit&& visit) const;

 private:
  FontGlyph boxed_glyph(const GlyphBox& box) const;
  // Of the boxes of band band, or of all boxes when band is kAllBands.
  static constexpr std::uint32_t kAllBands = ~std::uint32_t{0};
  std::uint32_t median_advance(std::uint32_t band = kAllBands) const;
  // The band a blank character at index of the list stands in: its line's
  // when the list has a line per band, else the next glyph's (the last
  // glyph's at the end).
  std::uint32_t band_of_blank(std::size_t index, std::size_t next_box) const;
  std::uint32_t default_character() const;
  ResultCode frame_bands(Framing framing, ErrorDetail* detail);
  ResultCode check_lines(ErrorDetail* detail);
  ResultCode check_counts(ErrorDetail* detail);
  template <typename Visit>
  bool for_each_placed(Visit&& visit) const;

  std::vector<FontFrame> band_frames_;
  BandMismatch mismatch_;

  const GlyphBoxes* boxes_ = nullptr;
  const ConversionOptions* options_ = nullptr;
  const CharacterList* list_ = nullptr;
  FontMeasure measure_;
  FontFrame frame_;
  std::uint32_t blank_advance_ = 0;  // of every blank character
  // In a strip of bands, the blank advance of each band, as the band alone
  // would have it.
  std::vector<std::uint32_t> band_blank_advances_;
};

template <typename Visit>
bool FontModel::for_each_placed(Visit&& visit) const {
  const std::deque<GlyphBox>& boxes = boxes_->boxes;
  std::size_t next_place = 0;
  if (list_ != nullptr) {
    for (const ListedCharacter& character : list_->characters) {
      FontGlyph glyph;
      if (next_place < boxes.size()) {
        glyph = boxed_glyph(boxes[next_place]);
      } else if (next_place < boxes_->places) {
        // An empty cell past the last inked one, which the list runs over.
        glyph.advance = boxes_->empty_advance != 0 ? boxes_->empty_advance : blank_advance_;
        glyph.is_blank = true;
      } else {
        break;  // the list names more than the sheet has places
      }
      ++next_place;
      if (character.is_hole) continue;
      glyph.code = character.code_point;
      glyph.character = &character;
      if (!visit(static_cast<const FontGlyph&>(glyph))) return false;
    }
  }
  for (; next_place < boxes.size(); ++next_place) {
    FontGlyph glyph = boxed_glyph(boxes[next_place]);
    if (list_ != nullptr) glyph.code = 0;
    if (!visit(static_cast<const FontGlyph&>(glyph))) return false;
  }
  return true;
}

template <typename Visit>
bool FontModel::for_each_glyph(Visit&& visit) const {
  if (boxes_->one_per_place) return for_each_placed(visit);
  const std::deque<GlyphBox>& boxes = boxes_->boxes;
  std::size_t next_box = 0;
  if (list_ != nullptr) {
    const std::vector<ListedCharacter>& characters = list_->characters;
    for (std::size_t index = 0; index < characters.size(); ++index) {
      const ListedCharacter& character = characters[index];
      FontGlyph glyph;
      if (character.is_hole) continue;
      if (character.is_blank) {
        glyph.advance = blank_advance_;
        glyph.is_blank = true;
        if (!band_blank_advances_.empty()) {
          glyph.band = band_of_blank(index, next_box);
          glyph.advance = band_blank_advances_[glyph.band];
        }
      } else {
        if (next_box == boxes.size()) break;  // the list names more than were cut
        glyph = boxed_glyph(boxes[next_box++]);
      }
      glyph.code = character.code_point;
      glyph.character = &character;
      if (!visit(static_cast<const FontGlyph&>(glyph))) return false;
    }
  }
  // Without a list every box; with one, those the list has no character for.
  for (; next_box < boxes.size(); ++next_box) {
    FontGlyph glyph = boxed_glyph(boxes[next_box]);
    if (list_ != nullptr) glyph.code = 0;
    if (!visit(static_cast<const FontGlyph&>(glyph))) return false;
  }
  return true;
}

}  // namespace vellicor
