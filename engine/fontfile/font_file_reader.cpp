// Tells a font file's kind by its first bytes and hands it to its reader.
#include "engine/fontfile/font_file_reader.hpp"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "engine/fontfile/gzip_inflate.hpp"
#include "engine/io/input_stream.hpp"

namespace vellicor {

namespace {

constexpr char kBdfStart[] = "STARTFONT";
constexpr std::size_t kBdfStartLength = sizeof kBdfStart - 1;
constexpr std::uint8_t kPsf1Magic[] = {0x36, 0x04};
constexpr std::uint8_t kPsf2Magic[] = {0x72, 0xb5, 0x4a, 0x86};
// A file is read in pieces of this many bytes, its buffer grown to hold each.
constexpr std::size_t kReadPieceBytes = std::size_t{1} << 20;

template <std::size_t Length>
bool starts_with(const std::uint8_t* data, std::size_t size, const std::uint8_t (&magic)[Length]) {
  return size >= Length && std::memcmp(data, magic, Length) == 0;
}

bool is_bdf(const std::uint8_t* data, std::size_t size) {
  return size >= kBdfStartLength && std::memcmp(data, kBdfStart, kBdfStartLength) == 0;
}

// The reader of uncompressed bytes.
ResultCode read_plain_bytes(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                            ErrorDetail* detail, FontReadProblem* problem) {
  if (is_bdf(data, size)) return read_bdf_font(data, size, font, detail, problem);
  if (starts_with(data, size, kPsf1Magic) || starts_with(data, size, kPsf2Magic)) {
    return read_psf_font(data, size, font, detail);
  }
  return read_freetype_font(data, size, font, detail);
}

ResultCode read_any_bytes(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                          ErrorDetail* detail, FontReadProblem* problem) {
  if (size > kMaxFontFileBytes) {
    return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
  }
  if (!is_gzip(data, size)) return read_plain_bytes(data, size, font, detail, problem);
  std::vector<std::uint8_t> inflated;
  const ResultCode result = inflate_gzip(data, size, kMaxFontFileBytes, inflated, detail);
  if (failed(result)) return result;
  return read_plain_bytes(inflated.data(), inflated.size(), font, detail, problem);
}

// Reads the whole file at path into bytes, up to kMaxFontFileBytes + 1 so
// that a file past the bound shows as one byte too many without being read
// further.
ResultCode read_whole_file(FileSystem& files, const char* path, std::vector<std::uint8_t>& bytes,
                           ErrorDetail* detail) {
  const InputFile file(files, path == nullptr ? kInvalidHandle : files.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  std::uint64_t declared = 0;
  if (files.size(file.handle(), &declared) && declared > kMaxFontFileBytes) {
    return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
  }
  const std::uint64_t most = kMaxFontFileBytes + 1;
  std::size_t held = 0;
  while (held < most) {
    const std::size_t piece =
        static_cast<std::size_t>(std::min<std::uint64_t>(kReadPieceBytes, most - held));
    bytes.resize(held + piece);
    std::size_t got = 0;
    if (!read_fully(files, file.handle(), bytes.data() + held, piece, &got)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    held += got;
    if (got < piece) break;
  }
  bytes.resize(held);
  if (held > kMaxFontFileBytes) {
    return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

}  // namespace

ResultCode read_font_bytes(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                           ErrorDetail* detail, FontReadProblem* problem) {
  if (data == nullptr && size != 0) {
    return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
  }
  try {
    return read_any_bytes(data, size, font, detail, problem);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

ResultCode read_font_file(FileSystem& files, const char* path, LoadedFont& font,
                          ErrorDetail* detail, FontReadProblem* problem) {
  try {
    std::vector<std::uint8_t> bytes;
    const ResultCode result = read_whole_file(files, path, bytes, detail);
    if (failed(result)) return result;
    return read_any_bytes(bytes.data(), bytes.size(), font, detail, problem);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

}  // namespace vellicor
