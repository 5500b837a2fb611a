// Reading a character list file.
#include "driver/chars_file.hpp"

#include <cstdio>
#include <cstring>
#include <memory>

namespace vellicor {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kReadBlockBytes = 4096;
// No UTF-8 text holds this byte.
constexpr char kNeverUtf8 = static_cast<char>(0xFF);

}  // namespace

ResultCode read_chars_file(const char* path, std::string& text) {
  text.clear();
  if (path == nullptr) return ResultCode::kFileAccess;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), &std::fclose);
  if (!file) return ResultCode::kFileAccess;
  char buffer[kReadBlockBytes];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    for (std::size_t i = 0; i < count; ++i) {
      if (buffer[i] == '\n' || buffer[i] == '\r') continue;
      // A NUL byte would end the list early; as a byte no UTF-8 text holds
      // the list is refused at its own offset.
      text.push_back(buffer[i] == '\0' ? kNeverUtf8 : buffer[i]);
    }
  }
  if (std::ferror(file.get()) != 0) {
    text.clear();
    return ResultCode::kFileAccess;
  }
  if (text.compare(0, std::strlen(kByteOrderMark), kByteOrderMark) == 0) {
    text.erase(0, std::strlen(kByteOrderMark));
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
