// PNG pictures through stb_image, for builds without libspng (the web page's
// WebAssembly build): the file is read whole, and stb_image decodes the
// whole picture in memory.
//
// stb_image checks neither chunk checksums, nor chunk order, nor the end
// marker, nor the Adler-32 of the image data, and it reads palette entries a
// file never gave. The reader therefore walks the chunks first
// (check_png_chunks), inflates the image data once itself to find data that
// ends early or is broken, and decodes a palette picture as its indices,
// applying the palette itself. A file reaches stb_image's decoding only when
// its layout and its compressed data are sound; what it still refuses
// (filters) is broken data.
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

// Inflates the image data once: it must hold exactly the picture's rows
// (fewer: kPngTruncated), as a sound zlib stream with its Adler-32
// (kPngBadData).
ResultCode check_image_data(const WholeFile& file, const PngLayout& layout,
                            std::uint64_t inflated_bytes, ErrorDetail* detail) {
  const auto packed_bytes = static_cast<std::size_t>(layout.image_data_bytes);
  std::unique_ptr<std::uint8_t[]> packed(new (std::nothrow) std::uint8_t[packed_bytes]);
  std::unique_ptr<std::uint8_t[]> inflated(
      new (std::nothrow) std::uint8_t[static_cast<std::size_t>(inflated_bytes)]);
  if (!packed || !inflated) return out_of_memory(detail);
  gather_png_image_data(file.bytes.get(), file.size, packed.get());
  // Both sizes are far below 2^31 (the file and pixel caps).
  const int got = stbi_zlib_decode_buffer(
      reinterpret_cast<char*>(inflated.get()), static_cast<int>(inflated_bytes),
      reinterpret_cast<const char*>(packed.get()), static_cast<int>(packed_bytes));
  if (got < 0 || packed_bytes < kAdlerBytes) return bad_data(detail);
  if (static_cast<std::uint64_t>(got) < inflated_bytes) {
    return fail(detail, ErrorDetail::kPngTruncated, ResultCode::kUnusableInput);
  }
  const std::uint32_t stored = load_u32_be(packed.get() + packed_bytes - kAdlerBytes);
  return adler32_of(inflated.get(), static_cast<std::size_t>(inflated_bytes)) == stored
             ? ResultCode::kOk
             : bad_data(detail);
}

struct StbImageDeleter {
  void operator()(void* pixels) const { stbi_image_free(pixels); }
};

// A palette picture's colours: RGBA8 for each index, and how many the file
// gave.
struct Palette {
  std::array<std::array<std::uint8_t, 4>, 256> entries{};
  std::uint32_t count = 0;
};

Palette palette_of(const WholeFile& file, const PngLayout& layout) {
  Palette palette;
  const std::uint8_t* rgb = file.bytes.get() + layout.palette.offset;
  palette.count = layout.palette.length / 3;
  for (std::uint32_t i = 0; i < palette.count; ++i) {
    palette.entries[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], 0xFF};
  }
  if (layout.transparency.present()) {
    const std::uint8_t* alpha = file.bytes.get() + layout.transparency.offset;
    for (std::uint32_t i = 0; i < layout.transparency.length; ++i) palette.entries[i][3] = alpha[i];
  }
  return palette;
}

// Makes stb_image read a palette picture as greyscale of the same depth,
// that is as its indices: the colour type in IHDR becomes grey, PLTE and
// tRNS become ancillary chunks it passes over. It reads no CRCs.
void hide_palette(WholeFile& file, const PngLayout& layout) {
  constexpr std::size_t kColourTypeAt = 9;
  constexpr std::size_t kTypeBefore = 4;  // a chunk's type precedes its data
  file.bytes[layout.ihdr_offset + kColourTypeAt] = kPngColourGrey;
  file.bytes[layout.palette.offset - kTypeBefore] |= kTypeCaseBit;  // pLTE
  if (layout.transparency.present()) {
    file.bytes[layout.transparency.offset - 1] |= kTypeCaseBit;  // tRNs
  }
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
  ResultCode check_indices(ErrorDetail* detail) const;

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
  if (indexed_) {
    palette_ = palette_of(file, layout);
    hide_palette(file, layout);
    row_.reset(new (std::nothrow) std::uint8_t[std::size_t{header_.width} * 4]);
    if (!row_) return out_of_memory(detail);
  }
  // Every sample as the file holds it, in RGBA (16-bit samples in the host's
  // byte order), tRNS applied; a palette picture as one index a pixel.
  const int channels = indexed_ ? 1 : 4;
  const auto size = static_cast<int>(file.size);  // at most kStbMaxFileBytes
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
  if (!pixels_) {
    const char* reason = stbi_failure_reason();
    if (reason != nullptr && std::strcmp(reason, "outofmem") == 0) return out_of_memory(detail);
    return bad_data(detail);  // filters: the compressed data was sound
  }
  if (static_cast<std::uint32_t>(width) != header_.width ||
      static_cast<std::uint32_t>(height) != header_.height) {
    return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
  }
  return indexed_ ? check_indices(detail) : ResultCode::kOk;
}

// stb_image widens indices of fewer than 8 bits as grey samples: index i of
// depth d comes out as i * (255 / (2^d - 1)).
std::uint32_t index_scale(std::uint8_t depth) { return 255u / ((1u << depth) - 1u); }

// Every index must name a palette entry the file gave.
ResultCode DecodedPng::check_indices(ErrorDetail* detail) const {
  const std::uint32_t scale = index_scale(header_.bit_depth);
  const auto* indices = static_cast<const std::uint8_t*>(pixels_.get());
  const std::size_t count = std::size_t{header_.width} * header_.height;
  for (std::size_t i = 0; i < count; ++i) {
    if (indices[i] / scale >= palette_.count) {
      return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
    }
  }
  return ResultCode::kOk;
}

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
      std::memcpy(row_.get() + std::size_t{x} * 4, palette_.entries[indices[x] / scale].data(), 4);
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
  if (const ResultCode read =
          read_whole_file(fs, input, kStbMaxFileBytes, kStbFirstReadBytes, file, detail);
      failed(read)) {
    return read;
  }
  PngLayout layout;
  if (const ResultCode checked = check_png_chunks(file.bytes.get(), file.size, layout, detail);
      failed(checked)) {
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
