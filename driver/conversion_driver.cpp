// run_conversion: pull every field from the host, check it, convert, and turn
// the one failure of the run into one message.
#include "driver/conversion_driver.hpp"

#include <cstdint>
#include <cstring>
#include <string>

#include "driver/extended_request.hpp"
#include "driver/messages.hpp"
#include "driver/request_fields.hpp"
#include "vellicor/internal/converter_factory.hpp"
#include "vellicor/internal/output_name.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor {
namespace {

// A field text, always handed to get_field whole.
using FieldBuffer = char[kPathBufferSize];
constexpr auto kFieldBufferSize = static_cast<std::uint32_t>(kPathBufferSize);

// The host's side of one run, with the optional slots made safe to call.
class Host {
 public:
  Host(const HostCallbacks& callbacks, void* context) : callbacks_(callbacks), context_(context) {}

  // Clears the buffer, then asks for the field. Clearing here as well as in the
  // provider keeps an earlier field's text out of a later one.
  FieldAnswer get(FieldId id, FieldBuffer& buffer) const {
    std::memset(buffer, 0, sizeof buffer);
    return callbacks_.get_field(context_, id, buffer, kFieldBufferSize);
  }

  void report(Message message) const {
    if (callbacks_.report_message != nullptr)
      callbacks_.report_message(context_, message_text(message));
  }
  void report_text(const std::string& text) const {
    if (callbacks_.report_message != nullptr) callbacks_.report_message(context_, text.c_str());
  }
  void notice(const std::string& text) const {
    if (callbacks_.report_notice != nullptr) callbacks_.report_notice(context_, text.c_str());
  }

  // The usual refusal: the message, then the refused-request result.
  ResultCode refuse(Message message) const {
    report(message);
    return ResultCode::kBadArgument;
  }

  void begin_busy() const {
    if (callbacks_.begin_busy != nullptr) callbacks_.begin_busy(context_);
  }
  void end_busy() const {
    if (callbacks_.end_busy != nullptr) callbacks_.end_busy(context_);
  }

