// The checks every conversion makes of its request before reading a file.
#pragma once

#include "engine/file_io.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// A path the engine accepts: not null, not empty, shorter than the path buffer.
bool is_usable_path(const char* path);

// True when the records are present, the paths usable and the font name free
// of control characters.
bool request_is_usable(const ConversionPaths* paths, const ConversionOptions* options);

// True when both paths lead to one existing file (links followed).
bool name_the_same_file(FileSystem& fs, const char* input_path, const char* output_path);

}  // namespace vellicor
