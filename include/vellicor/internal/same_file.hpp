// Whether two paths name one file, as the conversion tells it before it
// replaces a file with the font.
#pragma once

namespace vellicor {

// True when both paths lead to one existing file, compared by identity (device
// and file number, links followed), so any spelling of the path matches.
// False when either is missing or null.
bool paths_name_one_file(const char* first, const char* second);

}  // namespace vellicor
