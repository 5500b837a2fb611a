// A HostCallbacks provider that answers from a script and records every call,
// and a fake Converter whose convert records what it was handed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "driver/conversion_driver.hpp"
#include "driver/host_callbacks.hpp"

namespace vellicor::test {

// What the provider answers for one field.
struct ScriptedAnswer {
  FieldAnswer result = FieldAnswer::kSupplied;
  std::string text;
  bool terminated = true;  // false: fill the whole buffer without a terminator
};

class ScriptedHost {
 public:
  ScriptedHost();

  // Fields without an answer are not supplied (kNotSupplied).
  void answer(FieldId id, std::string text) {
    answers_[id] = ScriptedAnswer{FieldAnswer::kSupplied, std::move(text)};
  }
  void answer(FieldId id, ScriptedAnswer reply) { answers_[id] = std::move(reply); }
  void drop_report_message() { callbacks_.report_message = nullptr; }
  void drop_busy() {
    callbacks_.begin_busy = nullptr;
    callbacks_.end_busy = nullptr;
  }
  void drop_get_field() { callbacks_.get_field = nullptr; }

  const HostCallbacks* callbacks() const { return &callbacks_; }
  void* context() { return this; }

  const std::vector<FieldId>& requested() const { return requested_; }
  const std::vector<std::uint32_t>& buffer_sizes() const { return buffer_sizes_; }
  // "begin_busy", "end_busy", "report:<text>", and whatever the fake converter adds.
  std::vector<std::string>& events() { return events_; }

 private:
  static void begin_busy(void* context);
  static void end_busy(void* context);
  static void report_message(void* context, const char* text);
  static void report_notice(void* context, const char* text);
  static FieldAnswer get_field(void* context, FieldId id, char* buffer, std::uint32_t size);

  HostCallbacks callbacks_;
  std::map<FieldId, ScriptedAnswer> answers_;
  std::vector<FieldId> requested_;
  std::vector<std::uint32_t> buffer_sizes_;
  std::vector<std::string> events_;
};

// What convert was handed, copied while the driver's buffers were alive.
struct ConvertCall {
  std::string input_path;
  std::string output_path;
  std::optional<std::string> font_name;  // nullopt: a null font_name
  ConversionOptions options{};
};

// The script of the fake converter made through the factory seam; one per test.
struct FakeConverterScript {
  ResultCode create_result = ResultCode::kOk;
  ResultCode convert_result = ResultCode::kOk;
  std::int32_t convert_detail = 0;             // stored only when convert_result fails
  std::vector<std::string>* events = nullptr;  // "create", "convert", "release"
  std::vector<ConvertCall> calls;
  int live_objects = 0;
};

// Installs script as the one the fake factory follows, for the test's duration.
class FakeConverterScope {
 public:
  explicit FakeConverterScope(FakeConverterScript& script);
  FakeConverterScope(const FakeConverterScope&) = delete;
  FakeConverterScope& operator=(const FakeConverterScope&) = delete;
  ~FakeConverterScope();
};

// A ConverterFactory that makes fake converters following the installed script.
ResultCode make_fake_converter(std::uint32_t reserved, ConverterIid iid, Converter** out);

}  // namespace vellicor::test
