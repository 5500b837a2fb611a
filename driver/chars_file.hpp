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

// The refusal's message, with the NUL's offset for kCharsNulByte. For
// kCharsFileUnreadable the front end names the file after it.
std::string chars_file_refusal_text(const CharsFileRefusal& refusal);

}  // namespace vellicor
