// PNG pictures through libspng's progressive decoding: one row at a time,
// straight into the ink map.
#include "engine/picture/png_reader.hpp"

#ifndef VELLICOR_HAVE_SPNG

namespace vellicor {

bool png_support_built() { return false; }

ResultCode read_png_ink(FileSystem&, FileHandle, InkRule, InkMap&, ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
}

}  // namespace vellicor

#else

#include <spng.h>

#include <cstring>
#include <memory>
#include <new>

#include "engine/core/limits.hpp"
#include "engine/io/input_stream.hpp"
#include "engine/picture/png_rows.hpp"

namespace vellicor {

namespace {

// Adam7: where each of the seven passes starts in a row and how far it steps.
constexpr std::array<std::uint32_t, 7> kAdam7FirstColumn = {0, 4, 0, 2, 0, 1, 0};
constexpr std::array<std::uint32_t, 7> kAdam7ColumnStep = {8, 8, 4, 4, 2, 2, 1};

constexpr std::uint8_t kInterlaceAdam7 = 1;
constexpr std::uint8_t kSixteenBits = 16;

struct ContextDeleter {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// libspng's error numbers in the engine's words: what is wrong with the file,
// never the decoder's internals.
ResultCode png_failure(int error, ErrorDetail* detail) {
  ErrorDetail why = ErrorDetail::kPngBadHeader;
  ResultCode result = ResultCode::kUnusableInput;
  switch (error) {
    case SPNG_IO_ERROR:
    case SPNG_EIO:
      why = ErrorDetail::kFileAccess;
      result = ResultCode::kFileAccess;
      break;
    case SPNG_EMEM:
      why = ErrorDetail::kOutOfMemory;
      result = ResultCode::kOutOfMemory;
      break;
    case SPNG_IO_EOF:
    case SPNG_EOF:
    case SPNG_EIDAT_TOO_SHORT:
      why = ErrorDetail::kPngTruncated;
      break;
    case SPNG_ECHUNK_CRC:
      why = ErrorDetail::kPngChecksum;
      break;
    case SPNG_EZLIB:
    case SPNG_EZLIB_INIT:
    case SPNG_EIDAT_STREAM:
    case SPNG_EFILTER:
      why = ErrorDetail::kPngBadData;
      break;
    case SPNG_EUSER_WIDTH:
    case SPNG_EUSER_HEIGHT:
    case SPNG_ECHUNK_LIMITS:
      why = ErrorDetail::kPictureTooLarge;
      break;
    case SPNG_ESIGNATURE:
      why = ErrorDetail::kNotBmp;
      break;
    default:
      break;  // header values, chunk order, palette: the file's layout is wrong
  }
  return fail(detail, why, result);
}

// The IEND chunk is always these 12 bytes: no data, so always the same CRC.
constexpr std::array<std::uint8_t, 12> kIendChunk = {0,   0,   0,    0,    'I',  'E',
                                                     'N', 'D', 0xAE, 0x42, 0x60, 0x82};

// The file as libspng reads it, remembering the last bytes it handed over:
// libspng accepts a file that ends cleanly after its image data, but a copy
// cut short there has lost its end marker all the same.
struct PngInput {
  InputStream* stream = nullptr;
  std::array<std::uint8_t, kIendChunk.size()> last_bytes{};

