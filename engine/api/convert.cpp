// The conversions: the request's checks, then the stages of font_pipeline.
#include "engine/api/convert.hpp"

#include "engine/api/font_pipeline.hpp"
#include "engine/api/request_checks.hpp"
#include "engine/api/versioned_records.hpp"
#include "vellicor/internal/output_name.hpp"

namespace vellicor {

namespace {

PipelineRequest extended_request(const ConversionSettings& settings) {
  PipelineRequest request;
  request.readers = PictureReaders::kAny;
  request.ink_rule = settings.ink_rule;
  request.chars = settings.chars;
  request.blank_advance = settings.blank_advance;
  request.framing = Framing::kByInk;
  request.charset = settings.charset;
  request.format = settings.format;
  return request;
}

// The extended request of settings, or kBadArgument with kLayoutSettings for
// layout settings that do not fit together.
ResultCode read_extended_request(const ConversionSettings& settings, PipelineRequest& request,
                                 ErrorDetail* detail) {
  request = extended_request(settings);
  if (!read_layout(settings, request.layout)) {
    return fail(detail, ErrorDetail::kLayoutSettings, ResultCode::kBadArgument);
  }
  if (font_extension(settings.format) == nullptr) {
    return fail(detail, ErrorDetail::kUnknownFormat, ResultCode::kBadArgument);
  }
  return ResultCode::kOk;
}

// The checks, the stages, then the font written.
ResultCode convert_with(FileSystem& fs, const ConversionPaths* paths,
                        const ConversionOptions* options, const PipelineRequest& request,
                        ConversionReport& report, ErrorDetail* detail) {
  char derived_name[kPathBufferSize];
  const char* output_path = nullptr;
  const ResultCode checked =
      check_request(fs, paths, options, request.format, derived_name, output_path, detail);
  if (failed(checked)) return checked;

  PreparedFont font;
  const ResultCode prepared =
      prepare_font(fs, paths->input_path, *options, request, font, report, detail);
  if (failed(prepared)) return prepared;
  return write_font_file(fs, output_path, font, request.format, report, detail);
}

}  // namespace

ResultCode convert_file(FileSystem& fs, const ConversionPaths* paths,
                        const ConversionOptions* options, ErrorDetail* detail) {
  ConversionReport unused = empty_report();
  return convert_with(fs, paths, options, PipelineRequest{}, unused, detail);
}

ResultCode convert_ex_file(FileSystem& fs, const ConversionPaths* paths,
                           const ConversionOptions* options, const ConversionSettings& settings,
                           ConversionReport& report, ErrorDetail* detail) {
  PipelineRequest request;
  const ResultCode read = read_extended_request(settings, request, detail);
  if (failed(read)) return read;
  return convert_with(fs, paths, options, request, report, detail);
}

ResultCode cut_file(FileSystem& fs, const char* input_path, const ConversionOptions* options,
                    const ConversionSettings& settings, GlyphCallback callback,
                    void* callback_context, ConversionReport& report, ErrorDetail* detail) {
  const ConversionOptions no_options{};
  const ConversionPaths paths{input_path, nullptr};
  const ConversionOptions& used = options != nullptr ? *options : no_options;
  if (!request_is_usable(&paths, &used)) return ResultCode::kBadArgument;

  PipelineRequest request;
  const ResultCode read = read_extended_request(settings, request, detail);
  if (failed(read)) return read;
  PreparedFont font;
  const ResultCode result = prepare_font(fs, input_path, used, request, font, report, detail);
  // A count mismatch still lists what was cut, so the user sees where the
  // list and the strip part ways.
  const bool listable = succeeded(result) || !font.boxes.boxes.empty();
  if (!listable || callback == nullptr) return result;
  std::uint32_t index = 0;
  std::size_t characters_shown = 0;
  const bool uses_list = font.model.uses_list();
  const bool went_on = font.model.for_each_glyph([&](const FontGlyph& glyph) {
    GlyphInfo info{};
    info.index = index++;
    info.code = static_cast<std::uint32_t>(glyph.code);
    if (glyph.box != nullptr) {
      const GlyphBox& box = *glyph.box;
      info.first_column = box.start;
      info.width = box.width;
      info.top = box.top;
      info.bottom = box.bottom;
      info.band = box.band;
      info.cell = box.cell;
      info.x_offset = box.x_offset;
      info.y_offset =
          box.placed ? box.y_offset : -static_cast<std::int32_t>(font.model.frame_of(box).descent);
    }
    info.advance = glyph.advance;
    info.is_blank = glyph.is_blank ? 1 : 0;
    info.character = glyph.character != nullptr ? glyph.character->text : nullptr;
    if (glyph.character != nullptr) {
      characters_shown =
          static_cast<std::size_t>(glyph.character - font.list.characters.data()) + 1;
    }
    info.unpaired = uses_list && glyph.character == nullptr ? 1 : 0;
    return callback(callback_context, &info) == 0;
  });
  // The characters of a list that names more than the picture holds follow
  // the last one paired, so a listing shows all of the list.
  if (!went_on || !uses_list) return result;
  const std::vector<ListedCharacter>& characters = font.list.characters;
  for (std::size_t next = characters_shown; next < characters.size(); ++next) {
    if (characters[next].is_hole) continue;  // a place of a set without a character
    GlyphInfo info{};
    info.index = index++;
    info.code = characters[next].code_point;
    info.is_blank = characters[next].is_blank ? 1 : 0;
    info.character = characters[next].text;
    info.unpaired = 1;
    if (callback(callback_context, &info) != 0) break;
  }
  return result;
}

}  // namespace vellicor
