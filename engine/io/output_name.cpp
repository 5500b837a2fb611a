// The output-name rule: the input name with its extension replaced by the
// font format's (".bdf" unless the extended conversion asks for another).
#include "vellicor/internal/output_name.hpp"

#include <cstring>
#include <iterator>

namespace vellicor {

namespace {

// Every format's extension is a point and three letters.
constexpr std::size_t kExtensionLength = 4;
constexpr const char* kExtensions[] = {".bdf", ".pcf", ".psf", ".otb", ".fon", ".ttf"};
// A name too long to lose only its extension keeps this many characters of the
// input, so that with the extension it fills the buffer exactly.
constexpr std::size_t kTruncatedStemLength = kMaxPathLength - kExtensionLength;
// Truncating is refused when the last separator stands past this position:
// the truncated name would not hold even one character of the file's own name.
constexpr std::size_t kLastSeparatorForTruncation = kTruncatedStemLength - 2;

// Position where the file name begins: the last "/", or when there is none the
// last backslash; 0 when there is neither. On Windows both separate alike, so
// the later of the two counts ("C:/fonts.v2\\strip" keeps its folder's dot).
std::size_t separator_position(const char* input) {
  const char* slash = std::strrchr(input, '/');
#ifdef _WIN32
  const char* backslash = std::strrchr(input, '\\');
  if (slash == nullptr || (backslash != nullptr && backslash > slash)) slash = backslash;
#else
  if (slash == nullptr) slash = std::strrchr(input, '\\');
#endif
  return slash == nullptr ? 0 : static_cast<std::size_t>(slash - input);
}

}  // namespace

const char* font_extension(std::uint32_t format) {
  return format < std::size(kExtensions) ? kExtensions[format] : nullptr;
}

ResultCode derive_bdf_name(const char* input, char* buffer, ErrorDetail* detail) {
  return derive_font_name(input, VELLICOR_FORMAT_BDF, buffer, detail);
}

ResultCode derive_font_name(const char* input, std::uint32_t format, char* buffer,
                            ErrorDetail* detail) {
  const char* const extension = font_extension(format);
  if (extension == nullptr) return ResultCode::kBadArgument;
  const std::size_t length = std::strlen(input);
  const std::size_t separator = separator_position(input);
  const char* point = std::strrchr(input, '.');
  std::size_t extension_length = 0;
  if (point != nullptr && static_cast<std::size_t>(point - input) >= separator) {
    extension_length = length - static_cast<std::size_t>(point - input);
  }

  std::size_t stem_length = length - extension_length;
  if (stem_length + kExtensionLength >= kPathBufferSize) {
    if (separator > kLastSeparatorForTruncation) {
      return fail(detail, ErrorDetail::kNameTooLong, ResultCode::kFileAccess);
    }
    stem_length = kTruncatedStemLength;
  }
  std::memcpy(buffer, input, stem_length);
  std::memcpy(buffer + stem_length, extension, kExtensionLength + 1);
  return ResultCode::kOk;
}

}  // namespace vellicor
