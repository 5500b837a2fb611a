// Request checks shared by the conversions.
#include "engine/api/request_checks.hpp"

#include <cstring>

#include "engine/core/limits.hpp"
#include "vellicor/internal/output_name.hpp"

namespace vellicor {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

// A control character in the font name would end the FONT line early and
// smuggle further lines into the header.
bool has_control_character(const char* text) {
  if (text == nullptr) return false;
  for (const char* place = text; *place != '\0'; ++place) {
    const auto byte = static_cast<unsigned char>(*place);
    if (byte < kFirstPrintable || byte == kDelete) return true;
  }
  return false;
}

}  // namespace

bool is_usable_path(const char* path) {
  return path != nullptr && path[0] != '\0' && std::strlen(path) < kPathBufferSize;
}

bool request_is_usable(const ConversionPaths* paths, const ConversionOptions* options) {
  if (paths == nullptr || options == nullptr) return false;
  if (!is_usable_path(paths->input_path)) return false;
  if (paths->output_path != nullptr && !is_usable_path(paths->output_path)) return false;
  return !has_control_character(options->font_name);
}

bool name_the_same_file(FileSystem& fs, const char* input_path, const char* output_path) {
  const PathInfo input = fs.inspect(input_path);
  if (input.kind == PathInfo::Kind::kMissing) return false;
  const PathInfo output = fs.inspect(output_path);
  return output.kind != PathInfo::Kind::kMissing && input.device == output.device &&
         input.inode == output.inode;
}

ResultCode check_request(FileSystem& fs, const ConversionPaths* paths,
                         const ConversionOptions* options, std::uint32_t format,
                         char (&derived_name)[kPathBufferSize], const char*& output_path,
                         ErrorDetail* detail) {
  if (!request_is_usable(paths, options)) return ResultCode::kBadArgument;
  const char* chosen = paths->output_path;
  if (chosen == nullptr) {
    const ResultCode result = derive_font_name(paths->input_path, format, derived_name, detail);
    if (failed(result)) return result;
    chosen = derived_name;
  }
  // Replacing the picture with the font would destroy the input.
  if (name_the_same_file(fs, paths->input_path, chosen)) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  output_path = chosen;
  return ResultCode::kOk;
}

}  // namespace vellicor
