// The engine's entry points for the web page's worker. A run goes through the
// same conversion driver as the console's, with the page's fields in place of
// a command line, so the page writes the same bytes and shows the same
// messages. The worker calls these one at a time (one thread), so the state
// of the last run lives here until the next one. The page's build has no C++
// exceptions: where memory runs out here the engine stops, and the worker
// answers as the console does and starts a new one.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "driver/conversion_driver.hpp"
#include "driver/host_callbacks.hpp"
#include "driver/ink_rule_names.hpp"
#include "driver/layout_names.hpp"
#include "driver/messages.hpp"
#include "vellicor/internal/picture_ink.hpp"
#include "web/glyph_json.hpp"

namespace {

using vellicor::FieldAnswer;
using vellicor::FieldId;

// A page field named as the console's option, and the driver field it fills.
struct NamedField {
  std::string_view name;
  FieldId id;
};

constexpr NamedField kNamedFields[] = {
    {"font-name", vellicor::FieldFontName},
    {"first-code", vellicor::FieldFirstGlyph},
    {"allowed-blank", vellicor::FieldAllowedBlankColumns},
    {"descent", vellicor::FieldDescent},
    {"fixed-width", vellicor::FieldFixedWidth},
    {"upper-blank", vellicor::FieldUpperBlank},
    {"lower-blank", vellicor::FieldLowerBlank},
    {"leading-blank", vellicor::FieldLeadingBlank},
    {"trailing-blank", vellicor::FieldTrailingBlank},
    {"chars", vellicor::FieldChars},
    {"blank-advance", vellicor::FieldBlankAdvance},
    {"ink", vellicor::FieldInkRule},
    {"rows", vellicor::FieldRows},
    {"grid", vellicor::FieldGridCell},
    {"grid-origin", vellicor::FieldGridOrigin},
    {"grid-gap", vellicor::FieldGridGap},
    {"proportional", vellicor::FieldProportional},
    {"charset", vellicor::FieldCharset},
    {"format", vellicor::FieldFormat},
    {"picture", vellicor::FieldInputPath},
};

// Everything one run reads and leaves behind.
struct PageRun {
  std::map<FieldId, std::string> fields;
  bool marks = false;
  std::string message;  // the first refusal, as the console prints it
  std::string notice;
  std::string cut_json;
  vellicor::InkBits ink;
};

PageRun& page_run() {
  static PageRun run;
  return run;
}

// The layout field follows from the others, as the console's long options
// make it: a grid cell means a grid, --marks a marked strip.
const std::string* layout_of(const PageRun& run) {
  static const std::string grid = vellicor::layout_keyword(VELLICOR_LAYOUT_GRID);
  static const std::string marks = vellicor::layout_keyword(VELLICOR_LAYOUT_MARKS);
  if (run.fields.contains(vellicor::FieldGridCell)) return &grid;
  if (run.marks) return &marks;
  return nullptr;
}

FieldAnswer get_page_field(void* context, FieldId id, char* buffer, std::uint32_t size) {
  if (context == nullptr || buffer == nullptr || size < 2) return FieldAnswer::kBadRequest;
  std::memset(buffer, 0, size);
  const auto& run = *static_cast<const PageRun*>(context);
  const std::string* value = nullptr;
  if (id == vellicor::FieldLayout) {
    value = layout_of(run);
  } else if (const auto found = run.fields.find(id); found != run.fields.end()) {
    value = &found->second;
  }
  if (value == nullptr) return FieldAnswer::kNotSupplied;
  if (value->size() >= size) return FieldAnswer::kTextTooLong;
  std::memcpy(buffer, value->c_str(), value->size() + 1);
  return FieldAnswer::kSupplied;
}

void keep_message(void* context, const char* text) {
  auto& run = *static_cast<PageRun*>(context);
  if (run.message.empty() && text != nullptr) run.message = text;
}

void keep_notice(void* context, const char* text) {
  if (text != nullptr) static_cast<PageRun*>(context)->notice = text;
}

void no_busy(void*) {}

constexpr vellicor::HostCallbacks kPageCallbacks = {
    &no_busy, &no_busy, &keep_message, &get_page_field, &keep_notice,
};

// Collects the glyphs of a cut as JSON.
std::int32_t VELLICOR_CALL collect_glyph(void* context, const GlyphInfo* glyph) {
  static_cast<vellicor::web::GlyphJson*>(context)->add(*glyph);
  return 0;
}

void start_run(PageRun& run) {
  run.message.clear();
  run.notice.clear();
}

}  // namespace

