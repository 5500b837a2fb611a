// Fonts the writer tests share: a picture converted to its BDF and to
// one of our other formats, and the sample strip as a Unicode font.
#pragma once

#include <string>
#include <vector>

#include "engine/api/font_pipeline.hpp"
#include "engine/io/output_file.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {

struct WriterCase {
  const char* name;
  PipelineRequest request;
  ConversionOptions options;
};

using FontWriter = ResultCode (*)(OutputFile& file, const FontModel& font, const InkMap& map,
                                  ErrorDetail* detail);

// Converts the picture at picture into dir's out.bdf and, with writer,
// into dir's file ours; fails the test and returns false when a step fails.
bool write_bdf_and(const TempDir& dir, const std::string& picture, const WriterCase& run,
                   FontWriter writer, const std::string& ours);

// The same for a picture drawn as rows ('#' ink), written to dir's in.bmp.
bool write_bdf_and(const TempDir& dir, const std::vector<std::string>& rows, const WriterCase& run,
                   FontWriter writer, const std::string& ours);

// The sample strip examples/ascii.bmp as the Unicode font the demo makes:
// a real space, then '!' to '~'.
WriterCase sample_strip_case();
std::string sample_strip_picture();

// Ink in row 0 and at both edges, a descender, glyphs of different heights,
// glyphs wider than 8 and 32 pixels.
extern const std::vector<std::string> kSfntStrip;

// The strip and cases of every layout with boxes of different sizes:
// the margin strip, framed by ink with a list of blanks and a code past the
// basic plane, two bands, a grid, and marks whose ink reaches left of its
// mark. Each with the rows it is drawn from.
struct LayoutCase {
  WriterCase run;
  std::vector<std::string> rows;
};
std::vector<LayoutCase> layout_cases();

// What fc-scan (fontconfig) reports as "family|style|charset" for the font
// at path; empty when fc-scan is absent.
std::string fc_scan(const std::string& path);

}  // namespace vellicor::test
