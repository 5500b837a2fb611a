// Comparing the font's file with the character list's.
#include "console/list_file_guard.hpp"

#include <cstdint>

#include "driver/format_names.hpp"
#include "vellicor/internal/output_name.hpp"
#include "vellicor/internal/request_limits.hpp"
#include "vellicor/internal/same_file.hpp"

namespace vellicor::console {

bool font_would_replace(const ExtendedCommandLine& request, const char* chars_path) {
  CommandLine line = request.line;
  char font_path[kPathBufferSize] = {};
  const FieldAnswer given = get_console_field(&line, FieldOutputPath, font_path, sizeof font_path);
  if (given != FieldAnswer::kSupplied || font_path[0] == '\0') {
    // No -o, or an empty one: the font goes beside the picture, with its
    // format's extension (a format the driver refuses writes nothing).
    std::uint32_t format = VELLICOR_FORMAT_BDF;
    if (request.format != nullptr && failed(parse_format(request.format, format))) return false;
    char picture_path[kPathBufferSize] = {};
    if (get_console_field(&line, FieldInputPath, picture_path, sizeof picture_path) !=
            FieldAnswer::kSupplied ||
        failed(derive_font_name(picture_path, format, font_path, nullptr))) {
      return false;
    }
  }
  return paths_name_one_file(chars_path, font_path);
}

}  // namespace vellicor::console