 private:
  const HostCallbacks& callbacks_;
  void* context_;
};

// A text the user gave but that does not fit is refused, never read as absent:
// taking a default instead would write somewhere the user did not name.
bool too_long(FieldAnswer answer) { return answer == FieldAnswer::kTextTooLong; }

// True when the provider left a terminator inside the buffer.
bool is_terminated(const FieldBuffer& buffer) {
  return std::memchr(buffer, '\0', sizeof buffer) != nullptr;
}

// The text buffers and records of one run. The records point into the
// buffers, which stay untouched until convert returns.
struct Request {
  FieldBuffer input_path;
  FieldBuffer output_path;
  FieldBuffer font_name;
  FieldBuffer scratch;
  ConversionPaths paths;
  ConversionOptions options;
  bool output_derived = false;  // the font goes beside the picture
};

ResultCode read_input_path(const Host& host, Request& request) {
  if (!supplied(host.get(FieldInputPath, request.input_path))) {
    return host.refuse(Message::kBadInputFileName);
  }
  if (!is_terminated(request.input_path)) return host.refuse(Message::kInputNameTooLong);
  if (request.input_path[0] == '\0') return host.refuse(Message::kBadInputFileName);
  return ResultCode::kOk;
}

ResultCode read_output_path(const Host& host, Request& request) {
  const FieldAnswer answer = host.get(FieldOutputPath, request.output_path);
  if (too_long(answer)) return host.refuse(Message::kOutputNameTooLong);
  if (supplied(answer)) {
    if (!is_terminated(request.output_path)) return host.refuse(Message::kOutputNameTooLong);
    if (request.output_path[0] != '\0') return ResultCode::kOk;
  }
  // Not supplied or empty: the font goes beside the picture.
  request.output_derived = true;
  if (failed(derive_bdf_name(request.input_path, request.output_path, nullptr))) {
    return host.refuse(Message::kOutputNameTooLong);
  }
  return ResultCode::kOk;
}

ResultCode read_numeric_fields(const Host& host, Request& request) {
  for (const NumericField& field : numeric_fields()) {
    // A field the host does not supply keeps its 0 without a word.
    const FieldAnswer answer = host.get(field.id, request.scratch);
    if (too_long(answer)) return host.refuse(field.refusal);
    if (!supplied(answer)) continue;
    if (!is_terminated(request.scratch) ||
        failed(read_numeric_field(field, request.scratch, request.options))) {
      return host.refuse(field.refusal);
    }
  }
  return ResultCode::kOk;
}

ResultCode read_font_name(const Host& host, Request& request) {
  // Not supplied: the name stays null and the engine writes its default.
  const FieldAnswer answer = host.get(FieldFontName, request.font_name);
  if (too_long(answer)) return host.refuse(Message::kInvalidFontName);
  if (!supplied(answer)) return ResultCode::kOk;
  if (!is_terminated(request.font_name) || !is_usable_font_name(request.font_name)) {
    return host.refuse(Message::kInvalidFontName);
  }
  request.options.font_name = request.font_name;
  return ResultCode::kOk;
}

// Never refused: anything but a nonzero number means "not fixed".
void read_fixed_width(const Host& host, Request& request) {
  if (!supplied(host.get(FieldFixedWidth, request.scratch)) || !is_terminated(request.scratch))
    return;
  std::uint32_t value = 0;
  if (succeeded(parse_number(request.scratch, &value)) && value != 0)
    request.options.fixed_width = 1;
}

ResultCode read_request(const Host& host, Request& request) {
  ResultCode result = read_input_path(host, request);
  if (failed(result)) return result;
  result = read_output_path(host, request);
  if (failed(result)) return result;
  request.paths = ConversionPaths{};
  request.options = ConversionOptions{};
  result = read_numeric_fields(host, request);
  if (failed(result)) return result;
  result = read_font_name(host, request);
  if (failed(result)) return result;
  read_fixed_width(host, request);
  request.paths.input_path = request.input_path;
  request.paths.output_path = request.output_path;
  return ResultCode::kOk;
}

// Drops the run's reference however the run ends.
class ConverterReference {
 public:
  ConverterReference() = default;
  ConverterReference(const ConverterReference&) = delete;
  ConverterReference& operator=(const ConverterReference&) = delete;
  ~ConverterReference() { release(); }

  Converter** place() { return &converter_; }
  Converter* get() const { return converter_; }
  // The object was made as a ConverterEx: it is released through its own
  // operations, whose functions take a ConverterEx.
  void mark_extended() { extended_ = true; }
  void release() {
    if (converter_ != nullptr && extended_) {
      auto* const object = reinterpret_cast<ConverterEx*>(converter_);
      object->ops->release(object);
    } else if (converter_ != nullptr) {
      converter_->ops->release(converter_);
    }
    converter_ = nullptr;
  }

