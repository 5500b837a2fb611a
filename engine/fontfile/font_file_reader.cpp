// Tells a font file's kind by its first bytes and hands it to its reader.
#include "engine/fontfile/font_file_reader.hpp"

#include <cstring>
#include <new>
#include <vector>

#include "engine/fontfile/gzip_inflate.hpp"
#include "engine/io/input_stream.hpp"
#include "engine/io/whole_file.hpp"

namespace vellicor {

namespace {

constexpr char kBdfStart[] = "STARTFONT";
constexpr std::size_t kBdfStartLength = sizeof kBdfStart - 1;
constexpr std::uint8_t kPsf1Magic[] = {0x36, 0x04};
constexpr std::uint8_t kPsf2Magic[] = {0x72, 0xb5, 0x4a, 0x86};
// A pipe is read into a buffer of this many bytes first, doubled as it fills.
constexpr std::size_t kFirstReadBytes = std::size_t{1} << 20;

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
  const InputFile file(files, path == nullptr ? kInvalidHandle : files.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  // From where a fresh file stands, so that a pipe is read too.
  WholeFile bytes;
  if (const ResultCode read =
          read_whole_file(files, file.handle(), kMaxFontFileBytes, kFirstReadBytes,
                          ErrorDetail::kFontTooLargeToDraw, bytes, detail);
      failed(read)) {
    return read;
  }
  try {
    return read_any_bytes(bytes.bytes.get(), bytes.size, font, detail, problem);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

}  // namespace vellicor
