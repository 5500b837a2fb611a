// The scripted host and the fake converter used by the driver tests.
#include "tests/driver/scripted_host.hpp"

#include <cstring>

#include "engine/core/limits.hpp"

namespace vellicor::test {
namespace {

FakeConverterScript* current_script = nullptr;

// Standard layout with the Converter first, so a Converter* is a FakeConverter*.
struct FakeConverter {
  Converter base;
  FakeConverterScript* script;
};

FakeConverter* fake_of(Converter* self) { return reinterpret_cast<FakeConverter*>(self); }

void record(FakeConverterScript& script, const char* event) {
  if (script.events != nullptr) script.events->push_back(event);
}

std::int32_t fake_retain(Converter* self) { return ++self->ref_count; }

std::int32_t fake_release(Converter* self) {
  FakeConverter* fake = fake_of(self);
  record(*fake->script, "release");
  const std::int32_t count = --self->ref_count;
  if (count == 0) {
    --fake->script->live_objects;
    delete fake;
  }
  return count;
}

::ResultCode fake_query(Converter* self, ConverterIid, Converter** out) {
  *out = self;
  fake_retain(self);
  return 0;
}

::ResultCode fake_convert(Converter* self, const ConversionPaths* paths,
                          const ConversionOptions* options, ::ErrorDetail* detail) {
  FakeConverterScript& script = *fake_of(self)->script;
  record(script, "convert");
  ConvertCall call;
  call.input_path = paths->input_path != nullptr ? paths->input_path : "<null>";
  call.output_path = paths->output_path != nullptr ? paths->output_path : "<null>";
  if (options->font_name != nullptr) call.font_name = options->font_name;
  call.options = *options;
  script.calls.push_back(call);
  if (failed(script.convert_result) && detail != nullptr) *detail = script.convert_detail;
  return to_int(script.convert_result);
}

}  // namespace

ScriptedHost::ScriptedHost()
    : callbacks_{&begin_busy, &end_busy, &report_message, &get_field, &report_notice} {}

void ScriptedHost::begin_busy(void* context) {
  static_cast<ScriptedHost*>(context)->events_.push_back("begin_busy");
}

void ScriptedHost::end_busy(void* context) {
  static_cast<ScriptedHost*>(context)->events_.push_back("end_busy");
}

void ScriptedHost::report_message(void* context, const char* text) {
  static_cast<ScriptedHost*>(context)->events_.push_back(std::string("report:") + text);
}

void ScriptedHost::report_notice(void* context, const char* text) {
  static_cast<ScriptedHost*>(context)->events_.push_back(std::string("notice:") + text);
}

FieldAnswer ScriptedHost::get_field(void* context, FieldId id, char* buffer, std::uint32_t size) {
  auto& host = *static_cast<ScriptedHost*>(context);
  host.requested_.push_back(id);
  host.buffer_sizes_.push_back(size);
  std::memset(buffer, 0, size);
  const auto found = host.answers_.find(id);
  if (found == host.answers_.end()) return FieldAnswer::kNotSupplied;
  const ScriptedAnswer& reply = found->second;
  if (!reply.terminated) {
    std::memset(buffer, 'x', size);
  } else if (reply.text.size() < size) {
    std::memcpy(buffer, reply.text.c_str(), reply.text.size() + 1);
  }
  return reply.result;
}

FakeConverterScope::FakeConverterScope(FakeConverterScript& script) { current_script = &script; }
FakeConverterScope::~FakeConverterScope() { current_script = nullptr; }

ResultCode make_fake_converter(std::uint32_t, ConverterIid iid, Converter** out) {
  *out = nullptr;
  FakeConverterScript& script = *current_script;
  record(script, "create");
  if (iid != IidConverter) return ResultCode::kNoInterface;
  if (failed(script.create_result)) return script.create_result;
  auto* fake = new FakeConverter{};
  fake->base.ops = &fake->base.slots;
  fake->base.ref_count = 1;
  fake->base.slots = ConverterOps{&fake_retain, &fake_release, &fake_query, &fake_convert};
  fake->script = &script;
  ++script.live_objects;
  *out = &fake->base;
  return ResultCode::kOk;
}

}  // namespace vellicor::test
