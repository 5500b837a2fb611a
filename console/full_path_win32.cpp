// make_full_path on Windows: the system's own GetFullPathNameA, which knows
// drive letters, the current directory of each drive, UNC names and devices.
#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "console/full_path.hpp"

namespace vellicor::console {

FieldAnswer make_full_path(const char* name, char* buffer, std::uint32_t size) {
  if (name == nullptr || name[0] == '\0' || buffer == nullptr || size == 0) {
    return FieldAnswer::kTextUnavailable;
  }
  // The answer goes to a buffer of its own first: the caller's buffer stays
  // untouched unless the whole path fits.
  std::unique_ptr<char[]> full(new (std::nothrow) char[size]);
  if (!full) return FieldAnswer::kTextUnavailable;
  const DWORD length = GetFullPathNameA(name, static_cast<DWORD>(size), full.get(), nullptr);
  // Three outcomes: 0 is a failure; a value of size or more is the buffer
  // size the path would need, terminator included; anything less is the
  // length of the path written. A name longer than the ANSI call takes at all
  // fails, though what it lacks is room, not a path.
  if (length == 0) {
    return GetLastError() == ERROR_FILENAME_EXCED_RANGE ? FieldAnswer::kTextTooLong
                                                        : FieldAnswer::kTextUnavailable;
  }
  if (length >= size) return FieldAnswer::kTextTooLong;
  std::memcpy(buffer, full.get(), std::size_t{length} + 1);
  return FieldAnswer::kSupplied;
}

}  // namespace vellicor::console

#endif  // _WIN32
