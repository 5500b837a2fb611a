// The two passes over the picture: measuring, then writing the glyph records.
#include "engine/glyph_scanner.hpp"

#include <cstdint>
#include <limits>

#include "engine/glyph_cutter.hpp"
#include "engine/glyph_record.hpp"
#include "engine/picture.hpp"

namespace vellicor {

namespace {

// The measuring pass keeps nothing per glyph: the cutter's totals are its result.
class CountingSink final : public GlyphSink {
 public:
  ResultCode on_glyph(const GlyphSpan&) override { return ResultCode::kOk; }
};

// Adds up the records' sizes; needs the font-wide figures, so it runs on a
// second cut after the counting one.
class SizingSink final : public GlyphSink {
 public:
  SizingSink(const ConversionOptions& options, const FontMeasure& measure)
      : options_(options), measure_(measure) {}

  ResultCode on_glyph(const GlyphSpan& glyph) override {
    const std::uint64_t record = glyph_record_size(options_, measure_, glyph);
    constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
    total_ = record > kMost - total_ ? kMost : total_ + record;
    return ResultCode::kOk;
  }

  std::uint64_t total() const { return total_; }

 private:
  const ConversionOptions& options_;
  const FontMeasure& measure_;
  std::uint64_t total_ = 0;
};

class RecordSink final : public GlyphSink {
 public:
  RecordSink(OutputFile& file, const PictureView& picture, const ConversionOptions& options,
             const FontMeasure& measure)
      : file_(file), picture_(picture), options_(options), measure_(measure) {}

  ResultCode on_glyph(const GlyphSpan& glyph) override {
    return write_glyph_record(file_, picture_, options_, measure_, glyph);
  }

 private:
  OutputFile& file_;
  const PictureView& picture_;
  const ConversionOptions& options_;
  const FontMeasure& measure_;
};

}  // namespace

ResultCode scan_glyphs(const GlyphScanContext& context, OutputFile* file, FontMeasure* measure) {
  if (file != kMeasuringPass) {
    if (measure == nullptr || measure->glyph_count == 0 || measure->widest == 0 ||
        measure->tallest == 0) {
      return ResultCode::kBadArgument;
    }
  } else if (measure != nullptr) {
    *measure = FontMeasure{};
  }

  const PictureView picture(*context.info, *context.pixels, context.ink_indices, context.ink_count);
  const std::uint8_t allowed = context.options->allowed_blank_columns;
  FontMeasure totals;
  if (file == kMeasuringPass) {
    CountingSink counter;
    ResultCode result = cut_glyphs(picture, allowed, counter, totals);
    if (succeeded(result) && totals.glyph_count > 0) {
      SizingSink sizer(*context.options, totals);
      FontMeasure again;
      result = cut_glyphs(picture, allowed, sizer, again);
      totals.font_bytes = sizer.total();
    }
    if (measure != nullptr) *measure = totals;
    return result;
  }
  // The records take their font-wide figures from the measuring pass; the
  // writing pass's own totals are the same and are not used.
  RecordSink writer(*file, picture, *context.options, *measure);
  return cut_glyphs(picture, allowed, writer, totals);
}

}  // namespace vellicor
