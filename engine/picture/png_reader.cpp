// PNG pictures through libspng's progressive decoding: one row at a time,
// straight into the ink map.
#include "engine/picture/png_reader.hpp"

#ifndef VELLICOR_HAVE_SPNG

namespace vellicor {

bool png_support_built() { return false; }

ResultCode read_png_ink(FileSystem&, const char*, InkRule, InkMap&, ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
}

}  // namespace vellicor

#else

#include <spng.h>

#include <cstring>
#include <memory>
#include <new>

#include "engine/io/input_stream.hpp"

namespace vellicor {

namespace {

// Ancillary chunks (text, colour profiles) are never used; these bounds keep
// a file from making the decoder hold much of them.
constexpr std::size_t kChunkSizeLimit = std::size_t{1} << 20;   // one chunk
constexpr std::size_t kChunkCacheLimit = std::size_t{4} << 20;  // all kept chunks

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

// What one decoding pass does with each decoded pixel.
class PixelSink {
 public:
  virtual ~PixelSink() = default;
  // pixels of one row: the columns first, first + step, ... below width.
  virtual void take_row(std::uint32_t y, const std::uint8_t* row, std::uint32_t first,
                        std::uint32_t step) = 0;
};

// Decoded rows hold 8 or 16 bits per channel, RGBA, in host byte order.
template <bool kWide>
Rgba16 pixel_at(const std::uint8_t* row, std::uint32_t x) {
  if constexpr (kWide) {
    std::array<std::uint16_t, 4> channels{};
    std::memcpy(channels.data(), row + std::size_t{x} * sizeof channels, sizeof channels);
    return {channels[0], channels[1], channels[2], channels[3]};
  } else {
    const std::size_t at = std::size_t{x} * 4;
    return {widen8(row[at]), widen8(row[at + 1]), widen8(row[at + 2]), widen8(row[at + 3])};
  }
}

bool same_pixel(Rgba16 a, Rgba16 b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

template <bool kWide>
class InkSink final : public PixelSink {
 public:
  InkSink(InkMap& map, InkClassifier classifier) : map_(&map), classifier_(classifier) {}
  void take_row(std::uint32_t y, const std::uint8_t* row, std::uint32_t first,
                std::uint32_t step) override {
    // Strips are long runs of one colour: the last decision is reused.
    Rgba16 previous{};
    bool previous_ink = classifier_.is_ink(previous);
    for (std::uint32_t x = first; x < map_->width_px; x += step) {
      const Rgba16 pixel = pixel_at<kWide>(row, x);
      if (!same_pixel(pixel, previous)) {
        previous = pixel;
        previous_ink = classifier_.is_ink(pixel);
      }
      if (previous_ink) map_->set_ink(x, y);
    }
  }

 private:
  InkMap* map_;
  InkClassifier classifier_;
};

template <bool kWide>
class CountSink final : public PixelSink {
 public:
  CountSink(CommonColourCounter& counter, std::uint32_t width_px)
      : counter_(&counter), width_px_(width_px) {}
  void take_row(std::uint32_t, const std::uint8_t* row, std::uint32_t first,
                std::uint32_t step) override {
    ColourKey run_key = 0;
    std::uint64_t run_length = 0;
    for (std::uint32_t x = first; x < width_px_; x += step) {
      const ColourKey key = colour_key(pixel_at<kWide>(row, x));
      if (run_length != 0 && key != run_key) {
        counter_->add(run_key, run_length);
        run_length = 0;
      }
      run_key = key;
      ++run_length;
    }
    counter_->add(run_key, run_length);
  }

 private:
  CommonColourCounter* counter_;
  std::uint32_t width_px_;
};

// One decoding of the file. With map set, the map is allocated once the
// header is known and the rule's classifier fills it; otherwise the colours
// are counted into counter.
class DecodePass {
 public:
  DecodePass(FileSystem& fs, const char* path) : fs_(&fs), path_(path) {}

  ResultCode run_for_ink(InkClassifier classifier, InkMap& map, ErrorDetail* detail) {
    return run(&classifier, &map, nullptr, detail);
  }
  ResultCode run_for_count(CommonColourCounter& counter, ErrorDetail* detail) {
    return run(nullptr, nullptr, &counter, detail);
  }

 private:
  ResultCode run(const InkClassifier* classifier, InkMap* map, CommonColourCounter* counter,
                 ErrorDetail* detail);

  FileSystem* fs_;
  const char* path_;
};

ResultCode DecodePass::run(const InkClassifier* classifier, InkMap* map,
                           CommonColourCounter* counter, ErrorDetail* detail) {
  InputFile file(*fs_, fs_->open_for_reading(path_));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  std::uint64_t file_bytes = 0;
  if (!fs_->size(file.handle(), &file_bytes)) file_bytes = 0;

  InputStream stream(*fs_, file.handle());
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
  if (int error = spng_set_chunk_limits(png, kChunkSizeLimit, kChunkCacheLimit); error != 0) {
    return png_failure(error, detail);
  }
  PngInput input{&stream, {}};
  if (int error = spng_set_png_stream(png, read_from_stream, &input); error != 0) {
    return png_failure(error, detail);
  }

  spng_ihdr header{};
  if (int error = spng_get_ihdr(png, &header); error != 0) return png_failure(error, detail);
  const bool wide = header.bit_depth == kSixteenBits;
  const int format = wide ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
  const std::uint64_t row_bytes = std::uint64_t{header.width} * (wide ? 8 : 4);

  InkMap decoded;
  if (map != nullptr) {
    if (const ResultCode made =
            allocate_ink_map(header.width, header.height, row_bytes, file_bytes, decoded, detail);
        failed(made)) {
      return made;
    }
  } else if (const ResultCode checked =
                 check_picture_size(header.width, header.height, row_bytes, file_bytes, detail);
             failed(checked)) {
    return checked;
  }

  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[row_bytes]);
  if (!row) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);

