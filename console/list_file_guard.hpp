// The check that keeps the font from replacing the character list's file.
#pragma once

#include "console/field_provider.hpp"

namespace vellicor::console {

// True when the font of request would go to the file at chars_path: -o names
// it, or the name made from the picture's does. Files are compared by
// identity (links followed), as the conversion compares the picture with the
// font, so another spelling of the path is caught too. False when either
// file is missing or the font's name cannot be had (the conversion then
// reports that itself).
bool font_would_replace(const ExtendedCommandLine& request, const char* chars_path);

}  // namespace vellicor::console
