// The convert operation: checks, load, ink check, measuring pass, then the
// font written to a temporary file that replaces the output only when complete.
#include "engine/api/convert.hpp"

#include "engine/api/request_checks.hpp"
#include "engine/core/limits.hpp"
#include "engine/font/bdf_header.hpp"
#include "engine/font/glyph_record.hpp"
#include "engine/font/glyph_scanner.hpp"
#include "engine/picture/bmp_loader.hpp"
#include "engine/picture/picture.hpp"

namespace vellicor {

namespace {

// A font far larger than the pixels it comes from is refused: a few bytes of
// file must not make the conversion write gigabytes. The font's figures
// bound its size without another cut of the picture; only a font that the
// bound does not clear is sized exactly.
bool exceeds_font_size_limit(const GlyphScanContext& context, const FontMeasure& measure) {
  const std::uint64_t limit = font_size_limit(context.pixels->delivered_bytes);
  if (glyph_records_size_bound(*context.options, measure) <= limit) return false;
  return size_glyph_records(context, measure) > limit;
}

// Writes header, records and the closing line into an open output file.
ResultCode write_font(OutputFile& output, const GlyphScanContext& context,
                      const FontMeasure& measure, ErrorDetail* detail) {
  ResultCode result = write_bdf_header(output, *context.options, measure, detail);
  if (failed(result)) return result;
  result = write_glyphs(context, measure, output);
  if (failed(result)) return fail(detail, ErrorDetail::kFileAccess, result);
  return write_bdf_end(output, detail);
}

}  // namespace

ResultCode convert_file(FileSystem& fs, const ConversionPaths* paths,
                        const ConversionOptions* options, ErrorDetail* detail) {
  char derived_name[kPathBufferSize];
  const char* output_path = nullptr;
  const ResultCode checked = check_request(fs, paths, options, derived_name, output_path, detail);
  if (failed(checked)) return checked;

  BmpInfoHeader info_header;
  InkIndexTable ink_table{};
  std::uint16_t ink_count = 0;
  PixelBuffer pixels;
  ResultCode result =
      load_bmp(fs, paths->input_path, info_header, ink_table, ink_count, pixels, detail);
  if (failed(result)) return result;

  const PictureView picture(info_header, pixels, ink_table.data(), ink_count);
  if (!picture.has_ink()) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }

  const GlyphScanContext context{&pixels, &info_header, options, ink_table.data(), ink_count};
  FontMeasure measure;
  result = measure_glyphs(context, measure);
  if (failed(result)) return fail(detail, ErrorDetail::kNoGlyph, result);
  if (measure.glyph_count == 0) {
    return fail(detail, ErrorDetail::kNoGlyph, ResultCode::kNoGlyph);
  }
  if (exceeds_font_size_limit(context, measure)) {
    return fail(detail, ErrorDetail::kFontTooLarge, ResultCode::kUnusableInput);
  }

  // Until commit the font goes to a temporary file; on any failure the
  // OutputFile removes it and the output name keeps what it held.
  OutputFile output(fs);
  result = output.create(output_path, detail);
  if (failed(result)) return result;
  result = write_font(output, context, measure, detail);
  if (failed(result)) return result;
  return output.commit(detail);
}

}  // namespace vellicor
