// The checks every conversion makes of its request before reading a file.
#pragma once

#include <cstdint>

#include "engine/core/limits.hpp"
#include "engine/io/output_file.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// A path the engine accepts: not null, not empty, shorter than the path buffer.
bool is_usable_path(const char* path);

// True when the records are present, the paths usable and the font name free
// of control characters.
bool request_is_usable(const ConversionPaths* paths, const ConversionOptions* options);

// True when both paths lead to one existing file (links followed).
bool name_the_same_file(FileSystem& fs, const char* input_path, const char* output_path);

// A conversion's first steps, in this order: the request must be usable
// (kBadArgument, no detail); the output name is the one given or, when it is
// null, the one derived from the input with format's extension into derived_name (its refusal
// returned as it is); an output naming the picture's own file is refused
// before anything is read (kFileAccess / detail kFileAccess). output_path is
// set only on kOk and may point into derived_name.
ResultCode check_request(FileSystem& fs, const ConversionPaths* paths,
                         const ConversionOptions* options, std::uint32_t format,
                         char (&derived_name)[kPathBufferSize], const char*& output_path,
                         ErrorDetail* detail);

}  // namespace vellicor
