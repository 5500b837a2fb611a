// Absolute paths for the console program, made without touching the disk.
#pragma once

#include <cstdint>

#include "driver/host_callbacks.hpp"

namespace vellicor::console {

// Writes name as an absolute path into buffer (size bytes): relative names are
// joined to the current directory, then "." and ".." are resolved by text
// alone (symbolic links are not followed) and repeated '/' collapse. A
// trailing '/' of name is kept. Returns kSupplied; kTextUnavailable when name is
// empty or the current directory cannot be had; kTextTooLong when the result
// with its terminator does not fit in size. buffer is changed only on kSupplied.
// On Windows GetFullPathNameA makes the path instead (drive letters, "\\"
// and "/" alike, UNC names), with the same three outcomes.
FieldAnswer make_full_path(const char* name, char* buffer, std::uint32_t size);

}  // namespace vellicor::console
