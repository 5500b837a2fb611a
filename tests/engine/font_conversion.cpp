// Conversion helpers for the scanner and convert tests.
#include "tests/engine/font_conversion.hpp"

#include <filesystem>

#include "engine/api/convert.hpp"
#include "tests/support/worked_example.h"

namespace vellicor::test {

ConversionOptions plain_options(const char* font_name) {
  ConversionOptions options{};
  options.font_name = font_name;
  options.first_glyph = 65;
  return options;
}

ConversionRun convert_written(const TempDir& dir, const ConversionOptions& options,
                              FileSystem& fs) {
  const std::string input = dir.file("in.bmp");
  const std::string output = dir.file("out.bdf");
  const ConversionPaths paths{input.c_str(), output.c_str()};
  ConversionRun run;
  run.result = convert_file(fs, &paths, &options, &run.detail);
  run.font_exists = std::filesystem::exists(output);
  if (run.font_exists) run.font = read_text(output);
  return run;
}

ConversionRun convert_rows(const TempDir& dir, const std::vector<std::string>& rows,
                           const ConversionOptions& options, const BmpOptions& bmp,
                           FileSystem& fs) {
  write_file(dir.file("in.bmp"), make_one_bit_bmp(rows, bmp));
  return convert_written(dir, options, fs);
}

std::string header_text(const std::string& font_name, const std::string& numbers) {
  return VELLICOR_BDF_PREAMBLE "FONT " + font_name + "\n" + numbers;
}

}  // namespace vellicor::test
