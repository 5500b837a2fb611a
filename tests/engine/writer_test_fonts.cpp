// Fonts the writer tests share.
#include "tests/engine/writer_test_fonts.hpp"

#include <gtest/gtest.h>

#include "tests/support/bmp_builder.hpp"
#include "tests/support/host_tools.hpp"

namespace vellicor::test {

const std::vector<std::string> kSfntStrip = {
    "#..####.....##########....####################################..",
    "#...##..#...#........#....#..................................#..",
    "#...##..#...#..####..#....#...##########################.....#..",
    "##.....###..##########.#..####################################.#",
    "........#..............#.......................................#",
};

bool write_bdf_and(const TempDir& dir, const std::string& picture, const WriterCase& run,
                   FontWriter writer, const std::string& ours) {
  PreparedFont font;
  ConversionReport report{};
  ErrorDetail detail = ErrorDetail::kNone;
  OutputFile file(system_file_system());
  const auto step = [&detail](const char* what, ResultCode result) {
    if (result == ResultCode::kOk) return true;
    ADD_FAILURE() << what << " failed with " << static_cast<int>(result) << ", detail "
                  << static_cast<int>(detail);
    return false;
  };
  return step("prepare_font", prepare_font(system_file_system(), picture.c_str(), run.options,
                                           run.request, font, report, &detail)) &&
         step("write_font_file",
              write_font_file(system_file_system(), dir.file("out.bdf").c_str(), font, &detail)) &&
         step("create", file.create(dir.file(ours).c_str(), &detail)) &&
         step("writer", writer(file, font.model, font.map, &detail)) &&
         step("commit", file.commit(&detail));
}

bool write_bdf_and(const TempDir& dir, const std::vector<std::string>& rows, const WriterCase& run,
                   FontWriter writer, const std::string& ours) {
  write_file(dir.file("in.bmp"), make_one_bit_bmp(rows));
  return write_bdf_and(dir, dir.file("in.bmp"), run, writer, ours);
}

WriterCase sample_strip_case() {
  WriterCase sample{"the sample strip", PipelineRequest{}, ConversionOptions{}};
  sample.options.font_name = "Vellicor Sample";
  sample.options.allowed_blank_columns = 1;
  sample.options.descent = 2;
  sample.options.trailing_blank = 1;
  static const std::string chars = [] {
    std::string text = " ";
    for (char c = '!'; c <= '~'; ++c) text += c;
    return text;
  }();
  sample.request.chars = chars.c_str();
  return sample;
}

std::string sample_strip_picture() { return (source_dir() / "examples" / "ascii.bmp").string(); }

std::vector<LayoutCase> layout_cases() {
  std::vector<LayoutCase> cases;
  WriterCase plain{"margin strip", PipelineRequest{}, ConversionOptions{}};
  plain.options.descent = 1;
  plain.options.allowed_blank_columns = 1;
  plain.options.leading_blank = 2;
  plain.options.trailing_blank = 1;
  plain.options.upper_blank = 1;
  plain.options.font_name = "Strip-Test";
  cases.push_back({plain, kSfntStrip});

  WriterCase listed = plain;
  listed.name = "framed by ink, a list with blanks and a code past the basic plane";
  listed.request.framing = Framing::kByInk;
  listed.request.chars = "a \u00e9\u3000\U0001F600\u2009";
  cases.push_back({listed, kSfntStrip});

  std::vector<std::string> bands = kSfntStrip;
  bands.insert(bands.end(), kSfntStrip.rbegin(), kSfntStrip.rend());
  WriterCase banded = listed;
  banded.name = "two bands";
  banded.request.chars = "a b\u3000\u00e9\nc\u2009d\u2002\u0416";
  banded.request.layout.bands = 2;
  cases.push_back({banded, bands});

  WriterCase grid{"grid", PipelineRequest{}, ConversionOptions{}};
  grid.request.framing = Framing::kByInk;
  grid.request.layout.kind = LayoutKind::kGrid;
  grid.request.layout.cell_width = 8;
  grid.request.layout.cell_height = 5;
  grid.options.descent = 1;
  cases.push_back({grid, kSfntStrip});

  WriterCase marks{"marks", PipelineRequest{}, ConversionOptions{}};
  marks.request.framing = Framing::kByInk;
  marks.request.layout.kind = LayoutKind::kMarks;
  marks.request.chars = "\u0100 b";
  marks.options.descent = 1;
  cases.push_back({marks, {"###..##...###", "...#.....#...", "##.#.....####", "...........#."}});
  return cases;
}

std::string fc_scan(const std::string& path) {
#ifdef _WIN32
  static_cast<void>(path);
  return {};
#else
  if (!have_program("fc-scan")) return {};
  const ShellRun run =
      run_shell("fc-scan --format '%{family}|%{style}|%{charset}\\n' '" + path + "' 2>&1");
  std::string output = run.output;
  while (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
#endif
}

}  // namespace vellicor::test