extern "C" {

// Forgets every field of the last run.
EMSCRIPTEN_KEEPALIVE void vellicor_web_clear_fields() {
  page_run().fields.clear();
  page_run().marks = false;
}

// Sets the field the console's option `name` sets ("font-name", "chars",
// "marks"...; "picture" is the picture's path). Returns 0, or -1 for a name
// no option has.
EMSCRIPTEN_KEEPALIVE int vellicor_web_set_field(const char* name, const char* value) {
  if (name == nullptr || value == nullptr) return -1;
  PageRun& run = page_run();
  const std::string_view wanted(name);
  if (wanted == "marks") {
    run.marks = true;
    return 0;
  }
  for (const NamedField& field : kNamedFields) {
    if (field.name != wanted) continue;
    run.fields[field.id] = value;
    return 0;
  }
  return -1;
}

// Converts the picture with the fields set; 0 when the font was written
// beside it, 1 when refused (vellicor_web_message tells why).
EMSCRIPTEN_KEEPALIVE int vellicor_web_convert() {
  PageRun& run = page_run();
  start_run(run);
  const auto result = vellicor::run_conversion(&kPageCallbacks, &run);
  if (vellicor::succeeded(result)) return 0;
  if (run.message.empty()) run.message = "The conversion failed.";
  return 1;
}

// Cuts the picture as the conversion would, writing nothing; the glyphs and
// the report wait in vellicor_web_cut_json. 0 when the cut succeeded.
EMSCRIPTEN_KEEPALIVE int vellicor_web_cut() {
  PageRun& run = page_run();
  start_run(run);
  ConversionReport report{};
  report.size = sizeof report;
  vellicor::web::GlyphJson glyphs;
  const auto result = vellicor::run_listing(&kPageCallbacks, &run, &collect_glyph, &glyphs,
                                            &vellicor::create_converter, &report);
  run.cut_json = glyphs.finish(report);
  return vellicor::succeeded(result) ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE const char* vellicor_web_cut_json() { return page_run().cut_json.c_str(); }

EMSCRIPTEN_KEEPALIVE const char* vellicor_web_message() { return page_run().message.c_str(); }

EMSCRIPTEN_KEEPALIVE const char* vellicor_web_notice() { return page_run().notice.c_str(); }

// Reads the picture's ink under the rule named by the ink field ("black"
// when none); 0 on success, when vellicor_web_ink_* describe it.
EMSCRIPTEN_KEEPALIVE int vellicor_web_read_ink() {
  PageRun& run = page_run();
  std::uint32_t rule = VELLICOR_INK_BLACK;
  if (const auto named = run.fields.find(vellicor::FieldInkRule); named != run.fields.end()) {
    if (vellicor::failed(vellicor::parse_ink_rule(named->second.c_str(), rule))) return 1;
  }
  const auto picture = run.fields.find(vellicor::FieldInputPath);
  if (picture == run.fields.end()) return 1;
  vellicor::InkBits ink;
  if (vellicor::failed(vellicor::read_ink_bits(picture->second.c_str(), rule, ink, nullptr))) {
    return 1;
  }
  run.ink = std::move(ink);
  return 0;
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* vellicor_web_ink_bits() {
  return page_run().ink.bits.data();
}
EMSCRIPTEN_KEEPALIVE std::uint32_t vellicor_web_ink_width() { return page_run().ink.width_px; }
EMSCRIPTEN_KEEPALIVE std::uint32_t vellicor_web_ink_height() { return page_run().ink.height_px; }
EMSCRIPTEN_KEEPALIVE std::uint32_t vellicor_web_ink_stride() { return page_run().ink.stride_bytes; }

// What the console says when memory runs out: the worker keeps it for a run
// that stops the engine.
EMSCRIPTEN_KEEPALIVE const char* vellicor_web_out_of_memory_message() {
  static const std::string text =
      vellicor::failure_text(vellicor::ErrorDetail::kOutOfMemory, ConversionReport{});
  return text.c_str();
}

// Frees the last run's glyphs and ink once the worker has copied them.
EMSCRIPTEN_KEEPALIVE void vellicor_web_release() {
  PageRun& run = page_run();
  std::string().swap(run.cut_json);
  run.ink = {};
}

}  // extern "C"
