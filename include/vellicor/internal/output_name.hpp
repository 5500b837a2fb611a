// The rule that names the font after the picture: the extension becomes
// ".bdf", or the extension of the format the font is written in.
#pragma once

#include <cstdint>

#include "vellicor/internal/request_limits.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Writes the output name for input into buffer (kPathBufferSize bytes). On a
// name that cannot be made short enough returns kFileAccess with detail
// kNameTooLong (stored when detail is not null).
ResultCode derive_bdf_name(const char* input, char* buffer, ErrorDetail* detail);

// The same with the extension of a VELLICOR_FORMAT_* format; kBadArgument
// for a number that names no format.
ResultCode derive_font_name(const char* input, std::uint32_t format, char* buffer,
                            ErrorDetail* detail);

// ".bdf", ".pcf", ".psf", ".otb", ".fon" or ".ttf"; null for a number that
// names no format.
const char* font_extension(std::uint32_t format);

}  // namespace vellicor
