// The passes over the picture: measuring, sizing and writing the glyph records.
#include "engine/font/glyph_scanner.hpp"

#include <cstdint>
#include <limits>

#include "engine/font/glyph_record.hpp"
#include "engine/layout/glyph_cutter.hpp"
#include "engine/picture/picture.hpp"

namespace vellicor {

namespace {

// The measuring pass keeps nothing per glyph: the cutter's totals are its result.
class CountingSink final : public GlyphSink {
 public:
  ResultCode on_glyph(const GlyphSpan&) override { return ResultCode::kOk; }
};

// Adds up the records' sizes from the font-wide figures.
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

PictureView view_of(const GlyphScanContext& context) {
  return PictureView(*context.info, *context.pixels, context.ink_indices, context.ink_count);
}

}  // namespace

ResultCode measure_glyphs(const GlyphScanContext& context, FontMeasure& measure) {
  CountingSink counter;
  return cut_glyphs(view_of(context), context.options->allowed_blank_columns, counter, measure);
}

std::uint64_t size_glyph_records(const GlyphScanContext& context, const FontMeasure& measure) {
  if (measure.glyph_count == 0) return 0;
  SizingSink sizer(*context.options, measure);
  FontMeasure again;  // the same figures as measure's
  static_cast<void>(
      cut_glyphs(view_of(context), context.options->allowed_blank_columns, sizer, again));
  return sizer.total();
}

ResultCode write_glyphs(const GlyphScanContext& context, const FontMeasure& measure,
                        OutputFile& file) {
  if (measure.glyph_count == 0 || measure.widest == 0 || measure.tallest == 0) {
    return ResultCode::kBadArgument;
  }
  const PictureView picture = view_of(context);
  // The records take their font-wide figures from the measuring pass; this
  // cut's own totals are the same and are not used.
  RecordSink writer(file, picture, *context.options, measure);
  FontMeasure totals;
  return cut_glyphs(picture, context.options->allowed_blank_columns, writer, totals);
}

}  // namespace vellicor
