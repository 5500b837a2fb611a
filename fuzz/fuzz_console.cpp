// Fuzz target: cvellicor's argument handling and the conversion driver, from
// an argument list (the input split at NUL bytes), with the short options
// alone or with the long ones (character lists, ink rules, --list) as the
// program takes them. Files live in memory: the current directory holds a
// picture that converts, one without an extension, and a file that is no
// picture; whatever paths the arguments name, no disk is touched.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "console/command_line.hpp"
#include "console/console_messages.hpp"
#include "console/field_provider.hpp"
#include "console/long_options.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/messages.hpp"
#include "engine/api/convert.hpp"
#include "engine/api/versioned_records.hpp"
#include "fuzz/fuzz_check.hpp"
#include "fuzz/memory_file_system.hpp"
#include "vellicor/internal/converter_factory.hpp"

namespace {

using vellicor::Message;
using vellicor::ResultCode;
using vellicor::fuzz::require;

constexpr std::size_t kMostArguments = 64;

// One file layer for the whole run: the converter slot below has no other
// way to reach it.
vellicor::fuzz::MemoryFileSystem& files() {
  static vellicor::fuzz::MemoryFileSystem kFiles;
  return kFiles;
}

::ResultCode VELLICOR_CALL convert_in_memory(Converter*, const ConversionPaths* paths,
                                             const ConversionOptions* options,
                                             ::ErrorDetail* detail) {
  vellicor::ErrorDetail inner = vellicor::ErrorDetail::kNone;
  const ResultCode result = vellicor::convert_file(files(), paths, options, &inner);
  if (vellicor::failed(result) && detail != nullptr) *detail = vellicor::to_int(inner);
  return vellicor::to_int(result);
}

::ResultCode VELLICOR_CALL convert_plain_ex_in_memory(ConverterEx* self,
                                                      const ConversionPaths* paths,
                                                      const ConversionOptions* options,
                                                      ::ErrorDetail* detail) {
  return convert_in_memory(reinterpret_cast<Converter*>(self), paths, options, detail);
}

::ResultCode VELLICOR_CALL convert_ex_in_memory(ConverterEx*, const ConversionPaths* paths,
                                                const ConversionOptions* options,
                                                const ConversionSettings* settings,
                                                ConversionReport* report, ::ErrorDetail* detail) {
  ConversionReport full = vellicor::empty_report();
  vellicor::ErrorDetail inner = vellicor::ErrorDetail::kNone;
  const ResultCode result = vellicor::convert_ex_file(
      files(), paths, options, vellicor::read_settings(settings), full, &inner);
  vellicor::write_report(full, report);
  if (vellicor::failed(result) && detail != nullptr) *detail = vellicor::to_int(inner);
  return vellicor::to_int(result);
}

::ResultCode VELLICOR_CALL cut_in_memory(ConverterEx*, const char* input_path,
                                         const ConversionOptions* options,
                                         const ConversionSettings* settings, GlyphCallback callback,
                                         void* callback_context, ConversionReport* report,
                                         ::ErrorDetail* detail) {
  ConversionReport full = vellicor::empty_report();
  vellicor::ErrorDetail inner = vellicor::ErrorDetail::kNone;
  const ResultCode result =
      vellicor::cut_file(files(), input_path, options, vellicor::read_settings(settings), callback,
                         callback_context, full, &inner);
  vellicor::write_report(full, report);
  if (vellicor::failed(result) && detail != nullptr) *detail = vellicor::to_int(inner);
  return vellicor::to_int(result);
}

// The engine's own converter, with its file work pointed at the memory files.
ResultCode make_memory_converter(std::uint32_t reserved, ConverterIid iid, Converter** out) {
  const ResultCode result = vellicor::create_converter(reserved, iid, out);
  if (vellicor::failed(result)) return result;
  if (iid == IidConverterEx) {
    ConverterEx* extended = reinterpret_cast<ConverterEx*>(*out);
    extended->slots.convert = convert_plain_ex_in_memory;
    extended->slots.convert_ex = convert_ex_in_memory;
    extended->slots.cut = cut_in_memory;
  } else {
    (*out)->slots.convert = convert_in_memory;
  }
  return result;
}

// What the host saw of one run.
struct Observed {
  int begun = 0;
  int ended = 0;
  std::vector<std::string> messages;
};

void begin_busy(void* context) { ++static_cast<Observed*>(context)->begun; }
void end_busy(void* context) { ++static_cast<Observed*>(context)->ended; }
void report_message(void* context, const char* text) {
  static_cast<Observed*>(context)->messages.emplace_back(text == nullptr ? "" : text);
}

// The console's field providers get the command line; the busy and message
// entries record what happened instead of ending the process.
struct Host {
  vellicor::console::CommandLine line;
  Observed observed;
};

struct ExtendedHost {
  vellicor::console::ExtendedCommandLine request;
  Observed observed;
};

vellicor::FieldAnswer host_field(void* context, vellicor::FieldId id, char* buffer,
                                 std::uint32_t size) {
  return vellicor::console::get_console_field(&static_cast<Host*>(context)->line, id, buffer, size);
}

void host_begin(void* context) { begin_busy(&static_cast<Host*>(context)->observed); }
void host_end(void* context) { end_busy(&static_cast<Host*>(context)->observed); }
void host_report(void* context, const char* text) {
  report_message(&static_cast<Host*>(context)->observed, text);
}

vellicor::FieldAnswer extended_field(void* context, vellicor::FieldId id, char* buffer,
                                     std::uint32_t size) {
  return vellicor::console::get_extended_console_field(
      &static_cast<ExtendedHost*>(context)->request, id, buffer, size);
}

void extended_begin(void* context) { begin_busy(&static_cast<ExtendedHost*>(context)->observed); }
void extended_end(void* context) { end_busy(&static_cast<ExtendedHost*>(context)->observed); }
void extended_report(void* context, const char* text) {
  report_message(&static_cast<ExtendedHost*>(context)->observed, text);
}

// Counts the glyph lines a listing would print.
std::int32_t VELLICOR_CALL count_glyph(void* context, const GlyphInfo* glyph) {
  require(glyph != nullptr, "a listed glyph is there");
  ++*static_cast<int*>(context);
  return 0;
}

// Every fixed message the console prints, as the README gives them: the
// driver's and the command line's.
const std::set<std::string>& fixed_messages() {
  static const std::set<std::string> kTexts = {
      "Bad input VTable",
      "Bad input file name",
      "BMP file name exceeds max length",
      "BDF file name exceeds max length",
      "Invalid Blank Pixels Value",
      "Invalid 1st Glyph Value",
      "Invalid Descent Pixels Value",
      "Invalid Upper Blank Value",
      "Invalid Leading Blank Value",
      "Invalid Trailing Blank Value",
      "Invalid Lower Blank Value",
      "Invalid Font Name Value",
      "Invalid Input File Type",
      "Error in File Access During Operation",
      "File Name Length is too long",
      "File Data not supported at this time",
      "Invalid or Unusable Input File Contents",
      "Out of memory for this operation",
      "Failed to generate font from bitmap bits",
      "Error converting BMP to BDF",
      "Error:",
      "Unexpected Option starting from here:",
      "No File Name Given Here:",
      "Character list is too long",
      "Invalid Blank Advance Value",
      "Invalid Ink Rule Value",
      "The character list is not valid UTF-8 text",
      "The character list names a character twice",
      "The character list is empty",
      "The character list names only blank characters",
      "The picture and the character list differ in number of glyphs",
      "This option needs a value (one that begins with '-' goes after '=', as in --chars=-x):",
      "This option takes no value:",
      "This option is given twice:",
      "Give the character list with --chars or --chars-file, not both:",
      "Cannot read the character list file:",
      "Picture too large to read: over 16777216 pixels a side, or more than its file size allows",
      "PNG file ends too early: it is cut short",
      "PNG file is damaged: a chunk fails its checksum",
      "PNG file is damaged: its compressed image data is broken",
      "PNG file is broken: impossible header values or chunk layout",
      "BMP file is damaged: its RLE codes jump past the picture",
      "Font too large for its picture",
      "The font would overwrite the character list file:",
  };
  return kTexts;
}

// Whether text is pattern, where '#' stands for one or more decimal digits,
// '%' for one or more upper-case hex digits and '*' for one or more bytes.
bool matches(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return text.empty();
  const char token = pattern.front();
  const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  const auto is_hex = [&](char c) { return is_digit(c) || (c >= 'A' && c <= 'F'); };
  if (token == '#' || token == '%' || token == '*') {
    for (std::size_t taken = 1; taken <= text.size(); ++taken) {
      const char c = text[taken - 1];
      if (token == '#' && !is_digit(c)) return false;
      if (token == '%' && !is_hex(c)) return false;
      if (matches(text.substr(taken), pattern.substr(1))) return true;
    }
    return false;
  }
  return !text.empty() && text.front() == token && matches(text.substr(1), pattern.substr(1));
}

// A fixed message, or one of those that tell what the report found.
bool is_known_message(const std::string& text) {
  if (fixed_messages().count(text) == 1) return true;
  static const std::vector<std::string> kFilledIn = [] {
    std::vector<std::string> forms = {
        "The character list names U+% twice",
        "The character list names U+% '*' twice",
        "The character list is not valid UTF-8 text (at byte #)",
        "The character list holds a NUL byte (at byte #)",
        "No pixel of the picture counts as ink under --ink *; try --ink *",
        "Every pixel of the picture counts as ink under --ink *; try --ink *",
    };
    // A descent of the font's whole height or more: "of 1 line", "of 5 lines".
    for (const char* lines : {"line", "lines"}) {
      forms.push_back(
          std::string("The descent leaves no line above the baseline: it must be less than the "
                      "font's height of # ") +
          lines);
    }
    for (const char* glyphs : {"glyph", "glyphs"}) {
      const std::string counts =
          std::string("The picture holds # ") + glyphs + " but the character list names #";
      forms.push_back(counts);
      forms.push_back(counts + " (besides # blank character, which takes no glyph)");
      forms.push_back(counts + " (besides # blank characters, which take no glyph)");
    }
    return forms;
  }();
  for (const std::string& form : kFilledIn) {
    if (matches(text, form)) return true;
  }
  return false;
}

std::set<std::string> present_files() {
  const std::vector<std::string> paths = files().paths();
  return std::set<std::string>(paths.begin(), paths.end());
}

// The files every run starts with, in the current directory. A run may
// replace one of them with its font, so they are put back after each run.
void add_seed_files() {
  char directory[4096];
  const std::string here = getcwd(directory, sizeof directory) != nullptr ? directory : "/";
  const std::string base = here == "/" ? std::string() : here;
  files().add_directory(here);
  files().add_file(base + "/strip.bmp", vellicor::fuzz::sample_picture());
  files().add_file(base + "/strip", vellicor::fuzz::sample_picture());
  files().add_file(base + "/notes.txt", {'B', 'Z', '0', '0'});
}

// The fonts a run wrote, by path.
std::vector<std::string> written_files() {
  std::vector<std::string> written;
  for (const std::string& path : files().paths()) {
    if (files().written(path) != nullptr) written.push_back(path);
  }
  return written;
}

// What a run makes: a font the stream check reads (the plain font, also
// the extended conversion's without a list), a Unicode font, or a listing.
enum class Outcome { kPlainFont, kFramedFont, kUnicodeFont, kListing };

// What a run of the driver must leave: paired busy notifications, closed
// files, and either what the run makes and no message or one message the
// console prints and no file.
void check_run(ResultCode result, const Observed& seen, const std::set<std::string>& before,
               Outcome outcome) {
  require(seen.begun == seen.ended && seen.begun <= 1, "busy notifications pair up");
  require(files().open_handles() == 0, "every file is closed");
  const std::vector<std::string> written = written_files();
  if (vellicor::succeeded(result)) {
    require(seen.messages.empty(), "a successful run reports nothing");
    if (outcome == Outcome::kListing) {
      require(written.empty(), "a listing writes no font");
      return;
    }
    require(seen.begun == 1, "a conversion runs under a busy notification");
    require(written.size() == 1, "a successful conversion writes one font");
    if (outcome == Outcome::kPlainFont || outcome == Outcome::kFramedFont) {
      vellicor::fuzz::BdfStreamCheck& font = *files().written(written[0]);
      const bool well_formed = font.finish();
      require(well_formed, "the font is well formed:", font.problem().c_str());
      require(outcome != Outcome::kFramedFont || font.framed_by_ink(),
              "every glyph of an extended conversion lies in the font's box");
    }
  } else {
    require(seen.messages.size() == 1, "a failed run reports one message");
    require(is_known_message(seen.messages[0]), "the message is one the console prints",
            seen.messages[0].c_str());
    require(written.empty() && present_files() == before, "a failed run leaves no file behind");
  }
}

// The plain command line, as cvellicor runs it without long options.
void run_plain(const vellicor::console::CommandLine& line, std::size_t word_count) {
  const vellicor::console::ShapeCheck shape = vellicor::console::check_shape(line);
  require((shape.problem == vellicor::console::ShapeProblem::kNoArguments) == (word_count == 1),
          "only a bare program name lacks arguments");
  if (shape.problem != vellicor::console::ShapeProblem::kNone) return;

  Host host{line, {}};
  const std::set<std::string> before = present_files();
  const vellicor::HostCallbacks callbacks = {&host_begin, &host_end, &host_report, &host_field,
                                             nullptr};
  const ResultCode result = vellicor::run_conversion(&callbacks, &host, &make_memory_converter);
  check_run(result, host.observed, before, Outcome::kPlainFont);
}

// A command line with long options, taken as cvellicor takes it: one walk
// over every option, then the extended conversion or the listing.
void run_with_long_options(const vellicor::console::CommandLine& line) {
  vellicor::console::LongOptions options;
  std::vector<char*> rest;
  const vellicor::console::LongOptionScan scan =
      vellicor::console::scan_command_line(line, options, rest);
  if (!scan.ok) {
    require(is_known_message(vellicor::console::console_message_text(scan.problem)),
            "a refused long option has a message the console prints");
    require(scan.shown != nullptr, "a refused long option names the argument");
    return;
  }
  if (options.help || options.version) return;

  ExtendedHost host{{{static_cast<int>(rest.size()), rest.data()},
                     options.chars,
                     options.blank_advance,
                     options.ink},
                    {}};
  require(host.request.line.count >= 2, "a command line that passed the walk has a picture");
  // The list file would be read from the disk, which a fuzzer leaves alone.
  if (options.chars_file != nullptr) return;

  const std::set<std::string> before = present_files();
  const vellicor::HostCallbacks callbacks = {&extended_begin, &extended_end, &extended_report,
                                             &extended_field, nullptr};
  if (options.list) {
    int listed = 0;
    const ResultCode result =
        vellicor::run_listing(&callbacks, &host, &count_glyph, &listed, &make_memory_converter);
    check_run(result, host.observed, before, Outcome::kListing);
    require(vellicor::failed(result) || listed > 0, "a listing that succeeds lists a glyph");
  } else {
    const ResultCode result = vellicor::run_conversion(&callbacks, &host, &make_memory_converter);
    check_run(result, host.observed, before,
              options.chars != nullptr ? Outcome::kUnicodeFont : Outcome::kFramedFont);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  add_seed_files();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words = {"cvellicor"};
  std::string word;
  for (std::size_t at = 0; at < size && words.size() < kMostArguments; ++at) {
    if (data[at] == 0) {
      words.push_back(word);
      word.clear();
    } else {
      word.push_back(static_cast<char>(data[at]));
    }
  }
  if (size > 0 && words.size() < kMostArguments) words.push_back(word);
  std::vector<char*> arguments;
  arguments.reserve(words.size() + 1);
  for (std::string& text : words) arguments.push_back(text.data());
  arguments.push_back(nullptr);

  const vellicor::console::CommandLine line{static_cast<int>(words.size()), arguments.data()};
  bool has_long_option = false;
  for (std::size_t index = 1; index < words.size(); ++index) {
    has_long_option = has_long_option || vellicor::console::is_long_option(arguments[index]);
  }
  if (has_long_option) {
    run_with_long_options(line);
  } else {
    run_plain(line, words.size());
  }
  files().forget_written();
  add_seed_files();
  return 0;
}
