// The extended conversion: list, picture, plan, then the font written to a
// temporary file that replaces the output only when complete.
#include "engine/api/convert_ex.hpp"

#include <algorithm>
#include <limits>

#include "engine/api/request_checks.hpp"
#include "engine/core/limits.hpp"
#include "engine/font/bdf_header.hpp"
#include "engine/font/character_list.hpp"
#include "engine/font/font_plan.hpp"
#include "engine/font/glyph_record.hpp"
#include "engine/picture/picture.hpp"
#include "engine/picture/picture_source.hpp"

namespace vellicor {

namespace {

// Everything a font is made from, read and decided before writing.
struct PreparedFont {
  CharacterList list;
  LoadedPicture picture;
  FontPlan plan;
};

ResultCode read_list(const ConversionSettings& settings, PreparedFont& font,
                     ConversionReport& report, ErrorDetail* detail) {
  if (settings.chars == nullptr) return ResultCode::kOk;
  CharacterListProblem problem;
  const ResultCode result = parse_character_list(settings.chars, font.list, detail, &problem);
  report.problem_character = problem.duplicate;
  report.problem_offset = problem.offset;
  if (succeeded(result)) {
    report.characters_listed = font.list.inked_count;
    report.blanks_listed =
        static_cast<std::uint32_t>(font.list.characters.size()) - font.list.inked_count;
  }
  return result;
}

ResultCode prepare_font(FileSystem& fs, const char* input_path, const ConversionOptions& options,
                        const ConversionSettings& settings, PreparedFont& font,
                        ConversionReport& report, ErrorDetail* detail) {
  if (settings.blank_advance > kMostBlankAdvance) return ResultCode::kBadArgument;
  ResultCode result = read_list(settings, font, report, detail);
  if (failed(result)) return result;

  result = load_picture(fs, input_path, settings.ink_rule, font.picture, detail);
  if (failed(result)) return result;
  const PictureView picture(font.picture.info, font.picture.pixels, font.picture.ink_table.data(),
                            font.picture.ink_count);
  report.picture_width = picture.width();
  report.picture_height = picture.height();
  if (!picture.has_ink()) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }

  const CharacterList* list = settings.chars != nullptr ? &font.list : nullptr;
  result = plan_font(picture, options, list, settings.blank_advance, font.plan, detail);
  report.glyphs_cut = font.plan.glyphs_cut;
  report.tallest = font.plan.measure.tallest;
  report.widest = font.plan.measure.widest;
  if (succeeded(result)) report.glyph_count = font.plan.measure.glyph_count;
  return result;
}

RecordLabel label_of(const PlannedGlyph& glyph) {
  return RecordLabel{static_cast<std::uint32_t>(glyph.code)};
}

// Bytes of every record, saturating instead of wrapping.
std::uint64_t records_size(const ConversionOptions& options, const FontPlan& plan) {
  std::uint64_t total = 0;
  for (const PlannedGlyph& glyph : plan.glyphs) {
    const RecordLabel label = label_of(glyph);
    const std::uint64_t record =
        glyph.is_blank ? blank_record_size(options, plan.measure, label, glyph.advance)
                       : glyph_record_size(options, plan.measure, glyph.span,
                                           plan.uses_list ? &label : nullptr);
    constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
    total = record > kMost - total ? kMost : total + record;
  }
  return total;
}

// The character shown for codes the font lacks: the replacement character or
// the question mark when listed, else the first character with ink.
std::uint32_t default_character(const FontPlan& plan) {
  constexpr std::uint32_t kReplacementCharacter = 0xFFFD;
  constexpr std::uint32_t kQuestionMark = 0x3F;
  const PlannedGlyph* first_inked = nullptr;
  bool has_question_mark = false;
  for (const PlannedGlyph& glyph : plan.glyphs) {
    if (glyph.code == kReplacementCharacter) return kReplacementCharacter;
    if (glyph.code == kQuestionMark) has_question_mark = true;
    if (!glyph.is_blank && first_inked == nullptr) first_inked = &glyph;
  }
  if (has_question_mark) return kQuestionMark;
  return first_inked != nullptr ? static_cast<std::uint32_t>(first_inked->code) : 0;
}

UnicodeFontFigures unicode_figures(const ConversionOptions& options, const FontPlan& plan) {
  const std::uint64_t font_width =
      std::uint64_t{plan.measure.widest} + options.leading_blank + options.trailing_blank;
  UnicodeFontFigures figures;
  figures.bounding_width = font_width;
  std::uint64_t advances = 0;
  bool all_of_font_width = true;
  for (const PlannedGlyph& glyph : plan.glyphs) {
    advances += glyph.advance;
    all_of_font_width = all_of_font_width && glyph.advance == font_width;
    if (glyph.is_blank) {
      figures.bounding_width = std::max<std::uint64_t>(figures.bounding_width, glyph.advance);
    }
  }
  constexpr std::uint64_t kTenths = 10;
  const std::uint64_t count = plan.glyphs.size();
  figures.average_width = (advances * kTenths + count / 2) / count;
  figures.default_char = default_character(plan);
  figures.character_cell = options.fixed_width != 0 && all_of_font_width;
  return figures;
}

ResultCode write_records(OutputFile& output, const PictureView& picture,
                         const ConversionOptions& options, const FontPlan& plan) {
  for (const PlannedGlyph& glyph : plan.glyphs) {
    const RecordLabel label = label_of(glyph);
    const ResultCode result =
        glyph.is_blank ? write_blank_record(output, options, plan.measure, label, glyph.advance)
                       : write_glyph_record(output, picture, options, plan.measure, glyph.span,
                                            plan.uses_list ? &label : nullptr);
    if (failed(result)) return result;
  }
  return ResultCode::kOk;
}

ResultCode write_font(OutputFile& output, const ConversionOptions& options,
                      const PreparedFont& font, ErrorDetail* detail) {
  const FontPlan& plan = font.plan;
  UnicodeFontFigures figures;
  if (plan.uses_list) figures = unicode_figures(options, plan);
  ResultCode result =
      write_bdf_header(output, options, plan.measure, detail, plan.uses_list ? &figures : nullptr);
  if (failed(result)) return result;
  const PictureView picture(font.picture.info, font.picture.pixels, font.picture.ink_table.data(),
                            font.picture.ink_count);
  result = write_records(output, picture, options, plan);
  if (failed(result)) return fail(detail, ErrorDetail::kFileAccess, result);
  return write_bdf_end(output, detail);
}

}  // namespace

