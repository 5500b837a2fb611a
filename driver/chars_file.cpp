// Reading a character list file.
#include "driver/chars_file.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "vellicor/internal/request_limits.hpp"

namespace vellicor {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kReadBlockBytes = 4096;

using FileCloser = int (*)(std::FILE*);

// Reads at most limit + 1 bytes of the file into bytes, so a file past the
// limit shows as one byte too many without being read further.
ResultCode read_bounded(const char* path, std::size_t limit, std::string& bytes) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"), &std::fclose);
  if (!file) return ResultCode::kFileAccess;
  char buffer[kReadBlockBytes];
  while (bytes.size() <= limit) {
    const std::size_t wanted = std::min(sizeof buffer, limit + 1 - bytes.size());
    const std::size_t count = std::fread(buffer, 1, wanted, file.get());
    if (count == 0) break;
    bytes.append(buffer, count);
  }
  return std::ferror(file.get()) != 0 ? ResultCode::kFileAccess : ResultCode::kOk;
}

// The list in the file's bytes: every line break as one line feed (a line
// is one band's characters), those at the end and a leading byte-order mark
// dropped.
std::string list_of(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i] == '\r' ? '\n' : bytes[i]);
  }
  while (!text.empty() && text.back() == '\n') text.pop_back();
  if (text.compare(0, std::strlen(kByteOrderMark), kByteOrderMark) == 0) {
    text.erase(0, std::strlen(kByteOrderMark));
  }
  return text;
}

// The list in the file at path, NUL bytes kept. kFileAccess with
// kCharsFileUnreadable, or kBadArgument with kCharsTooLong.
ResultCode read_list(const char* path, std::string& text, Message& refusal) {
  text.clear();
  std::string bytes;
  if (path == nullptr || failed(read_bounded(path, kMostCharsBytes, bytes))) {
    refusal = Message::kCharsFileUnreadable;
    return ResultCode::kFileAccess;
  }
  if (bytes.size() > kMostCharsBytes) {
    refusal = Message::kCharsTooLong;
    return ResultCode::kBadArgument;
  }
  text = list_of(bytes);
  return ResultCode::kOk;
}

}  // namespace

ResultCode read_chars_file(const char* path, std::string& text, CharsFileRefusal& refusal) {
  Message message = Message::kCharsFileUnreadable;
  const ResultCode result = read_list(path, text, message);
  if (failed(result)) {
    refusal = CharsFileRefusal{message, 0};
    return result;
  }
  const std::size_t nul = text.find('\0');
  if (nul == std::string::npos) return ResultCode::kOk;
  text.clear();
  refusal = CharsFileRefusal{Message::kCharsNulByte, nul};
  return ResultCode::kBadArgument;
}

std::string chars_file_refusal_text(const CharsFileRefusal& refusal) {
  if (refusal.message == Message::kCharsNulByte) return nul_byte_text(refusal.offset);
  return message_text(refusal.message);
}

}  // namespace vellicor
