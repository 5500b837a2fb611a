// The stages of a conversion, run in order; the first failure stops them.
#include "engine/api/font_pipeline.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/core/limits.hpp"
#include "engine/font/bdf_writer.hpp"
#include "engine/font/charsets.hpp"
#include "engine/font/fon_writer.hpp"
#include "engine/font/otb_writer.hpp"
#include "engine/font/pcf_writer.hpp"
#include "engine/font/psf_writer.hpp"
#include "engine/font/ttf_writer.hpp"
#include "engine/io/output_file.hpp"
#include "engine/layout/sheet_cutter.hpp"

namespace vellicor {

namespace {

bool uses_list(const PipelineRequest& request) {
  return request.chars != nullptr || request.charset != VELLICOR_CHARSET_NONE;
}

ResultCode read_list(const PipelineRequest& request, CharacterList& list, ConversionReport& report,
                     ErrorDetail* detail) {
  if (request.charset != VELLICOR_CHARSET_NONE) {
    if (request.chars != nullptr) {
      return fail(detail, ErrorDetail::kLayoutSettings, ResultCode::kBadArgument);
    }
    return charset_list(request.charset, list, detail);
  }
  if (request.chars == nullptr) return ResultCode::kOk;
  CharacterListProblem problem;
  const ResultCode result = parse_character_list(request.chars, list, detail, &problem);
  report.problem_character = problem.duplicate;
  report.problem_offset = problem.offset;
  if (succeeded(result)) {
    report.characters_listed = list.inked_count;
    report.blanks_listed = static_cast<std::uint32_t>(list.characters.size()) - list.inked_count;
  }
  return result;
}

}  // namespace

bool read_layout(const ConversionSettings& settings, LayoutSettings& layout) {
  layout = LayoutSettings{};
  layout.bands = settings.rows > 1 ? settings.rows : 1;
  if (settings.rows > kMostSheetGlyphs) return false;
  const bool grid_settings = settings.cell_width != 0 || settings.cell_height != 0 ||
                             settings.grid_origin_x != 0 || settings.grid_origin_y != 0 ||
                             settings.grid_gap_x != 0 || settings.grid_gap_y != 0 ||
                             settings.proportional != 0;
  switch (settings.layout) {
    case VELLICOR_LAYOUT_STRIP:
    case VELLICOR_LAYOUT_MARKS:
      layout.kind =
          settings.layout == VELLICOR_LAYOUT_STRIP ? LayoutKind::kStrip : LayoutKind::kMarks;
      return !grid_settings;
    case VELLICOR_LAYOUT_GRID:
      layout.kind = LayoutKind::kGrid;
      layout.cell_width = settings.cell_width;
      layout.cell_height = settings.cell_height;
      layout.origin_x = settings.grid_origin_x;
      layout.origin_y = settings.grid_origin_y;
      layout.gap_x = settings.grid_gap_x;
      layout.gap_y = settings.grid_gap_y;
      layout.proportional = settings.proportional != 0;
      return settings.rows <= 1 && settings.cell_width != 0 && settings.cell_height != 0;
    default:
      return false;
  }
}

ResultCode prepare_font(FileSystem& fs, const char* input_path, const ConversionOptions& options,
                        const PipelineRequest& request, PreparedFont& font,
                        ConversionReport& report, ErrorDetail* detail) {
  // The model reads the options whenever it is written: it keeps this copy,
  // not the caller's record, which may be gone by then.
  font.options = options;
  if (request.blank_advance > kMostBlankAdvance) return ResultCode::kBadArgument;
  ResultCode result = read_list(request, font.list, report, detail);
  if (failed(result)) return result;

  report.ink_rule = request.ink_rule;
  result = read_picture(fs, input_path, request.readers, request.ink_rule, font.map, detail);
  if (failed(result)) return result;
  report.picture_width = font.map.width_px;
  report.picture_height = font.map.height_px;
  const bool framed_by_ink = request.framing == Framing::kByInk;
  if (!font.map.has_ink()) {
    return fail(detail, framed_by_ink ? ErrorDetail::kNoInk : ErrorDetail::kUnusableContent,
                ResultCode::kUnusableInput);
  }
  // Nothing but ink holds no glyph to cut; naming the rule tells the user
  // which one to try instead.
  if (framed_by_ink && font.map.all_ink()) {
    return fail(detail, ErrorDetail::kAllInk, ResultCode::kUnusableInput);
  }

  report.bands = request.layout.kind == LayoutKind::kGrid ? 0 : request.layout.bands;
  result = cut_sheet(font.map, options, request.layout, request.framing, font.boxes, detail);
  if (request.layout.kind == LayoutKind::kGrid) {
    report.bands = font.boxes.band_count;
    report.grid_columns = font.boxes.grid_columns;
  }
  if (failed(result)) {
    report.font_height = font.boxes.place_height;  // a cell or band too low for the descent
    return result;
  }

  const CharacterList* list = uses_list(request) ? &font.list : nullptr;
  result = font.model.build(font.boxes, font.options, list, request.blank_advance, request.framing,
                            detail);
  const BandMismatch& mismatch = font.model.band_mismatch();
  report.list_lines = mismatch.list_lines;
  report.problem_band = mismatch.band;
  report.band_glyphs = mismatch.glyphs;
  report.band_characters = mismatch.characters;
  if (list != nullptr) report.characters_listed = font.model.characters_paired();
  report.glyphs_cut = font.model.glyphs_cut();
  // The rows of ink the box is made from; without a glyph there is no box,
  // and the tallest column is all the cut found.
  report.tallest =
      font.boxes.boxes.empty() ? font.model.measure().tallest : font.model.frame().ink_rows;
  report.font_height = static_cast<std::uint32_t>(font.model.frame().height);
  report.widest = font.model.measure().widest;
  if (succeeded(result)) report.glyph_count = font.model.measure().glyph_count;
  return result;
}

namespace {

// Writes font in format; the codes of the glyphs the format cannot hold go
// to left_out.
ResultCode write_in_format(OutputFile& output, std::uint32_t format, const PreparedFont& font,
                           std::vector<std::uint32_t>& left_out, ErrorDetail* detail) {
  switch (format) {
    case VELLICOR_FORMAT_BDF:
      return write_bdf_font(output, font.model, font.map, detail);
    case VELLICOR_FORMAT_PCF:
      return write_pcf_font(output, font.model, font.map, detail);
    case VELLICOR_FORMAT_PSF:
      return write_psf_font(output, font.model, font.map, detail);
    case VELLICOR_FORMAT_FON:
      return write_fon_font(output, font.model, font.map, &left_out, detail);
    case VELLICOR_FORMAT_OTB:
    case VELLICOR_FORMAT_TTF: {
      const ResultCode result = format == VELLICOR_FORMAT_OTB
                                    ? write_otb_font(output, font.model, font.map, detail)
                                    : write_ttf_font(output, font.model, font.map, detail);
      if (succeeded(result)) sfnt_left_out(font.model, left_out);
      return result;
    }
    default:
      break;
  }
  return fail(detail, ErrorDetail::kUnknownFormat, ResultCode::kBadArgument);
}

void report_left_out(const std::vector<std::uint32_t>& left_out, ConversionReport& report) {
  report.left_out = static_cast<std::uint32_t>(left_out.size());
  const std::size_t named = std::min<std::size_t>(left_out.size(), VELLICOR_LEFT_OUT_SHOWN);
  std::copy_n(left_out.begin(), named, report.left_out_codes);
}

}  // namespace

ResultCode write_font_file(FileSystem& fs, const char* output_path, const PreparedFont& font,
                           ErrorDetail* detail) {
  ConversionReport unused{};
  return write_font_file(fs, output_path, font, VELLICOR_FORMAT_BDF, unused, detail);
}

ResultCode write_font_file(FileSystem& fs, const char* output_path, const PreparedFont& font,
                           std::uint32_t format, ConversionReport& report, ErrorDetail* detail) {
  // A glyph's bitmap in any format is smaller than its BDF record, so with
  // the limit held within size_t (on 32-bit targets) every writer can size
  // any glyph's bitmap without narrowing.
  const std::uint64_t limit = std::min<std::uint64_t>(font_size_limit(font.map.file_pixel_bytes),
                                                      std::numeric_limits<std::size_t>::max());
  if (bdf_records_exceed(font.model, limit)) {
    return fail(detail, ErrorDetail::kFontTooLarge, ResultCode::kUnusableInput);
  }
  // Until commit the font goes to a temporary file; on any failure the
  // OutputFile removes it and the output name keeps what it held.
  OutputFile output(fs);
  ResultCode result = output.create(output_path, detail);
  if (failed(result)) return result;
  std::vector<std::uint32_t> left_out;
  result = write_in_format(output, format, font, left_out, detail);
  if (failed(result)) return result;
  report_left_out(left_out, report);
  return output.commit(detail);
}

}  // namespace vellicor
