// make_full_path: the current directory joined to a name, normalised lexically.
#include "console/full_path.hpp"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace vellicor::console {
namespace {

constexpr char kSeparator = '/';
// getcwd needs a buffer that fits; a longer current directory could never
// yield a path that fits a field anyway.
constexpr std::size_t kCurrentDirectoryBufferSize = PATH_MAX;

// Resolves "." and ".." and empty components of the absolute path text in
// place (the result is never longer than the text) and returns its length.
// The root has no parent: "/.." stays "/".
std::size_t normalise(char* text, std::size_t length) {
  const bool keep_trailing_separator = length > 1 && text[length - 1] == kSeparator;
  std::size_t written = 1;  // text[0, written) is "/" or "/a/b/"
  std::size_t read = 1;
  while (read < length) {
    const std::size_t start = read;
    while (read < length && text[read] != kSeparator) ++read;
    const std::size_t component_length = read - start;
    ++read;  // over the separator (or past the end)
    if (component_length == 0 || (component_length == 1 && text[start] == '.')) continue;
    if (component_length == 2 && text[start] == '.' && text[start + 1] == '.') {
      if (written > 1) {
        --written;
        while (text[written - 1] != kSeparator) --written;
      }
      continue;
    }
    std::memmove(text + written, text + start, component_length);
    written += component_length;
    text[written++] = kSeparator;
  }
  if (written > 1 && !keep_trailing_separator) --written;
  text[written] = '\0';
  return written;
}

}  // namespace

FieldAnswer make_full_path(const char* name, char* buffer, std::uint32_t size) {
  if (name == nullptr || name[0] == '\0' || buffer == nullptr) return FieldAnswer::kTextUnavailable;
  const std::size_t name_length = std::strlen(name);

  char current[kCurrentDirectoryBufferSize];
  std::size_t current_length = 0;
  if (name[0] != kSeparator) {
    if (::getcwd(current, sizeof current) == nullptr) {
      return errno == ERANGE ? FieldAnswer::kTextTooLong : FieldAnswer::kTextUnavailable;
    }
    current_length = std::strlen(current);
  }

  // Joined text: current directory, separator, name, terminator.
  const std::size_t joined_size = current_length + 1 + name_length + 1;
  std::unique_ptr<char[]> joined(new (std::nothrow) char[joined_size]);
  if (!joined) return FieldAnswer::kTextUnavailable;
  std::size_t joined_length = 0;
  if (current_length != 0) {
    std::memcpy(joined.get(), current, current_length);
    joined[current_length] = kSeparator;
    joined_length = current_length + 1;
  }
  std::memcpy(joined.get() + joined_length, name, name_length);
  joined_length += name_length;
  joined[joined_length] = '\0';

  const std::size_t full_length = normalise(joined.get(), joined_length);
  if (full_length >= size) return FieldAnswer::kTextTooLong;
  std::memcpy(buffer, joined.get(), full_length + 1);
  return FieldAnswer::kSupplied;
}

}  // namespace vellicor::console
