// Comparing the font's file with the character list's.
#include "console/list_file_guard.hpp"

#include "vellicor/internal/output_name.hpp"
#include "vellicor/internal/request_limits.hpp"
#include "vellicor/internal/same_file.hpp"

namespace vellicor::console {

bool font_would_replace(const ExtendedCommandLine& request, const char* chars_path) {
  CommandLine line = request.line;
  char font_path[kPathBufferSize] = {};
  const FieldAnswer given = get_console_field(&line, FieldOutputPath, font_path, sizeof font_path);
  if (given != FieldAnswer::kSupplied || font_path[0] == '\0') {
    // No -o, or an empty one: the font goes beside the picture.
    char picture_path[kPathBufferSize] = {};
    if (get_console_field(&line, FieldInputPath, picture_path, sizeof picture_path) !=
            FieldAnswer::kSupplied ||
        failed(derive_bdf_name(picture_path, font_path, nullptr))) {
      return false;
    }
  }
  return paths_name_one_file(chars_path, font_path);
}

}  // namespace vellicor::console
