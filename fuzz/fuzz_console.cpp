// Fuzz target: cvellicor's argument handling and the conversion driver, from
// an argument list (the input split at NUL bytes). Files live in memory: the
// current directory holds a picture that converts, one without an extension,
// and a file that is no picture; whatever paths the arguments name, no disk is
// touched.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "console/command_line.hpp"
#include "console/field_provider.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/messages.hpp"
#include "engine/api/convert.hpp"
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

// The engine's own converter, with convert pointed at the memory files.
ResultCode make_memory_converter(std::uint32_t reserved, ConverterIid iid, Converter** out) {
  const ResultCode result = vellicor::create_converter(reserved, iid, out);
  if (vellicor::succeeded(result)) (*out)->slots.convert = convert_in_memory;
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

// The console's field provider gets the command line; the busy and message
// entries record what happened instead of ending the process.
struct Host {
  vellicor::console::CommandLine line;
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

const std::set<std::string>& known_messages() {
  static const std::set<std::string> kTexts = [] {
    std::set<std::string> texts;
    for (int value = 0; value <= static_cast<int>(Message::kConversionFailed); ++value) {
      texts.insert(vellicor::message_text(static_cast<Message>(value)));
    }
    return texts;
  }();
  return kTexts;
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

  Host host{{static_cast<int>(words.size()), arguments.data()}, {}};
  const vellicor::console::ShapeCheck shape = vellicor::console::check_shape(host.line);
  require((shape.problem == vellicor::console::ShapeProblem::kNoArguments) == (words.size() == 1),
          "only a bare program name lacks arguments");
  if (shape.problem != vellicor::console::ShapeProblem::kNone) return 0;

  const std::set<std::string> before = present_files();
  const vellicor::HostCallbacks callbacks = {&host_begin, &host_end, &host_report, &host_field};
  const vellicor::ResultCode result =
      vellicor::run_conversion(&callbacks, &host, &make_memory_converter);
  const Observed& seen = host.observed;

  require(seen.begun == seen.ended && seen.begun <= 1, "busy notifications pair up");
  require(files().open_handles() == 0, "every file is closed");
  const std::vector<std::string> written = written_files();
  if (vellicor::succeeded(result)) {
    require(seen.messages.empty(), "a successful run reports nothing");
    require(seen.begun == 1, "a conversion runs under a busy notification");
    require(written.size() == 1, "a successful run writes one font");
    vellicor::fuzz::BdfStreamCheck& font = *files().written(written[0]);
    const bool well_formed = font.finish();
    require(well_formed, "the font is well formed:", font.problem().c_str());
  } else {
    require(seen.messages.size() == 1, "a failed run reports one message");
    require(known_messages().count(seen.messages[0]) == 1, "the message is one of the table's",
            seen.messages[0].c_str());
    require(written.empty() && present_files() == before, "a failed run leaves no file behind");
  }
  files().forget_written();
  add_seed_files();
  return 0;
}
