// Inflating gzip-compressed font files with zlib.
#include "engine/fontfile/gzip_inflate.hpp"

namespace vellicor {

namespace {

constexpr std::uint8_t kGzipMagic0 = 0x1f;
constexpr std::uint8_t kGzipMagic1 = 0x8b;

}  // namespace

bool is_gzip(const std::uint8_t* data, std::size_t size) {
  return size >= 2 && data[0] == kGzipMagic0 && data[1] == kGzipMagic1;
}

}  // namespace vellicor

#ifndef VELLICOR_HAVE_ZLIB

namespace vellicor {

ResultCode inflate_gzip(const std::uint8_t*, std::size_t, std::uint64_t, std::vector<std::uint8_t>&,
                        ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
}

}  // namespace vellicor

#else

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace vellicor {

namespace {

// zlib's window bits for a gzip wrapper only: the largest window (15) plus 16.
constexpr int kGzipWindowBits = 15 + 16;
// The output grows in steps of this many bytes at least, and to twice what
// it holds, so a large font costs few copies and a small one little memory.
constexpr std::size_t kFirstOutputBytes = std::size_t{256} * 1024;
// zlib counts in unsigned int: no single call takes more than this.
constexpr std::size_t kMostPerCall = UINT_MAX;

// The inflate stream, ended on every path.
class Inflater {
 public:
  Inflater() = default;
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  ~Inflater() {
    if (started_) inflateEnd(&stream_);
  }
  int start() {
    const int status = inflateInit2(&stream_, kGzipWindowBits);
    started_ = status == Z_OK;
    return status;
  }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool started_ = false;
};

ResultCode zlib_failure(int status, ErrorDetail* detail) {
  if (status == Z_MEM_ERROR)
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  return fail(detail, ErrorDetail::kFontDamaged, ResultCode::kUnusableInput);
}

}  // namespace

ResultCode inflate_gzip(const std::uint8_t* data, std::size_t size, std::uint64_t limit,
                        std::vector<std::uint8_t>& inflated, ErrorDetail* detail) {
  Inflater inflater;
  if (const int status = inflater.start(); status != Z_OK) return zlib_failure(status, detail);
  z_stream& stream = inflater.stream();
  std::vector<std::uint8_t> out;
  std::size_t produced = 0;
  std::size_t consumed = 0;
  int status = Z_OK;
  // Up to limit + 1 bytes, so a stream past the limit shows as one byte too many.
  const std::uint64_t most = limit + 1;
  while (true) {
    if (produced == out.size()) {
      if (produced >= most)
        return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
      const std::uint64_t grown = std::min<std::uint64_t>(
          most, std::max<std::uint64_t>(kFirstOutputBytes, std::uint64_t{produced} * 2));
      out.resize(static_cast<std::size_t>(grown));
    }
    const std::size_t input_left = size - consumed;
    stream.next_in = const_cast<Bytef*>(data + consumed);  // zlib's API lacks const, never writes
    stream.avail_in = static_cast<uInt>(std::min(input_left, kMostPerCall));
    stream.next_out = out.data() + produced;
    stream.avail_out = static_cast<uInt>(std::min(out.size() - produced, kMostPerCall));
    const uInt offered_in = stream.avail_in;
    const uInt offered_out = stream.avail_out;
    status = inflate(&stream, Z_NO_FLUSH);
    consumed += offered_in - stream.avail_in;
    produced += offered_out - stream.avail_out;
    if (status == Z_STREAM_END) {
      // gzip allows members in a row (cat a.gz b.gz); what follows the last
      // one must be another member, as gzip itself reads it.
      if (consumed == size) break;
      if (!is_gzip(data + consumed, size - consumed)) return zlib_failure(Z_DATA_ERROR, detail);
      status = inflateReset(&stream);
      if (status != Z_OK) return zlib_failure(status, detail);
      continue;
    }
    if (status == Z_BUF_ERROR && consumed == size) return zlib_failure(Z_DATA_ERROR, detail);
    if (status != Z_OK && status != Z_BUF_ERROR) return zlib_failure(status, detail);
  }
  if (produced > limit)
    return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
  out.resize(produced);
  inflated = std::move(out);
  return ResultCode::kOk;
}

}  // namespace vellicor

#endif