  bool ended_with_iend() const { return last_bytes == kIendChunk; }
};

// libspng asks for exactly length bytes; fewer means the file ended.
int read_from_stream(spng_ctx*, void* user, void* destination, std::size_t length) {
  auto* input = static_cast<PngInput*>(user);
  auto* bytes = static_cast<std::uint8_t*>(destination);
  std::size_t got = 0;
  if (!input->stream->read(bytes, length, &got)) return SPNG_IO_ERROR;
  auto& last = input->last_bytes;
  if (got >= last.size()) {
    std::memcpy(last.data(), bytes + got - last.size(), last.size());
  } else {
    std::memmove(last.data(), last.data() + got, last.size() - got);
    std::memcpy(last.data() + last.size() - got, bytes, got);
  }
  return got == length ? 0 : SPNG_IO_EOF;
}

// One decoding of the file into pass (see read_ink_in_passes).
// Every pass reads the open file from its start.
template <class Pass>
ResultCode read_png_pass(FileSystem& fs, FileHandle file, Pass& pass, ErrorDetail* detail) {
  if (!fs.seek(file, 0)) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  std::uint64_t file_bytes = 0;
  if (!fs.size(file, &file_bytes)) file_bytes = 0;

  InputStream stream(fs, file);
  Context context(spng_ctx_new(0));
  if (!stream.allocate() || !context) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  spng_ctx* png = context.get();
  // A broken checksum of a critical chunk stops the decoding; ancillary
  // chunks with one are dropped, as they carry nothing the ink depends on.
  if (int error = spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_DISCARD); error != 0) {
    return png_failure(error, detail);
  }
  if (int error = spng_set_image_limits(png, kMaxPictureSidePx, kMaxPictureSidePx); error != 0) {
    return png_failure(error, detail);
  }
  if (int error = spng_set_chunk_limits(png, kPngChunkSizeLimit, kPngChunkCacheLimit); error != 0) {
    return png_failure(error, detail);
  }
  PngInput input{&stream, {}};
  if (int error = spng_set_png_stream(png, read_from_stream, &input); error != 0) {
    return png_failure(error, detail);
  }

  spng_ihdr header{};
  if (int error = spng_get_ihdr(png, &header); error != 0) return png_failure(error, detail);
  const bool wide = header.bit_depth == kSixteenBits;
  const PngRowLayout layout = wide ? PngRowLayout::kRgba16 : PngRowLayout::kRgba8;
  const std::uint64_t row_bytes = std::uint64_t{header.width} * bytes_per_pixel(layout);

  const KeyedColours colours;
  if (const ResultCode begun =
          pass.begin({header.width, header.height, row_bytes, file_bytes}, colours, detail);
      failed(begun)) {
    return begun;
  }
  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[row_bytes]);
  if (!row) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);

  const int format = wide ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
  if (int error =
          spng_decode_image(png, nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
      error != 0) {
    return png_failure(error, detail);
  }
  const bool interlaced = header.interlace_method == kInterlaceAdam7;
  int status = 0;
  do {
    spng_row_info place{};
    if (status = spng_get_row_info(png, &place); status != 0) break;
    status = spng_decode_row(png, row.get(), row_bytes);
    if (status != 0 && status != SPNG_EOI) break;
    const auto adam7_pass = static_cast<std::size_t>(place.pass);
    const bool in_adam7 = interlaced && adam7_pass < kAdam7FirstColumn.size();
    take_png_row(pass, layout, row.get(), place.row_num,
                 in_adam7 ? kAdam7FirstColumn[adam7_pass] : 0,
                 in_adam7 ? kAdam7ColumnStep[adam7_pass] : 1, header.width);
  } while (status == 0);
  if (status != SPNG_EOI) return png_failure(status, detail);
  // The file must go on to its end marker: a copy cut short after the image
  // data is still a broken file.
  if (int error = spng_decode_chunks(png); error != 0) return png_failure(error, detail);
  if (!input.ended_with_iend()) return png_failure(SPNG_IO_EOF, detail);
  return ResultCode::kOk;
}

}  // namespace

bool png_support_built() { return true; }

ResultCode read_png_ink(FileSystem& fs, FileHandle file, InkRule rule, InkMap& map,
                        ErrorDetail* detail) {
  return read_ink_in_passes<KeyedColours>(
      rule, [&](auto& pass, ErrorDetail* why) { return read_png_pass(fs, file, pass, why); }, map,
      detail);
}

}  // namespace vellicor

#endif