  std::unique_ptr<PixelSink> sink;
  if (map != nullptr) {
    sink =
        wide ? std::unique_ptr<PixelSink>(new (std::nothrow) InkSink<true>(decoded, *classifier))
             : std::unique_ptr<PixelSink>(new (std::nothrow) InkSink<false>(decoded, *classifier));
  } else {
    sink = wide ? std::unique_ptr<PixelSink>(new (std::nothrow)
                                                 CountSink<true>(*counter, header.width))
                : std::unique_ptr<PixelSink>(new (std::nothrow)
                                                 CountSink<false>(*counter, header.width));
  }
  if (!sink) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);

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
    const auto pass = static_cast<std::size_t>(place.pass);
    const bool in_adam7 = interlaced && pass < kAdam7FirstColumn.size();
    sink->take_row(place.row_num, row.get(), in_adam7 ? kAdam7FirstColumn[pass] : 0,
                   in_adam7 ? kAdam7ColumnStep[pass] : 1);
  } while (status == 0);
  if (status != SPNG_EOI) return png_failure(status, detail);
  // The file must go on to its end marker: a copy cut short after the image
  // data is still a broken file.
  if (int error = spng_decode_chunks(png); error != 0) return png_failure(error, detail);
  if (!input.ended_with_iend()) return png_failure(SPNG_IO_EOF, detail);

  if (map != nullptr) *map = std::move(decoded);
  return ResultCode::kOk;
}

}  // namespace

bool png_support_built() { return true; }

ResultCode read_png_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                        ErrorDetail* detail) {
  ColourKey paper = 0;
  if (rule == InkRule::kAuto) {
    // The counter is large; it lives on the heap rather than the stack.
    std::unique_ptr<CommonColourCounter> counter(new (std::nothrow) CommonColourCounter());
    if (!counter) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    if (const ResultCode counted = DecodePass(fs, path).run_for_count(*counter, detail);
        failed(counted)) {
      return counted;
    }
    paper = counter->most_common();
  }
  return DecodePass(fs, path).run_for_ink(InkClassifier(rule, paper), map, detail);
}

}  // namespace vellicor

#endif
