// PNG pictures through stb_image, for builds without libspng (the web page's
// WebAssembly build): the file is read whole, and stb_image decodes the
// whole picture in memory.
//
// stb_image checks neither chunk checksums, nor chunk order, nor the end
// marker, nor the Adler-32 of the image data; it refuses chunks libspng
// passes over, and it reads palette entries a file never gave. The reader
// therefore walks the chunks first (check_png_chunks), inflates the image
// data once itself to find data that ends early or is broken, hides from
// stb_image every PLTE and tRNS chunk that libspng would pass over, and
// decodes a palette picture as its indices, applying the palette itself
// (indices past its entries are opaque black, as libspng has them). A file
// reaches stb_image's decoding only when its layout and its compressed data
// are sound; what it still refuses (filters) is broken data.
#include "engine/picture/png_reader.hpp"

#define STBI_NO_STDIO
#include <stb_image.h>

#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "engine/core/byte_order.hpp"
#include "engine/core/limits.hpp"
#include "engine/io/whole_file.hpp"
#include "engine/picture/png_chunks.hpp"
#include "engine/picture/png_rows.hpp"
#include "engine/picture/stb_allowance.hpp"
#include "engine/picture/stb_image_png.h"

namespace vellicor {

namespace {

constexpr std::uint8_t kSixteenBits = 16;
constexpr std::size_t kAdlerBytes = 4;
constexpr std::uint8_t kTypeCaseBit = 0x20;

ResultCode bad_data(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kPngBadData, ResultCode::kUnusableInput);
}

ResultCode out_of_memory(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
}

// Why stb_image gave up: the machine's memory ran out, or the data was
// broken (also when the allowance stopped it: data that inflates past what
// the picture can hold).
ResultCode stb_refusal(const StbAllowance& allowance, ErrorDetail* detail) {
  const char* reason = stbi_failure_reason();
  const bool no_memory = reason != nullptr && std::strcmp(reason, "outofmem") == 0;
  return no_memory && !allowance.exceeded() ? out_of_memory(detail) : bad_data(detail);
}

std::uint32_t adler32_of(const std::uint8_t* bytes, std::size_t count) {
  constexpr std::uint32_t kModulus = 65521;
  constexpr std::size_t kLongestRun = 5552;  // sums stay below 2^32
  std::uint32_t low = 1;
  std::uint32_t high = 0;
  while (count > 0) {
    const std::size_t run = count < kLongestRun ? count : kLongestRun;
    for (std::size_t i = 0; i < run; ++i) {
      low += bytes[i];
      high += low;
    }
    low %= kModulus;
    high %= kModulus;
    bytes += run;
    count -= run;
  }
  return high << 16 | low;
}

struct StbImageDeleter {
  void operator()(void* pixels) const { stbi_image_free(pixels); }
};

// What stb_image may hold at once for a picture: the gathered image data and
// the inflated data, each grown by doubling, and the decoded picture up to
// three times over (a pass being de-interlaced and the whole picture, then
// its conversion to RGBA), 8 bytes a pixel at most.
std::uint64_t stb_allowance_bytes(const PngLayout& layout, std::uint64_t inflated_bytes) {
  constexpr std::uint64_t kMostBytesPerPixel = 8;
  constexpr std::uint64_t kSlackBytes = std::uint64_t{1} << 20;
  const std::uint64_t pixels = std::uint64_t{layout.header.width} * layout.header.height;
  return 2 * layout.image_data_bytes + 2 * inflated_bytes + 3 * kMostBytesPerPixel * pixels +
         kSlackBytes;
}

// The image data of every IDAT chunk in one run, and what stb_image inflates
// from it: null rows when the stream is broken or the allowance runs out,
// ran_out when the data ends before the stream does.
struct InflatedImageData {
  std::unique_ptr<std::uint8_t[]> packed;
  std::size_t packed_bytes = 0;
  std::unique_ptr<void, StbImageDeleter> rows;
  int got = 0;
  int stream_bytes = 0;
  int ran_out = 0;

