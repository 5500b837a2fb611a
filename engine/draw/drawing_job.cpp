// Reads a font file, draws it and saves the picture and its character list,
// naming the conversion that gives the font back.
#include <cstring>
#include <string>

#include "engine/draw/drawn_glyphs.hpp"
#include "engine/draw/font_drawing.hpp"
#include "engine/draw/picture_writer.hpp"
#include "engine/font/character_list.hpp"
#include "engine/font/charsets.hpp"
#include "engine/fontfile/font_file_reader.hpp"
#include "engine/io/output_file.hpp"
#include "vellicor/internal/font_drawing_job.hpp"
#include "vellicor/internal/output_name.hpp"
#include "vellicor/internal/same_file.hpp"

namespace vellicor {
namespace {

bool ends_with(const std::string& text, const char* tail) {
  const std::size_t length = std::strlen(tail);
  if (text.size() < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[text.size() - length + i];
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != tail[i]) return false;
  }
  return true;
}

// Where the file name of path starts: after its last separator.
std::size_t name_start(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

// path without its extension (".pcf.gz" counts as one), so that "fixed.pcf.gz"
// gives "fixed". A leading dot is part of the name, not an extension.
std::string stem_of(std::string path) {
  if (ends_with(path, ".gz")) path.resize(path.size() - 3);
  const std::size_t start = name_start(path);
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && dot > start) path.resize(dot);
  return path;
}

std::uint32_t format_number(FontFileKind kind) {
  switch (kind) {
    case FontFileKind::kBdf:
      return VELLICOR_FORMAT_BDF;
    case FontFileKind::kPcf:
      return VELLICOR_FORMAT_PCF;
    case FontFileKind::kPsf1:
    case FontFileKind::kPsf2:
      return VELLICOR_FORMAT_PSF;
    case FontFileKind::kOtb:
      return VELLICOR_FORMAT_OTB;
    case FontFileKind::kTtf:
      return VELLICOR_FORMAT_TTF;
    case FontFileKind::kFon:
      return VELLICOR_FORMAT_FON;
  }
  return VELLICOR_FORMAT_BDF;
}

const char* layout_word(const FontDrawing& drawing) {
  if (drawing.strip) return "strip";
  return drawing.layout == DrawLayout::kMarks ? "marks" : "grid";
}

// Whether the conversion's -f can carry name: a value that does not begin
// with '-' (which would read as an option), holds no control character and
// is short enough. X11's long names ("-misc-fixed-...") cannot.
bool option_can_carry(const std::string& name) {
  if (name.empty() || name.front() == '-' || name.size() > kMaxPathLength) return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// A FON's codes are Windows-1252 bytes. Counting up by one they go back as
// bytes (-v); otherwise they go into the list as the characters they stand
// for, which the FON writer turns into the same bytes again. The code page's
// five undefined bytes stay as they are, and the FON writer names them as
// left out.
void take_fon_bytes_as_characters(LoadedFont& font) {
  if (font.kind != FontFileKind::kFon || font.unicode ||
      codes_count_up(font, glyphs_with_code(font))) {
    return;
  }
  CharacterList code_page;
  if (failed(charset_list(VELLICOR_CHARSET_CP1252, code_page, nullptr))) return;
  constexpr std::int64_t kFirstListed = 0x20;  // the code page list's first byte
  for (LoadedGlyph& glyph : font.glyphs) {
    const std::int64_t at = glyph.code - kFirstListed;
    if (at < 0 || at >= static_cast<std::int64_t>(code_page.characters.size())) continue;
    const ListedCharacter& character = code_page.characters[static_cast<std::size_t>(at)];
    if (!character.is_hole) glyph.code = character.code_point;
  }
  font.unicode = true;
}

bool same_path(const std::string& first, const std::string& second) {
  return first == second || paths_name_one_file(first.c_str(), second.c_str());
}

ResultCode write_text_file(const std::string& path, const std::string& text, ErrorDetail* detail) {
  OutputFile file(system_file_system());
  ResultCode result = file.create(path.c_str(), detail);
  if (failed(result)) return result;
  result = file.write_exact(text.data(), text.size(), detail);
  if (failed(result)) return result;
  return file.commit(detail);
}

// The name the conversion back writes its font under: the picture's name
// with the format's extension, or, when that is the font drawn, the same
// with "-edited" so the font drawn is never replaced.
ResultCode name_font_back(const FontDrawingRequest& request, const std::string& picture,
                          std::uint32_t format, FontDrawingOutcome& outcome, ErrorDetail* detail) {
  char derived[kPathBufferSize];
  const ResultCode result = derive_font_name(picture.c_str(), format, derived, detail);
  if (failed(result)) return result;
  if (!same_path(derived, request.font_path)) return ResultCode::kOk;
  outcome.arguments.emplace_back("-o");
  outcome.arguments.push_back(stem_of(picture) + "-edited" + font_extension(format));
  return ResultCode::kOk;
}

}  // namespace

ResultCode draw_font_file(const FontDrawingRequest& request, FontDrawingOutcome& outcome,
                          ErrorDetail* detail) {
  outcome = FontDrawingOutcome{};
  if (request.font_path == nullptr || *request.font_path == '\0') {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kBadArgument);
  }
  LoadedFont font;
  FontReadProblem problem;
  ResultCode result =
      read_font_file(system_file_system(), request.font_path, font, detail, &problem);
  outcome.damaged_line = problem.line;
  if (failed(result)) {
    outcome.failed_path = request.font_path;
    return result;
  }

