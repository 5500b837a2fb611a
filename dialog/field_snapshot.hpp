// A conversion run from a set of field texts taken at one moment: the Preview
// window's Convert hands the driver these texts instead of its live controls.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>

#include "driver/host_callbacks.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor::dialog {

struct FieldSnapshot {
  std::map<int, QByteArray> texts;  // by FieldId; a field left out is "unknown"
  QString message;                  // the driver's one message, if it gave one
  QString notice;                   // what a run that succeeded had to tell, if anything
  int busy_depth = 0;               // begin_busy calls not yet ended
};

// Answers get_field from snapshot.texts: kSupplied with the text, kTextUnavailable
// for an empty text, kTextTooLong when it does not fit the buffer whole,
// kUnknownField for a field the snapshot does not hold.
FieldAnswer provide_snapshot_field(void* context, FieldId id, char* buffer, std::uint32_t size);

// Runs the driver's conversion with snapshot as its host; the message, if any,
// lands in snapshot.message, a notice in snapshot.notice.
ResultCode run_snapshot_conversion(FieldSnapshot& snapshot);

}  // namespace vellicor::dialog