  // Whether the stream ended within the data, with its Adler-32 after it.
  bool adler_present() const {
    const auto adler_at = static_cast<std::size_t>(stream_bytes);
    return stream_bytes >= 0 && adler_at <= packed_bytes && packed_bytes - adler_at >= kAdlerBytes;
  }
  // Whether that Adler-32 is the rows' (only when adler_present()).
  bool adler_matches() const {
    return adler32_of(static_cast<const std::uint8_t*>(rows.get()),
                      static_cast<std::size_t>(got)) ==
           load_u32_be(packed.get() + static_cast<std::size_t>(stream_bytes));
  }
};

// Gathers and inflates the image data, under the allowance the caller has
// set; false when the gathered copy finds no memory. Both sizes are below
// 2^31 (the file and pixel caps).
bool inflate_image_data(const WholeFile& file, const PngLayout& layout,
                        std::uint64_t inflated_bytes, InflatedImageData& data) {
  data.packed_bytes = static_cast<std::size_t>(layout.image_data_bytes);
  data.packed.reset(new (std::nothrow) std::uint8_t[data.packed_bytes + 1]);
  if (!data.packed) return false;
  gather_png_image_data(file.bytes.get(), layout, data.packed.get());
  data.rows.reset(vellicor_stb_inflate(
      reinterpret_cast<const char*>(data.packed.get()), static_cast<int>(data.packed_bytes),
      static_cast<int>(inflated_bytes), &data.got, &data.stream_bytes, &data.ran_out));
  return true;
}

// Inflates the image data once: it must hold at least the picture's rows
// (fewer, or bytes that end before the zlib stream and its Adler-32 do:
// kPngTruncated), as a sound stream with a matching Adler-32 (kPngBadData).
// Rows past the picture's and bytes after the stream are allowed, as libspng
// allows them, the rows up to the allowance.
ResultCode check_image_data(const WholeFile& file, const PngLayout& layout,
                            std::uint64_t inflated_bytes, ErrorDetail* detail) {
  const auto truncated = [detail] {
    return fail(detail, ErrorDetail::kPngTruncated, ResultCode::kUnusableInput);
  };
  StbAllowance allowance(stb_allowance_bytes(layout, inflated_bytes));
  InflatedImageData data;
  if (!inflate_image_data(file, layout, inflated_bytes, data)) return out_of_memory(detail);
  if (data.ran_out != 0) return truncated();
  if (!data.rows) return stb_refusal(allowance, detail);
  if (static_cast<std::uint64_t>(data.got) < inflated_bytes) return truncated();
  if (data.stream_bytes < 0) return bad_data(detail);
  if (!data.adler_present()) return truncated();
  return data.adler_matches() ? ResultCode::kOk : bad_data(detail);
}

// The refusal for image data whose last IDAT has a wrong CRC: a decoder
// reading the file in order inflates and unfilters that chunk's data before
// it reaches its CRC, so data or row filters broken before then are broken
// data (kPngBadData), and otherwise the checksum is wrong (kPngChecksum).
ResultCode refuse_checksummed_data(const WholeFile& file, const PngLayout& layout,
                                   ErrorDetail* detail) {
  const auto checksum = [detail] {
    return fail(detail, ErrorDetail::kPngChecksum, ResultCode::kUnusableInput);
  };
  const std::uint64_t inflated_bytes = png_inflated_bytes(layout.header);
  if (std::uint64_t{layout.header.width} * layout.header.height > kStbMaxPixels) {
    return checksum();
  }
  StbAllowance allowance(stb_allowance_bytes(layout, inflated_bytes));
  InflatedImageData data;
  if (!inflate_image_data(file, layout, inflated_bytes, data)) return out_of_memory(detail);
  if (!data.rows) return allowance.exceeded() ? checksum() : bad_data(detail);
  // Rows inflated before the CRC are unfiltered as they arrive.
  if (!png_filters_known(layout.header, static_cast<const std::uint8_t*>(data.rows.get()),
                         static_cast<std::size_t>(data.got))) {
    return bad_data(detail);
  }
  // A stream that ends before the CRC has its Adler-32 checked there.
  if (data.ran_out == 0 && data.adler_present() && !data.adler_matches()) return bad_data(detail);
  return checksum();
}

// A palette picture's colours: RGBA8 for each index; opaque black past the
// entries the file gave.
using Palette = std::array<std::array<std::uint8_t, 4>, 256>;

Palette palette_of(const WholeFile& file, const PngLayout& layout) {
  Palette palette;
  palette.fill({0, 0, 0, 0xFF});
  const std::uint8_t* rgb = file.bytes.get() + layout.palette.offset;
  const std::size_t count = layout.palette.length / 3;
  for (std::size_t i = 0; i < count; ++i) {
    palette[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], 0xFF};
  }
  if (layout.transparency.present()) {
    const std::uint8_t* alpha = file.bytes.get() + layout.transparency.offset;
    for (std::uint32_t i = 0; i < layout.transparency.length; ++i) palette[i][3] = alpha[i];
  }
  return palette;
}