ResultCode convert_ex_file(FileSystem& fs, const ConversionPaths* paths,
                           const ConversionOptions* options, const ConversionSettings& settings,
                           ConversionReport& report, ErrorDetail* detail) {
  char derived_name[kPathBufferSize];
  const char* output_path = nullptr;
  const ResultCode checked = check_request(fs, paths, options, derived_name, output_path, detail);
  if (failed(checked)) return checked;

  PreparedFont font;
  ResultCode result = prepare_font(fs, paths->input_path, *options, settings, font, report, detail);
  if (failed(result)) return result;
  if (records_size(*options, font.plan) > font_size_limit(font.picture.pixels.delivered_bytes)) {
    return fail(detail, ErrorDetail::kFontTooLarge, ResultCode::kUnusableInput);
  }

  // Until commit the font goes to a temporary file; on any failure the
  // OutputFile removes it and the output name keeps what it held.
  OutputFile output(fs);
  result = output.create(output_path, detail);
  if (failed(result)) return result;
  result = write_font(output, *options, font, detail);
  if (failed(result)) return result;
  return output.commit(detail);
}

ResultCode cut_file(FileSystem& fs, const char* input_path, const ConversionOptions* options,
                    const ConversionSettings& settings, GlyphCallback callback,
                    void* callback_context, ConversionReport& report, ErrorDetail* detail) {
  const ConversionOptions no_options{};
  const ConversionPaths paths{input_path, nullptr};
  const ConversionOptions& used = options != nullptr ? *options : no_options;
  if (!request_is_usable(&paths, &used)) return ResultCode::kBadArgument;

  PreparedFont font;
  const ResultCode result = prepare_font(fs, input_path, used, settings, font, report, detail);
  // A count mismatch still lists what was cut, so the user sees where the
  // list and the strip part ways.
  const bool listable = succeeded(result) || !font.plan.glyphs.empty();
  if (!listable || callback == nullptr) return result;
  std::uint32_t index = 0;
  for (const PlannedGlyph& glyph : font.plan.glyphs) {
    GlyphInfo info{};
    info.index = index++;
    info.code = static_cast<std::uint32_t>(glyph.code);
    info.first_column = glyph.span.start;
    info.width = glyph.span.width;
    info.advance = glyph.advance;
    info.top = glyph.span.top;
    info.bottom = glyph.span.bottom;
    info.is_blank = glyph.is_blank ? 1 : 0;
    info.character = glyph.character != nullptr ? glyph.character->text : nullptr;
    if (callback(callback_context, &info) != 0) break;
  }
  return result;
}

}  // namespace vellicor
