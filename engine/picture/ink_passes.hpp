// The ink of a picture in one or two decoding passes, shared by every reader
// of colour pictures (PNG, BMP of any depth): for the automatic rule a first
// pass counts the colours to find the paper, and the last pass classifies
// every pixel into the ink map. A reader supplies only the decoding: the
// picture's size once its header is read, then its pixels as runs of equal
// values.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

#include "engine/picture/ink_map.hpp"
#include "engine/picture/ink_rule.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// What a reader knows once it has read the picture's header.
struct PictureExtent {
  std::uint32_t width_px = 0;
  std::uint32_t height_px = 0;
  std::uint64_t row_bytes = 0;   // the reader's own buffer for decoded rows
  std::uint64_t file_bytes = 0;  // the file's size; 0 when unknown (a pipe)
};

// A reader's pixel values and their colours. Colours types provide
//   using Value = ...;               // equal values are equal colours
//   Rgba16 colour(Value value) const;
// This one is for readers whose values are colour keys already.
struct KeyedColours {
  using Value = ColourKey;
  Rgba16 colour(ColourKey key) const { return colour_of_key(key); }
};

// The first pass of the automatic rule: counts the pixels of every colour.
template <class Colours>
class ColourCountPass {
 public:
  using Value = typename Colours::Value;

  explicit ColourCountPass(CommonColourCounter& counter) : counter_(&counter) {}

  // Checks the size against the limits; colours must outlive the pass.
  ResultCode begin(const PictureExtent& extent, const Colours& colours, ErrorDetail* detail) {
    colours_ = &colours;
    return check_picture_size(extent.width_px, extent.height_px, extent.row_bytes,
                              extent.file_bytes, detail);
  }
  // count pixels of one value in row y, at x, x + step, ...
  void take_run(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t count, Value value) {
    counter_->add(colour_key(colours_->colour(value)), count);
  }

 private:
  CommonColourCounter* counter_;
  const Colours* colours_ = nullptr;
};

// The last pass: the ink map, filled by the rule's decision on each pixel.
template <class Colours>
class InkPass {
 public:
  using Value = typename Colours::Value;

  explicit InkPass(InkClassifier classifier) : classifier_(classifier) {}

  // Checks the size and allocates the map with every pixel paper; colours
  // must outlive the pass.
  ResultCode begin(const PictureExtent& extent, const Colours& colours, ErrorDetail* detail) {
    colours_ = &colours;
    return allocate_ink_map(extent.width_px, extent.height_px, extent.row_bytes, extent.file_bytes,
                            map_, detail);
  }
  void take_run(std::uint32_t y, std::uint32_t x, std::uint32_t step, std::uint32_t count,
                Value value) {
    if (!is_ink(value)) return;
    if (step == 1) {
      for (std::uint32_t column = x; column < x + count; ++column) map_.set_ink(column, y);
      return;
    }
    for (std::uint32_t i = 0; i < count; ++i) map_.set_ink(x + i * step, y);
  }
  InkMap& map() { return map_; }

 private:
  struct Decision {
    Value value{};
    bool ink = false;
    bool known = false;
  };

  // A glyph strip's runs mostly alternate between paper and one ink colour,
  // so the last two decisions are kept and reused.
  bool is_ink(Value value) {
    if (recent_[0].known && recent_[0].value == value) return recent_[0].ink;
    if (recent_[1].known && recent_[1].value == value) {
      std::swap(recent_[0], recent_[1]);
      return recent_[0].ink;
    }
    recent_[1] = recent_[0];
    recent_[0] = {value, classifier_.is_ink(colours_->colour(value)), true};
    return recent_[0].ink;
  }

  InkClassifier classifier_;
  const Colours* colours_ = nullptr;
  InkMap map_;
  std::array<Decision, 2> recent_{};  // the latest first
};

// take_row_runs with the step known to the compiler when it is 1, the step
// of every row but those of an interlaced pass.
template <bool kUnitStep, class Pass, class ValueAt>
void take_runs_along(Pass& pass, std::uint32_t y, std::uint32_t first, std::uint32_t any_step,
                     std::uint32_t end_px, ValueAt value_at) {
  const std::uint32_t step = kUnitStep ? 1 : any_step;
  auto run_value = value_at(first);
  std::uint32_t run_start = first;
  std::uint32_t x = first + step;
  for (; x < end_px; x += step) {
    const auto value = value_at(x);
    if (value == run_value) continue;
    pass.take_run(y, run_start, step, (x - run_start) / step, run_value);
    run_value = value;
    run_start = x;
  }
  // x is the first column of the row's sequence at or past end_px.
  pass.take_run(y, run_start, step, (x - run_start) / step, run_value);
}

// Hands the pixels x = first, first + step, ... below end_px of row y to
// pass as runs of equal values; value_at(x) decodes the pixel at x.
template <class Pass, class ValueAt>
void take_row_runs(Pass& pass, std::uint32_t y, std::uint32_t first, std::uint32_t step,
                   std::uint32_t end_px, ValueAt value_at) {
  if (first >= end_px) return;
  if (step == 1) {
    take_runs_along<true>(pass, y, first, step, end_px, value_at);
  } else {
    take_runs_along<false>(pass, y, first, step, end_px, value_at);
  }
}

// Reads a picture's ink under rule. read_pass(pass, detail) decodes the
// picture once from its start: it calls pass.begin(extent, colours, detail)
// once the size is known and stops on its failure, then hands the decoded
// pixels to pass.take_run (pixels it never hands on are paper and are not
// counted). It runs twice for kAuto, once otherwise; the first failure is
// returned. map is written only on success.
template <class Colours, class ReadPass>
ResultCode read_ink_in_passes(InkRule rule, ReadPass&& read_pass, InkMap& map,
                              ErrorDetail* detail) {
  ColourKey paper = 0;
  if (rule == InkRule::kAuto) {
    // The counter is large; it lives on the heap rather than the stack.
    std::unique_ptr<CommonColourCounter> counter(new (std::nothrow) CommonColourCounter());
    if (!counter) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    ColourCountPass<Colours> counting(*counter);
    if (const ResultCode counted = read_pass(counting, detail); failed(counted)) return counted;
    paper = counter->most_common();
  }
  InkPass<Colours> classifying(InkClassifier(rule, paper));
  if (const ResultCode classified = read_pass(classifying, detail); failed(classified)) {
    return classified;
  }
  map = std::move(classifying.map());
  return ResultCode::kOk;
}

}  // namespace vellicor
