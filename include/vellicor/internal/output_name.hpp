// The rule that names the font after the picture: the extension becomes ".bdf".
#pragma once

#include "vellicor/internal/request_limits.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Writes the output name for input into buffer (kPathBufferSize bytes). On a
// name that cannot be made short enough returns kFileAccess with detail
// kNameTooLong (stored when detail is not null).
ResultCode derive_bdf_name(const char* input, char* buffer, ErrorDetail* detail);

}  // namespace vellicor
