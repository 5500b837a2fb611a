// The font's records in font order, sized or written.
#include "engine/font/bdf_writer.hpp"

#include <limits>

#include "engine/font/bdf_header.hpp"
#include "engine/font/glyph_record.hpp"

namespace vellicor {

namespace {

// A font made with a list names its glyphs by code point ("uni0041").
RecordLabel label_of(const FontGlyph& glyph) {
  return RecordLabel{static_cast<std::uint32_t>(glyph.code)};
}

}  // namespace

std::uint64_t bdf_records_size(const FontModel& font) {
  const ConversionOptions& options = font.options();
  std::uint64_t total = 0;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    const RecordLabel label = label_of(glyph);
    const std::uint64_t record =
        glyph.is_blank
            ? blank_record_size(font.frame_of_blank(glyph), label, glyph.advance, font.uses_list())
            : glyph_record_size(options, font.frame_of(*glyph.box), *glyph.box,
                                font.uses_list() ? &label : nullptr);
    constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
    total = record > kMost - total ? kMost : total + record;
    return true;
  });
  return total;
}

bool bdf_records_exceed(const FontModel& font, std::uint64_t limit) {
  // The bound takes every record as large as the last code and the widest
  // box make it; names by code point and blank glyphs fall outside it.
  if (!font.uses_list() && font.single_frame() &&
      glyph_records_size_bound(font.options(), font.measure(), font.frame()) <= limit) {
    return false;
  }
  return bdf_records_size(font) > limit;
}

ResultCode write_bdf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail) {
  ResultCode result = write_bdf_header(file, font, detail);
  if (failed(result)) return result;
  const ConversionOptions& options = font.options();
  font.for_each_glyph([&](const FontGlyph& glyph) {
    const RecordLabel label = label_of(glyph);
    result = glyph.is_blank ? write_blank_record(file, font.frame_of_blank(glyph), label,
                                                 glyph.advance, font.uses_list())
                            : write_glyph_record(file, map, options, font.frame_of(*glyph.box),
                                                 *glyph.box, font.uses_list() ? &label : nullptr);
    return succeeded(result);
  });
  if (failed(result)) return fail(detail, ErrorDetail::kFileAccess, result);
  return write_bdf_end(file, detail);
}

}  // namespace vellicor
