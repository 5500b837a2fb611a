// A character list kept in a file, read as both front ends take it.
#pragma once

#include <cstddef>
#include <string>

#include "driver/messages.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Why a list file was refused.
struct CharsFileRefusal {
  Message message = Message::kCharsFileUnreadable;
  std::size_t offset = 0;  // kCharsNulByte: the NUL's byte in the list as read
};

// Reads the file at path into text as a character list: line breaks are
// dropped (a long list may be wrapped), as is a leading byte-order mark. At
// most kMostCharsBytes + 1 bytes are read, whatever the file is (a pipe, a
// device without end), so a longer file costs no more than that. Returns
// kOk; kFileAccess (kCharsFileUnreadable) when the file cannot be read;
// kBadArgument with kCharsTooLong for a file past kMostCharsBytes, or with
// kCharsNulByte and its offset for a NUL byte, which no list text can carry.
// Other bytes are not judged here: a list that is no UTF-8 text is refused
// by the conversion, at its offset, whoever read it. text is empty on failure.
ResultCode read_chars_file(const char* path, std::string& text, CharsFileRefusal& refusal);

// The same read for a caller that shows only whether the file could be used:
// a NUL byte becomes a byte no UTF-8 text holds, so the conversion refuses
// the list at the NUL's offset; a file past the limit is kBadArgument, and
// an unreadable one kFileAccess.
ResultCode read_chars_file(const char* path, std::string& text);

}  // namespace vellicor