// Turns the chunk whose data begins at data_at into an ancillary chunk no
// decoder knows, which stb_image passes over (it reads no CRCs).
void hide_chunk(WholeFile& file, std::size_t data_at) {
  std::uint8_t* type = file.bytes.get() + data_at - 4;
  type[0] |= kTypeCaseBit;  // ancillary
  type[3] ^= kTypeCaseBit;  // and no longer a known name
}

// Hides from stb_image what libspng passes over: palettes, and tRNS chunks
// other than the one taken. A palette picture is read as greyscale of the
// same depth, that is as its indices: the colour type in IHDR becomes grey,
// and its PLTE and tRNS are hidden as well.
void hide_passed_over(WholeFile& file, const PngLayout& layout) {
  constexpr std::size_t kColourTypeAt = 9;
  const bool indexed = layout.header.colour_type == kPngColourPalette;
  if (indexed) file.bytes[layout.ihdr_offset + kColourTypeAt] = kPngColourGrey;
  // Renaming a chunk leaves its length, and so the walk, as it was.
  for_each_png_chunk(file.bytes.get(), file.size,
                     [&](const std::uint8_t* type, std::size_t data_at, std::uint32_t) {
                       const bool palette = std::memcmp(type, "PLTE", 4) == 0;
                       const bool key = std::memcmp(type, "tRNS", 4) == 0;
                       const bool taken_key = !indexed && data_at == layout.transparency.offset;
                       if (palette || (key && !taken_key)) hide_chunk(file, data_at);
                     });
}

// The picture as stb_image decoded it.
class DecodedPng {
 public:
  // Decodes file (checked by check_png_chunks and check_image_data).
  ResultCode decode(WholeFile& file, const PngLayout& layout, ErrorDetail* detail);

  // Hands every row to take_row(row, y), in layout(), top row first.
  template <typename TakeRow>
  void for_each_row(TakeRow take_row);

  PngRowLayout layout() const { return wide_ ? PngRowLayout::kRgba16 : PngRowLayout::kRgba8; }

 private:
  PngHeader header_;
  bool wide_ = false;
  bool indexed_ = false;
  Palette palette_;
  std::unique_ptr<void, StbImageDeleter> pixels_;
  std::unique_ptr<std::uint8_t[]> row_;  // a palette row in RGBA8
};

