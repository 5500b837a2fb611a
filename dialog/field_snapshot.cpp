// The snapshot host: callbacks over a map of texts.
#include "dialog/field_snapshot.hpp"

#include <cstring>

#include "driver/conversion_driver.hpp"

namespace vellicor::dialog {
namespace {

FieldSnapshot* snapshot_of(void* context) { return static_cast<FieldSnapshot*>(context); }

void begin_busy(void* context) { ++snapshot_of(context)->busy_depth; }

void end_busy(void* context) { --snapshot_of(context)->busy_depth; }

void report_message(void* context, const char* text) {
  if (text != nullptr) snapshot_of(context)->message = QString::fromUtf8(text);
}

// A font written without some characters is still written: the notice is
// kept apart from the message of a failure.
void report_notice(void* context, const char* text) {
  if (text != nullptr) snapshot_of(context)->notice = QString::fromUtf8(text);
}

constexpr HostCallbacks kSnapshotCallbacks{begin_busy, end_busy, report_message,
                                           provide_snapshot_field, report_notice};

}  // namespace

FieldAnswer provide_snapshot_field(void* context, FieldId id, char* buffer, std::uint32_t size) {
  if (context == nullptr || buffer == nullptr || size == 0) return FieldAnswer::kBadRequest;
  std::memset(buffer, 0, size);
  const auto& texts = snapshot_of(context)->texts;
  const auto found = texts.find(id);
  if (found == texts.end()) return FieldAnswer::kUnknownField;
  const QByteArray& text = found->second;
  if (text.isEmpty()) return FieldAnswer::kTextUnavailable;
  // Never cut: a shortened path or character list would be a different one.
  if (static_cast<std::uint32_t>(text.size()) >= size) return FieldAnswer::kTextTooLong;
  std::memcpy(buffer, text.constData(), static_cast<std::size_t>(text.size()));
  return FieldAnswer::kSupplied;
}

ResultCode run_snapshot_conversion(FieldSnapshot& snapshot) {
  return run_conversion(&kSnapshotCallbacks, &snapshot);
}

}  // namespace vellicor::dialog
