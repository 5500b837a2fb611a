// Reads a one-bit BMP: headers, ink palette indices and the pixel bytes the file holds.
#include "engine/picture/bmp_loader.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "engine/io/input_stream.hpp"
#include "engine/picture/bmp_header.hpp"

namespace vellicor {

namespace {

// When the file's size cannot be learnt (a pipe, a device), pixel bytes are
// read in chunks that grow from this size, so memory follows what arrives
// rather than what the header claims.
constexpr std::uint32_t kFirstPixelChunkBytes = 64 * 1024;

// The palette fits on the stack: at most 256 entries of 4 bytes.
using PaletteBytes = std::array<std::uint8_t, kMaxPaletteEntries * kPaletteEntrySize>;

bool is_pure_black(const std::uint8_t* entry) {
  // Blue, green, red; the fourth byte is unused by the format.
  return entry[0] == 0 && entry[1] == 0 && entry[2] == 0;
}

// Collects the index of every pure black palette entry, in rising order.
ResultCode collect_ink(const std::uint8_t* palette, std::uint32_t entry_count, InkIndexTable& table,
                       std::uint16_t& ink_count, ErrorDetail* detail) {
  std::uint16_t count = 0;
  for (std::uint32_t index = 0; index < entry_count; ++index) {
    if (is_pure_black(palette + index * kPaletteEntrySize)) {
      table[count] = static_cast<std::uint8_t>(index);
      ++count;
    }
  }
  if (count == 0) return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  ink_count = count;
  return ResultCode::kOk;
}

// Reads up to declared pixel bytes from the current position into a buffer
// that never exceeds what the file delivers (plus at most one growth step when
// the file's size is unknown).
ResultCode read_pixels(FileSystem& fs, FileHandle file, std::uint32_t pixel_offset,
                       std::uint32_t declared, PixelBuffer& pixels, ErrorDetail* detail) {
  std::uint64_t file_size = 0;
  const bool size_known = fs.size(file, &file_size);
  std::uint32_t capacity = declared;
  if (size_known) {
    const std::uint64_t available = file_size > pixel_offset ? file_size - pixel_offset : 0;
    capacity = static_cast<std::uint32_t>(std::min<std::uint64_t>(declared, available));
  } else {
    capacity = std::min(declared, kFirstPixelChunkBytes);
  }

  PixelBuffer loaded;
  loaded.bytes.reset(new (std::nothrow) std::uint8_t[capacity]);
  if (!loaded.bytes) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);

  while (true) {
    std::size_t got = 0;
    const std::size_t wanted = capacity - loaded.delivered_bytes;
    if (!read_fully(fs, file, loaded.bytes.get() + loaded.delivered_bytes, wanted, &got)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    loaded.delivered_bytes += static_cast<std::uint32_t>(got);
    // The known size bounds the single read; otherwise stop at the end of the
    // file or once everything declared has arrived.
    if (size_known || got < wanted || capacity == declared) break;

    const std::uint32_t grown = declared - capacity > capacity ? capacity * 2 : declared;
    std::unique_ptr<std::uint8_t[]> larger(new (std::nothrow) std::uint8_t[grown]);
    if (!larger) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    std::memcpy(larger.get(), loaded.bytes.get(), loaded.delivered_bytes);
    loaded.bytes = std::move(larger);
    capacity = grown;
  }
  pixels = std::move(loaded);
  return ResultCode::kOk;
}

}  // namespace

ResultCode load_bmp(FileSystem& fs, const char* path, BmpInfoHeader& info_header,
                    InkIndexTable& ink_table, std::uint16_t& ink_count, PixelBuffer& pixels,
                    ErrorDetail* detail) {
  pixels = PixelBuffer{};
  InputFile file(fs, fs.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  return load_bmp(fs, file.handle(), info_header, ink_table, ink_count, pixels, detail);
}

ResultCode load_bmp(FileSystem& fs, FileHandle file, BmpInfoHeader& info_header,
                    InkIndexTable& ink_table, std::uint16_t& ink_count, PixelBuffer& pixels,
                    ErrorDetail* detail) {
  pixels = PixelBuffer{};

  // A file that ends inside a header leaves the rest of it zero; the checks
  // below then refuse it, so only the read call's success matters here.
  std::array<std::uint8_t, kBmpFileHeaderSize> file_bytes{};
  std::size_t delivered = 0;
  if (!read_fully(fs, file, file_bytes.data(), file_bytes.size(), &delivered)) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  const BmpFileHeader file_fields = decode_file_header(file_bytes);
  if (file_fields.bfType != kBmpSignature) {
    return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
  }

  std::array<std::uint8_t, kBmpInfoHeaderSize> info_bytes{};
  if (!read_fully(fs, file, info_bytes.data(), info_bytes.size(), &delivered)) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  BmpInfoHeader info_fields = decode_info_header(info_bytes);
  if (const ResultCode checked = validate_headers(file_fields, info_fields, detail);
      failed(checked)) {
    return checked;
  }

  const std::uint32_t entry_count = palette_entry_count(info_fields);
  if (entry_count > kMaxPaletteEntries)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);

  // The palette follows the information header as the file declares its
  // length: editors write 108- and 124-byte headers, whose palette starts
  // past byte 54.
  PaletteBytes palette{};
  const std::size_t palette_bytes = entry_count * kPaletteEntrySize;
  const std::uint64_t palette_offset = std::uint64_t{kBmpFileHeaderSize} + info_fields.biSize;
  if (!fs.seek(file, palette_offset) ||
      !read_fully(fs, file, palette.data(), palette_bytes, &delivered) ||
      delivered != palette_bytes) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  InkIndexTable ink{};
  std::uint16_t ink_found = 0;
  if (const ResultCode collected = collect_ink(palette.data(), entry_count, ink, ink_found, detail);
      failed(collected)) {
    return collected;
  }

  // Hosts have always seen a failed move to the pixel data reported as
  // unusable input (-1), not as the -6 of the other file access failures;
  // the detail still names file access.
  if (!fs.seek(file, file_fields.bfOffBits)) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kUnusableInput);
  }
  PixelBuffer loaded;
  if (const ResultCode read =
          read_pixels(fs, file, file_fields.bfOffBits, info_fields.biSizeImage, loaded, detail);
      failed(read)) {
    return read;
  }

  info_header = info_fields;
  ink_table = ink;
  ink_count = ink_found;
  pixels = std::move(loaded);
  return ResultCode::kOk;
}

}  // namespace vellicor
