// Fuzz target: a whole conversion from arbitrary bytes, in memory.
//
// Input: ten option bytes, then the picture file. An input that begins with
// "BM" is a picture as it stands, converted with plain options, so BMP files
// serve as seeds unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/api/convert.hpp"
#include "engine/core/limits.hpp"
#include "engine/font/bdf_writer.hpp"
#include "engine/font/font_model.hpp"
#include "engine/font/glyph_record.hpp"
#include "engine/layout/glyph_cutter.hpp"
#include "engine/picture/picture_source.hpp"
#include "fuzz/fuzz_check.hpp"
#include "fuzz/memory_file_system.hpp"

namespace {

// The README's bound on a font's glyph records: 32 MiB, or 64 bytes for
// every pixel byte the picture delivered when that is more.
std::uint64_t documented_font_limit(std::uint64_t delivered_pixel_bytes) {
  constexpr std::uint64_t kFloorBytes = 32ull * 1024 * 1024;
  constexpr std::uint64_t kBytesPerPixelByte = 64;
  return std::max(kFloorBytes, kBytesPerPixelByte * delivered_pixel_bytes);
}

using vellicor::ErrorDetail;
using vellicor::ResultCode;
using vellicor::fuzz::require;

constexpr std::size_t kOptionBytes = 10;
constexpr char kInputPath[] = "/in/picture.bmp";
constexpr char kOutputPath[] = "/out/font.bdf";
constexpr char kDerivedPath[] = "/in/picture.bdf";
constexpr auto kDetailNotStored = static_cast<ErrorDetail>(12345);

// Every result and detail convert can fail with when no file call fails.
const std::set<std::pair<ResultCode, ErrorDetail>>& possible_failures() {
  static const std::set<std::pair<ResultCode, ErrorDetail>> kFailures = {
      {ResultCode::kBadArgument, kDetailNotStored},                 // font name with control bytes
      {ResultCode::kUnusableInput, ErrorDetail::kNotBmp},           // no "BM"
      {ResultCode::kUnusableInput, ErrorDetail::kFileAccess},       // pixel offset unreachable
      {ResultCode::kFileAccess, ErrorDetail::kFileAccess},          // short file
      {ResultCode::kFileAccess, ErrorDetail::kUnsupported},         // depth, compression
      {ResultCode::kUnusableInput, ErrorDetail::kUnusableContent},  // header, palette, no ink
      {ResultCode::kOutOfMemory, ErrorDetail::kOutOfMemory},
      {ResultCode::kNoGlyph, ErrorDetail::kNoGlyph},  // no glyph found
      {ResultCode::kUnusableInput, ErrorDetail::kFontTooLarge},
  };
  return kFailures;
}

// The stages run again on the input: the glyph count and the exact size of
// the records that the written font must match.
struct InputMeasure {
  vellicor::FontMeasure figures;
  std::uint64_t records_bytes = 0;
  std::uint64_t records_bound = 0;
  std::uint32_t delivered_bytes = 0;
};

InputMeasure measure_input(vellicor::FileSystem& fs, const ConversionOptions& options) {
  vellicor::InkMap map;
  const ResultCode loaded = vellicor::read_one_bit_bmp(fs, kInputPath, map, nullptr);
  require(vellicor::succeeded(loaded), "a converted picture loads again");
  vellicor::GlyphBoxes boxes;
  require(vellicor::succeeded(vellicor::cut_strip(map, options.allowed_blank_columns,
                                                  vellicor::Framing::kMarginStrip, boxes)),
          "the layout succeeds");
  vellicor::FontModel model;
  require(vellicor::succeeded(
              model.build(boxes, options, nullptr, 0, vellicor::Framing::kMarginStrip, nullptr)),
          "the font model is built");
  InputMeasure measure;
  measure.figures = model.measure();
  measure.records_bytes = vellicor::bdf_records_size(model);
  measure.records_bound =
      vellicor::glyph_records_size_bound(options, measure.figures, model.frame());
  measure.delivered_bytes = static_cast<std::uint32_t>(map.file_pixel_bytes);
  return measure;
}

const char* font_name_for(std::uint8_t choice) {
  static const char* const kNames[] = {nullptr, "", "Fuzz-Font", "Two\nLines"};
  return kNames[choice % (sizeof kNames / sizeof kNames[0])];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ConversionOptions options{};
  options.first_glyph = 65;
  options.font_name = "Fuzz-Font";
  bool derive_name = false;
  const bool plain_picture = size >= 2 && data[0] == 'B' && data[1] == 'M';
  if (!plain_picture) {
    if (size < kOptionBytes) return 0;
    options.first_glyph = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    options.allowed_blank_columns = data[2];
    options.descent = data[3];
    options.fixed_width = data[4] & 1;
    derive_name = (data[4] & 2) != 0;
    options.upper_blank = data[5];
    options.lower_blank = data[6];
    options.leading_blank = data[7];
    options.trailing_blank = data[8];
    options.font_name = font_name_for(data[9]);
    data += kOptionBytes;
    size -= kOptionBytes;
  }

  vellicor::fuzz::MemoryFileSystem fs;
  fs.add_file(kInputPath, std::vector<std::uint8_t>(data, data + size));
  fs.add_directory("/out");
  const ConversionPaths paths{kInputPath, derive_name ? nullptr : kOutputPath};
  const std::string output = derive_name ? kDerivedPath : kOutputPath;
  vellicor::ErrorDetail detail = kDetailNotStored;
  const vellicor::ResultCode result = vellicor::convert_file(fs, &paths, &options, &detail);

  require(fs.open_handles() == 0, "every file is closed");
  std::set<std::string> expected_files = {kInputPath};
  if (vellicor::succeeded(result)) {
    require(detail == kDetailNotStored, "success leaves the detail untouched");
    vellicor::fuzz::BdfStreamCheck* font = fs.written(output);
    require(font != nullptr, "success leaves the font under the output name");
    const bool well_formed = font->finish();
    require(well_formed, "the font is well formed:", font->problem().c_str());
    require(font->records() > 0, "a written font holds a glyph");
    const InputMeasure measure = measure_input(fs, options);
    constexpr std::uint64_t kEndFontBytes = sizeof "ENDFONT\n" - 1;
    require(measure.figures.glyph_count == font->records(), "CHARS is the measured glyph count");
    require(measure.records_bytes == font->bytes_seen() - font->header_bytes() - kEndFontBytes,
            "the records are as large as measured");
    require(measure.records_bound >= measure.records_bytes,
            "the bound from the font's figures is never below the records' size");
    require(measure.records_bytes <= documented_font_limit(measure.delivered_bytes),
            "a written font is within the size limit");
    expected_files.insert(output);
  } else {
    require(possible_failures().count({result, detail}) == 1,
            "the failure is one convert can report");
  }
  const std::vector<std::string> files = fs.paths();
  require(std::set<std::string>(files.begin(), files.end()) == expected_files,
          "no temporary or partial file is left");
  return 0;
}