 private:
  Converter* converter_ = nullptr;
  bool extended_ = false;
};

// The extended object the run needs, or null after reporting nothing: a
// factory that cannot make one fails like a plain factory that cannot.
ResultCode make_extended(ConverterFactory factory, ConverterReference& converter,
                         ConverterEx*& extended) {
  extended = nullptr;
  const ResultCode created = factory(0, IidConverterEx, converter.place());
  if (failed(created)) return created;
  if (converter.get() == nullptr) return ResultCode::kBadArgument;
  converter.mark_extended();
  extended = reinterpret_cast<ConverterEx*>(converter.get());
  return ResultCode::kOk;
}

// Makes an extended object and runs one operation on it with a fresh report;
// a failure is reported with what the report tells. With show_busy the
// operation runs between begin_busy and end_busy, and the object is released
// before end_busy, as in the plain conversion.
template <typename Operation>
ResultCode run_on_extended(const Host& host, ConverterFactory factory, bool show_busy,
                           Operation operation) {
  ConverterReference converter;
  ConverterEx* object = nullptr;
  const ResultCode created = make_extended(factory, converter, object);
  if (failed(created)) return created;

  ConversionReport report{};
  report.size = sizeof report;
  ::ErrorDetail detail = 0;
  if (show_busy) host.begin_busy();
  const ResultCode result = operation(*object, report, detail);
  if (failed(result)) host.report_text(failure_text(static_cast<ErrorDetail>(detail), report));
  converter.release();
  if (show_busy) host.end_busy();
  return result;
}

// convert_ex with the extended settings.
ResultCode run_extended(const Host& host, const Request& request, const ExtendedRequest& extended,
                        ConverterFactory factory) {
  return run_on_extended(
      host, factory, true,
      [&](ConverterEx& object, ConversionReport& report, ::ErrorDetail& detail) {
        const auto result = static_cast<ResultCode>(object.ops->convert_ex(
            &object, &request.paths, &request.options, &extended.settings, &report, &detail));
        const bool listed = extended.settings.chars != nullptr ||
                            extended.settings.charset != VELLICOR_CHARSET_NONE;
        if (succeeded(result) && report.left_out != 0) {
          host.notice(left_out_text(report, extended.settings.format, listed));
        }
        return result;
      });
}

// Reads the plain and the extended fields; on a refusal reports it.
ResultCode read_whole_request(const Host& host, const HostCallbacks& callbacks, void* context,
                              Request& request, ExtendedRequest& extended) {
  const ResultCode read = read_request(host, request);
  if (failed(read)) return read;
  Message refusal = Message::kConversionFailed;
  if (failed(read_extended_request(callbacks, context, extended, refusal))) {
    return host.refuse(refusal);
  }
  // A font beside the picture takes its format's extension.
  if (request.output_derived && extended.settings.format != VELLICOR_FORMAT_BDF &&
      failed(derive_font_name(request.input_path, extended.settings.format, request.output_path,
                              nullptr))) {
    return host.refuse(Message::kOutputNameTooLong);
  }
  return ResultCode::kOk;
}

}  // namespace

ResultCode run_listing(const HostCallbacks* callbacks, void* context, GlyphCallback callback,
                       void* callback_context, ConverterFactory factory,
                       ConversionReport* report_out) {
  if (callbacks == nullptr) return ResultCode::kBadArgument;
  const Host host(*callbacks, context);
  if (callbacks->get_field == nullptr) return host.refuse(Message::kBadCallbackTable);
  if (factory == nullptr) return ResultCode::kBadArgument;

  Request request{};
  ExtendedRequest extended;
  const ResultCode read = read_whole_request(host, *callbacks, context, request, extended);
  if (failed(read)) return read;

  return run_on_extended(host, factory, false,
                         [&](ConverterEx& object, ConversionReport& report, ::ErrorDetail& detail) {
                           const auto result = static_cast<ResultCode>(object.ops->cut(
                               &object, request.paths.input_path, &request.options,
                               &extended.settings, callback, callback_context, &report, &detail));
                           if (report_out != nullptr) *report_out = report;
                           return result;
                         });
}

ResultCode run_conversion(const HostCallbacks* callbacks, void* context) {
  return run_conversion(callbacks, context, &create_converter);
}

ResultCode run_conversion(const HostCallbacks* callbacks, void* context, ConverterFactory factory) {
  if (callbacks == nullptr) return ResultCode::kBadArgument;
  const Host host(*callbacks, context);
  if (callbacks->get_field == nullptr) return host.refuse(Message::kBadCallbackTable);
  if (factory == nullptr) return ResultCode::kBadArgument;

  Request request{};
  ExtendedRequest extended;
  const ResultCode read = read_whole_request(host, *callbacks, context, request, extended);
  if (failed(read)) return read;
  if (extended.any_supplied) return run_extended(host, request, extended, factory);

  ConverterReference converter;
  const ResultCode created = factory(0, IidConverter, converter.place());
  if (failed(created)) return created;
  if (converter.get() == nullptr) return ResultCode::kBadArgument;

  ::ErrorDetail detail = 0;
  host.begin_busy();
  const auto converted = static_cast<ResultCode>(
      converter.get()->ops->convert(converter.get(), &request.paths, &request.options, &detail));
  // Reported before the release and end_busy: a host may end the process here.
  if (failed(converted)) host.report(message_for_detail(static_cast<ErrorDetail>(detail)));
  converter.release();
  host.end_busy();
  return converted;
}

}  // namespace vellicor