  take_fon_bytes_as_characters(font);
  // An OTB's or TTF's glyph 0 is its .notdef, which every such font has and
  // which the conversion back writes again: no glyph is lost with it.
  const bool sfnt = font.kind == FontFileKind::kOtb || font.kind == FontFileKind::kTtf;
  if (sfnt && font.glyphs_without_code > 0) --font.glyphs_without_code;

  DrawRequest draw_request;
  draw_request.layout = request.layout == DrawLayoutChoice::kGrid    ? DrawLayout::kGrid
                        : request.layout == DrawLayoutChoice::kMarks ? DrawLayout::kMarks
                                                                     : DrawLayout::kAuto;
  draw_request.columns = request.columns;
  FontDrawing drawing;
  result = draw_font(font, draw_request, drawing, detail);
  if (failed(result)) return result;

  const bool png = writes_png_pictures();
  std::string picture = request.picture_path != nullptr ? request.picture_path : "";
  if (picture.empty()) picture = stem_of(request.font_path) + ".png";
  // A build without a PNG encoder, and the plain conversion's strip, save
  // BMP, under a name that says so.
  const bool bmp_only = !png || drawing.one_bit_bmp;
  if (bmp_only && ends_with(picture, ".png")) picture = stem_of(picture) + ".bmp";
  const bool as_bmp = bmp_only || ends_with(picture, ".bmp");
  std::string list;
  if (!drawing.list_text.empty()) {
    list = stem_of(picture) + ".txt";
    // Neither a font kept under a ".txt" name nor a picture saved under one
    // is replaced by the list.
    if (same_path(list, request.font_path) || list == picture) {
      list = stem_of(picture) + "-chars.txt";
    }
  }
  outcome.failed_writing = true;
  outcome.failed_path = picture;
  if (same_path(picture, request.font_path)) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }

  result = as_bmp
               ? write_bmp_picture(system_file_system(), picture.c_str(), drawing.picture, detail)
               : write_png_picture(system_file_system(), picture.c_str(), drawing.picture, detail);
  if (failed(result)) return result;
  if (!list.empty()) {
    result = write_text_file(list, drawing.list_text, detail);
    if (failed(result)) {
      outcome.failed_path = list;
      system_file_system().remove(picture.c_str());
      return result;
    }
  }
  outcome.failed_writing = false;
  outcome.failed_path.clear();

  outcome.picture_path = picture;
  outcome.list_path = list;
  outcome.layout = layout_word(drawing);
  outcome.glyphs = drawing.glyphs;
  if (option_can_carry(font.font_name)) {
    if (font.font_name != "No-Name-Font") outcome.arguments = {"-f", font.font_name};
  } else if (!font.font_name.empty()) {
    std::string sentence = "The font's name \"";
    sentence += font.font_name;
    sentence +=
        "\": -f cannot carry a name that begins with a dash or holds a control character, so "
        "the font converted back takes the name -f gives it (No-Name-Font without one).";
    outcome.lost.push_back(sentence);
  }
  outcome.arguments.insert(outcome.arguments.end(), drawing.options.begin(), drawing.options.end());
  if (!list.empty()) {
    outcome.arguments.emplace_back("--chars-file");
    outcome.arguments.push_back(list);
  }
  // BDF is the conversion's default; every other format's keyword is its
  // extension without the dot.
  if (font.kind != FontFileKind::kBdf) {
    outcome.arguments.emplace_back("--format");
    outcome.arguments.emplace_back(font_extension(format_number(font.kind)) + 1);
  }
  result = name_font_back(request, picture, format_number(font.kind), outcome, detail);
  if (failed(result)) return result;
  outcome.lost.insert(outcome.lost.end(), drawing.lost.begin(), drawing.lost.end());
  return ResultCode::kOk;
}

}  // namespace vellicor