ResultCode DecodedPng::decode(WholeFile& file, const PngLayout& layout, ErrorDetail* detail) {
  header_ = layout.header;
  wide_ = header_.bit_depth == kSixteenBits;
  indexed_ = header_.colour_type == kPngColourPalette;
  if (indexed_) palette_ = palette_of(file, layout);
  hide_passed_over(file, layout);
  if (indexed_) {
    row_.reset(new (std::nothrow) std::uint8_t[std::size_t{header_.width} * 4]);
    if (!row_) return out_of_memory(detail);
  }
  // Every sample as the file holds it, in RGBA (16-bit samples in the host's
  // byte order), tRNS applied; a palette picture as one index a pixel.
  const int channels = indexed_ ? 1 : 4;
  const auto size = static_cast<int>(file.size);  // at most kStbMaxFileBytes
  StbAllowance allowance(stb_allowance_bytes(layout, png_inflated_bytes(header_)));
  int width = 0;
  int height = 0;
  int file_channels = 0;
  if (wide_) {
    pixels_.reset(stbi_load_16_from_memory(file.bytes.get(), size, &width, &height, &file_channels,
                                           channels));
  } else {
    pixels_.reset(
        stbi_load_from_memory(file.bytes.get(), size, &width, &height, &file_channels, channels));
  }
  // Broken data here is the filters: the compressed data was found sound.
  if (!pixels_) return stb_refusal(allowance, detail);
  if (static_cast<std::uint32_t>(width) != header_.width ||
      static_cast<std::uint32_t>(height) != header_.height) {
    return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

// stb_image widens indices of fewer than 8 bits as grey samples: index i of
// depth d comes out as i * (255 / (2^d - 1)).
std::uint32_t index_scale(std::uint8_t depth) { return 255u / ((1u << depth) - 1u); }

template <typename TakeRow>
void DecodedPng::for_each_row(TakeRow take_row) {
  const auto* pixels = static_cast<const std::uint8_t*>(pixels_.get());
  if (!indexed_) {
    const auto row_bytes = static_cast<std::size_t>(header_.width * bytes_per_pixel(layout()));
    for (std::uint32_t y = 0; y < header_.height; ++y) take_row(pixels + row_bytes * y, y);
    return;
  }
  const std::uint32_t scale = index_scale(header_.bit_depth);
  for (std::uint32_t y = 0; y < header_.height; ++y) {
    const std::uint8_t* indices = pixels + std::size_t{header_.width} * y;
    for (std::uint32_t x = 0; x < header_.width; ++x) {
      std::memcpy(row_.get() + std::size_t{x} * 4, palette_[indices[x] / scale].data(), 4);
    }
    take_row(row_.get(), y);
  }
}

}  // namespace

bool png_support_built() { return true; }

ResultCode read_png_ink(FileSystem& fs, FileHandle input, InkRule rule, InkMap& map,
                        ErrorDetail* detail) {
  static_assert(kStbMaxFileBytes < (std::uint64_t{1} << 31), "stb_image takes int sizes");
  WholeFile file;
  PngLayout layout;
  if (const ResultCode checked =
          read_png_chunks(fs, input, kStbMaxFileBytes, kStbFirstReadBytes, file, layout, detail);
      failed(checked)) {
    if (layout.image_data_checksum_broken) return refuse_checksummed_data(file, layout, detail);
    return checked;
  }
  const PngHeader& header = layout.header;

  // Every limit before anything is inflated: the picture as the ink passes
  // allow it, then the whole decoded picture stb_image holds.
  const PngRowLayout rows =
      header.bit_depth == kSixteenBits ? PngRowLayout::kRgba16 : PngRowLayout::kRgba8;
  const std::uint64_t row_bytes = std::uint64_t{header.width} * bytes_per_pixel(rows);
  if (const ResultCode checked =
          check_picture_size(header.width, header.height, row_bytes, file.size, detail);
      failed(checked)) {
    return checked;
  }
  if (std::uint64_t{header.width} * header.height > kStbMaxPixels) {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  }
  // Image data too short to hold the picture however well it is compressed.
  const std::uint64_t inflated_bytes = png_inflated_bytes(header);
  if (inflated_bytes > layout.image_data_bytes * kDeflateMostBytesPerByte) {
    return fail(detail, ErrorDetail::kPngTruncated, ResultCode::kUnusableInput);
  }
  if (const ResultCode checked = check_image_data(file, layout, inflated_bytes, detail);
      failed(checked)) {
    return checked;
  }
  // Image data after the first run of it breaks the file's layout.
  if (layout.stray_image_data) {
    return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
  }

  DecodedPng picture;
  if (const ResultCode decoded = picture.decode(file, layout, detail); failed(decoded)) {
    return decoded;
  }
  const PictureExtent extent{header.width, header.height, row_bytes, file.size};
  file = WholeFile{};  // stb_image is done with it
  const KeyedColours colours;
  const auto read_pass = [&](auto& pass, ErrorDetail* why) -> ResultCode {
    if (const ResultCode begun = pass.begin(extent, colours, why); failed(begun)) return begun;
    // Decoded once; a second pass reads its rows again.
    picture.for_each_row([&](const std::uint8_t* row, std::uint32_t y) {
      take_png_row(pass, picture.layout(), row, y, 0, 1, header.width);
    });
    return ResultCode::kOk;
  };
  return read_ink_in_passes<KeyedColours>(rule, read_pass, map, detail);
}

}  // namespace vellicor
