// A character list kept in a file, read as both front ends take it.
#pragma once

#include <string>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Reads the file at path into text as a character list: line breaks are
// dropped (a long list may be wrapped), as is a leading byte-order mark. The
// bytes are not judged here: a list that is no UTF-8 text is refused by the
// conversion, at its offset, whoever read it. kFileAccess when the file
// cannot be read; text is then empty.
ResultCode read_chars_file(const char* path, std::string& text);

}  // namespace vellicor
