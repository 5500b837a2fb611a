// Choosing the reader of a picture. The file is opened once: its first bytes
// choose the reader, which reads the same open file from its start. One-bit
// BMP files under the black rule keep the plain conversion's reader, so they
// give exactly the plain conversion's picture (pure black palette entries
// are ink); every other picture and rule goes through the readers that see
// colours.
#include "engine/picture/picture_source.hpp"

#include "engine/picture/bmp_loader.hpp"
#include "engine/picture/ink_rule.hpp"
#include "engine/picture/one_bit_bmp_ink.hpp"
#include "engine/picture/picture_ink.hpp"

namespace vellicor {

namespace {

// load_bmp on the open file, then its ink map.
ResultCode read_one_bit_bmp_file(FileSystem& fs, FileHandle file, InkMap& map,
                                 ErrorDetail* detail) {
  BmpInfoHeader info;
  InkIndexTable ink_table{};
  std::uint16_t ink_count = 0;
  PixelBuffer pixels;
  const ResultCode loaded = load_bmp(fs, file, info, ink_table, ink_count, pixels, detail);
  if (failed(loaded)) return loaded;
  return one_bit_bmp_ink_map(info, std::move(pixels), ink_table.data(), ink_count, map, detail);
}

}  // namespace

ResultCode read_one_bit_bmp(FileSystem& fs, const char* path, InkMap& map, ErrorDetail* detail) {
  InputFile file(fs, fs.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  return read_one_bit_bmp_file(fs, file.handle(), map, detail);
}

ResultCode read_picture(FileSystem& fs, const char* path, PictureReaders readers,
                        std::uint32_t ink_rule, InkMap& map, ErrorDetail* detail) {
  if (readers == PictureReaders::kOneBitBmp) return read_one_bit_bmp(fs, path, map, detail);

  InkRule rule = InkRule::kBlack;
  if (!ink_rule_from_number(ink_rule, rule)) return ResultCode::kBadArgument;
  InputFile file(fs, fs.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  const PictureFormat format = sniff_picture_format(fs, file.handle());
  if (rule == InkRule::kBlack && format == PictureFormat::kOneBitBmp) {
    if (!fs.seek(file.handle(), 0)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    return read_one_bit_bmp_file(fs, file.handle(), map, detail);
  }
  return read_picture_ink(fs, file.handle(), format, rule, map, detail);
}

}  // namespace vellicor
