// Saves a drawn picture as PNG through libspng's encoder: eight-bit palette
// indices with the drawing's colours, or one-bit grey for ink and paper alone.
#include "engine/draw/picture_writer.hpp"

#ifndef VELLICOR_HAVE_SPNG

namespace vellicor {

ResultCode write_png_picture(FileSystem&, const char*, const DrawnPicture&, ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kUnsupported, ResultCode::kUnusableInput);
}

bool writes_png_pictures() { return false; }

}  // namespace vellicor

#else

#include <spng.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "engine/draw/picture_checks.hpp"
#include "engine/io/output_file.hpp"

namespace vellicor {

namespace {

constexpr std::uint8_t kPaletteDepth = 8;
constexpr std::uint8_t kOneBitDepth = 1;
constexpr unsigned kBitsPerByte = 8;
// One-bit grey: 0 is black (ink), 1 white (paper).
constexpr std::uint8_t kGreyWhite = 1;
// libspng's own bound on a side, as the PNG format's (2^31 - 1).
constexpr std::uint32_t kMostSide = 0x7FFFFFFF;

struct ContextDeleter {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;
struct BufferDeleter {
  void operator()(void* buffer) const { std::free(buffer); }  // libspng allocates with malloc
};
using EncodedBuffer = std::unique_ptr<void, BufferDeleter>;

ResultCode encoder_failure(int error, ErrorDetail* detail) {
  if (error == SPNG_EMEM) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
}

// A two-colour picture's rows as one-bit grey, without the filter bytes.
std::vector<std::uint8_t> one_bit_image_of(const DrawnPicture& picture) {
  const std::size_t row_bytes = (std::size_t{picture.width} + kBitsPerByte - 1) / kBitsPerByte;
  std::vector<std::uint8_t> image(row_bytes * picture.height, 0);
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    std::uint8_t* const row = image.data() + std::size_t{y} * row_bytes;
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      if (picture.at(x, y) == kDrawnInk) continue;
      row[x / kBitsPerByte] |=
          static_cast<std::uint8_t>(kGreyWhite << (kBitsPerByte - 1 - x % kBitsPerByte));
    }
  }
  return image;
}

// Encodes the picture into memory; encoded and size are written on success.
ResultCode encode(const DrawnPicture& picture, EncodedBuffer& encoded, std::size_t& size,
                  ErrorDetail* detail) {
  const Context context(spng_ctx_new(SPNG_CTX_ENCODER));
  if (context == nullptr) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  int error = spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr header{};
  header.width = picture.width;
  header.height = picture.height;
  header.bit_depth = picture.two_colours ? kOneBitDepth : kPaletteDepth;
  header.color_type = picture.two_colours ? SPNG_COLOR_TYPE_GRAYSCALE : SPNG_COLOR_TYPE_INDEXED;
  if (error == 0) error = spng_set_ihdr(context.get(), &header);
  if (error == 0 && !picture.two_colours) {
    spng_plte palette{};
    palette.n_entries = static_cast<std::uint32_t>(kDrawnPalette.size());
    for (std::size_t index = 0; index < kDrawnPalette.size(); ++index) {
      palette.entries[index].red = kDrawnPalette[index][0];
      palette.entries[index].green = kDrawnPalette[index][1];
      palette.entries[index].blue = kDrawnPalette[index][2];
    }
    error = spng_set_plte(context.get(), &palette);
  }
  // A palette picture's pixels are its indices already, one byte each.
  const std::vector<std::uint8_t> packed =
      picture.two_colours ? one_bit_image_of(picture) : std::vector<std::uint8_t>{};
  const std::vector<std::uint8_t>& image = picture.two_colours ? packed : picture.pixels;
  if (error == 0) {
    error = spng_encode_image(context.get(), image.data(), image.size(), SPNG_FMT_PNG,
                              SPNG_ENCODE_FINALIZE);
  }
  if (error != 0) return encoder_failure(error, detail);
  EncodedBuffer buffer(spng_get_png_buffer(context.get(), &size, &error));
  if (buffer == nullptr || error != 0) return encoder_failure(error, detail);
  encoded = std::move(buffer);
  return ResultCode::kOk;
}

ResultCode write_png(FileSystem& files, const char* path, const DrawnPicture& picture,
                     ErrorDetail* detail) {
  if (const ResultCode checked = check_drawn_picture(picture, detail); failed(checked)) {
    return checked;
  }
  if (picture.width > kMostSide || picture.height > kMostSide) {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  }
  EncodedBuffer encoded;
  std::size_t size = 0;
  if (const ResultCode made = encode(picture, encoded, size, detail); failed(made)) return made;
  OutputFile file(files);
  if (const ResultCode created = file.create(path, detail); failed(created)) return created;
  if (const ResultCode written = file.write_exact(encoded.get(), size, detail); failed(written)) {
    return written;
  }
  return file.commit(detail);
}

}  // namespace

ResultCode write_png_picture(FileSystem& files, const char* path, const DrawnPicture& picture,
                             ErrorDetail* detail) {
  try {
    return write_png(files, path, picture, detail);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

bool writes_png_pictures() { return true; }

}  // namespace vellicor

#endif
