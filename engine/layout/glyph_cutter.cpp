// Segmentation of classified columns into glyphs.
#include "engine/layout/glyph_cutter.hpp"

#include <algorithm>
#include <bit>

#include "engine/layout/column_ink.hpp"

namespace vellicor {

namespace {

// The scan state of one cut: the open glyph, the blank run, the gap flag and
// the running totals.
class Segmenter {
 public:
  Segmenter(std::uint8_t allowed_blank_columns, Framing framing, std::deque<GlyphBox>& boxes)
      : allowed_(allowed_blank_columns), edges_open_(framing == Framing::kByInk), boxes_(boxes) {}

  // count blank columns without any ink, starting at x. Only while a glyph is
  // open does each column matter, and a glyph closes within allowed + 1 of them.
  ResultCode blank_columns(std::uint32_t x, std::uint32_t count) {
    for (; count > 0 && glyph_open_; ++x, --count) {
      const ResultCode result = blank_column(x, false);
      if (failed(result)) return result;
    }
    if (count > 0) {
      if (!run_active_) start_run(x);
      run_length_ += count;
    }
    return ResultCode::kOk;
  }

  const FontMeasure& totals() const { return totals_; }

  // A column holding ink, from row first to row last.
  void ink_column(std::uint32_t x, std::uint32_t first, std::uint32_t last) {
    if (run_active_ && glyph_open_) {
      // The blank run just crossed lies inside the glyph now.
      gap_taken_ = true;
      if (run_has_top_row_ink_) glyph_.top = 0;
    }
    run_active_ = false;
    run_length_ = 0;
    if (glyph_open_) {
      glyph_.top = std::min(glyph_.top, first);
      glyph_.bottom = std::max(glyph_.bottom, last);
    } else if (x != 0 || edges_open_) {
      glyph_open_ = true;
      glyph_.start = x;
      glyph_.top = first;
      glyph_.bottom = last;
    }
    totals_.tallest = std::max(totals_.tallest, last - first + 1);
  }

  // Closes a glyph still open at the right edge, end_x being the picture's
  // width: it ends where its trailing blank run begins, or at the edge.
  ResultCode close_at_edge(std::uint32_t end_x) {
    if (!glyph_open_ || !edges_open_) return ResultCode::kOk;
    return end_glyph((run_active_ ? run_start_ : end_x) - glyph_.start);
  }

  // A blank column; top_row_ink when it holds ink in row 0 (and nowhere else).
  ResultCode blank_column(std::uint32_t x, bool top_row_ink) {
    if (!run_active_) start_run(x);
    ++run_length_;
    if (top_row_ink) run_has_top_row_ink_ = true;
    if (!glyph_open_) return ResultCode::kOk;
    if (run_length_ > allowed_) return end_glyph(run_start_ - glyph_.start);
    if (gap_taken_) {
      gap_taken_ = false;
      return end_glyph(x - glyph_.start);
    }
    return ResultCode::kOk;
  }

 private:
  void start_run(std::uint32_t x) {
    run_active_ = true;
    run_start_ = x;
    run_length_ = 0;
    run_has_top_row_ink_ = false;
  }

  ResultCode end_glyph(std::uint32_t width) {
    glyph_open_ = false;
    ++totals_.glyph_count;
    totals_.widest = std::max(totals_.widest, width);
    totals_.deepest = std::max(totals_.deepest, glyph_.bottom);
    totals_.topmost = totals_.glyph_count == 1 ? glyph_.top : std::min(totals_.topmost, glyph_.top);
    glyph_.number = totals_.glyph_count;
    glyph_.width = width;
    // A failed growth throws std::bad_alloc, which the converter's entry
    // points report as out of memory.
    boxes_.push_back(glyph_);
    return ResultCode::kOk;
  }

  std::uint32_t allowed_;
  bool edges_open_;  // column 0 may open a glyph and one at the right edge is kept
  std::deque<GlyphBox>& boxes_;
  FontMeasure totals_;
  bool glyph_open_ = false;
  GlyphBox glyph_;
  bool run_active_ = false;
  std::uint32_t run_start_ = 0;
  std::uint64_t run_length_ = 0;
  bool run_has_top_row_ink_ = false;  // a column of the run has ink in row 0 only
  bool gap_taken_ = false;
};

// Hands columns x ... x + count - 1 (count at most 64) of group to segmenter,
// a run of columns without any ink in one step. Under Framing::kByInk a
// column with ink only in row 0 holds ink like any other.
ResultCode cut_group(Segmenter& segmenter, ColumnGroup& group, Framing framing, std::uint32_t x,
                     std::uint32_t count) {
  if (framing == Framing::kByInk) group.ink_columns = group.has_ink;
  for (std::uint32_t i = 0; i < count;) {
    const std::uint64_t bit = column_bit(i);
    ResultCode result = ResultCode::kOk;
    if ((group.ink_columns & bit) != 0) {
      segmenter.ink_column(x + i, group.first[i], group.last[i]);
      ++i;
    } else if ((group.has_ink & bit) != 0) {
      result = segmenter.blank_column(x + i, true);
      ++i;
    } else {
      // Up to the next column with ink: (bit << 1) - 1 keeps column i and
      // those right of it, also for column 0, whose shift wraps to 0.
      const std::uint64_t inked_from_here = group.has_ink & ((bit << 1) - 1);
      const std::uint32_t next_inked =
          inked_from_here == 0 ? kColumnsPerGroup
                               : static_cast<std::uint32_t>(std::countl_zero(inked_from_here));
      const std::uint32_t run = std::min(next_inked, count) - i;
      result = segmenter.blank_columns(x + i, run);
      i += run;
    }
    if (failed(result)) return result;
  }
  return ResultCode::kOk;
}

}  // namespace

ResultCode cut_strip(const InkMap& map, std::uint8_t allowed_blank_columns, Framing framing,
                     GlyphBoxes& boxes) {
  boxes = GlyphBoxes{};
  Segmenter segmenter(allowed_blank_columns, framing, boxes.boxes);
  ResultCode result = ResultCode::kOk;
  const std::uint32_t inked_columns = std::min(map.held_columns, map.width_px);
  ColumnGroup group;
  for (std::uint32_t x = 0; x < inked_columns && succeeded(result); x += kColumnsPerGroup) {
    classify_column_group(map, x / kColumnsPerGroup, group);
    result = cut_group(segmenter, group, framing, x, std::min(kColumnsPerGroup, inked_columns - x));
  }
  if (succeeded(result)) {
    result = segmenter.blank_columns(inked_columns, map.width_px - inked_columns);
  }
  if (succeeded(result)) result = segmenter.close_at_edge(map.width_px);
  boxes.totals = segmenter.totals();
  return result;
}

}  // namespace vellicor
