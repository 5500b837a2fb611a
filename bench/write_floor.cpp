// The least a conversion that hands each glyph record to the operating system
// on its own can cost: creates a file and writes RECORDS blocks of BYTES bytes
// into it, one write call each, as the conversion's flush after every record
// does, and nothing else.
//
//   write_floor RECORDS BYTES OUTPUT
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned long kMostBytes = 1ul << 20;

bool parse(const char* text, unsigned long& value) {
  const char* const end = text + std::strlen(text);
  const auto parsed = std::from_chars(text, end, value);
  return parsed.ec == std::errc{} && parsed.ptr == end;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr int kArguments = 4;
  unsigned long records = 0;
  unsigned long bytes = 0;
  if (argc != kArguments || !parse(argv[1], records) || !parse(argv[2], bytes) || bytes == 0 ||
      bytes > kMostBytes) {
    std::fputs("usage: write_floor RECORDS BYTES OUTPUT\n", stderr);
    return 2;
  }
  constexpr mode_t kPermissions = 0644;
  const int file = ::open(argv[3], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kPermissions);
  if (file < 0) {
    std::perror(argv[3]);
    return 1;
  }
  const std::vector<char> record(bytes, '0');
  for (unsigned long written = 0; written < records; ++written) {
    if (::write(file, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
      std::perror(argv[3]);
      static_cast<void>(::close(file));
      return 1;
    }
  }
  if (::close(file) != 0) {
    std::perror(argv[3]);
    return 1;
  }
  return 0;
}
