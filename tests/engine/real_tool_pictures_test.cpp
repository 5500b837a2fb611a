// The BMP loader on glyph strips written by real image tools (ImageMagick,
// netpbm, Pillow): each picture loads with exactly the drawn pixels as ink.
// A case is skipped when its tool is not installed.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/engine/loaded_picture.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

using test::have_program;
using test::python_with_pillow;
using test::shell_succeeds;

// Three glyphs with ink in the first and the last column; the width is not a
// multiple of 8, so every row ends in padding bits.
// clang-format off
const std::vector<std::string> kStrip = {
    "#...#..###...####",
    "#...#.#...#.#....",
    "#####.#####.#....",
    "#...#.#...#.#....",
    "#...#.#...#..####",
};
// clang-format on

std::vector<std::string> inverted(const std::vector<std::string>& rows) {
  std::vector<std::string> result = rows;
  for (std::string& row : result) {
    for (char& pixel : row) pixel = pixel == '#' ? '.' : '#';
  }
  return result;
}

// Netpbm pictures as plain text: black is ink.
std::string as_pbm(const std::vector<std::string>& rows) {
  std::string text =
      "P1\n" + std::to_string(rows[0].size()) + " " + std::to_string(rows.size()) + "\n";
  for (const std::string& row : rows) {
    for (const char pixel : row) text += pixel == '#' ? "1 " : "0 ";
    text += "\n";
  }
  return text;
}

std::string as_pgm(const std::vector<std::string>& rows) {
  std::string text =
      "P2\n" + std::to_string(rows[0].size()) + " " + std::to_string(rows.size()) + "\n255\n";
  for (const std::string& row : rows) {
    for (const char pixel : row) text += pixel == '#' ? "0 " : "255 ";
    text += "\n";
  }
  return text;
}

std::string as_ppm(const std::vector<std::string>& rows) {
  std::string text =
      "P3\n" + std::to_string(rows[0].size()) + " " + std::to_string(rows.size()) + "\n255\n";
  for (const std::string& row : rows) {
    for (const char pixel : row) text += pixel == '#' ? "0 0 0 " : "255 255 255 ";
    text += "\n";
  }
  return text;
}

enum class Tool { kImageMagick, kNetpbm, kPillow };

struct ToolCase {
  const char* name;
  Tool tool;
  // Shell command run in the picture's folder: reads in.pbm, in.pgm, in.ppm
  // or map.ppm, writes out.bmp. "PYTHON" stands for a Python with Pillow.
  const char* command;
  bool glyphs_white;     // the tool was asked to draw the glyphs as paper
  std::vector<int> ink;  // the palette index of black
  bool longer_header;    // the tool writes an information header past 40 bytes
};

// Names the row in test listings.
void PrintTo(const ToolCase& row, std::ostream* out) { test::print_label(out, {row.name}); }

class RealToolPicture : public testing::TestWithParam<ToolCase> {};

TEST_P(RealToolPicture, LoadsDrawnPixelsAsInk) {
  const ToolCase& row = GetParam();
  std::string command = row.command;
  switch (row.tool) {
    case Tool::kImageMagick:
      if (!have_program("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
      break;
    case Tool::kNetpbm:
      if (!have_program("ppmtobmp")) GTEST_SKIP() << "netpbm's ppmtobmp is not installed";
      break;
    case Tool::kPillow: {
      const std::string python = python_with_pillow();
      if (python.empty()) GTEST_SKIP() << "no Python with Pillow is installed";
      command.replace(command.find("PYTHON"), 6, python);
      break;
    }
  }

  const test::TempDir dir;
  test::write_text(dir.file("in.pbm"), as_pbm(kStrip));
  test::write_text(dir.file("in.pgm"), as_pgm(kStrip));
  test::write_text(dir.file("in.ppm"), as_ppm(kStrip));
  test::write_text(dir.file("map.ppm"), "P3\n2 1\n255\n255 255 255 0 0 0\n");
  ASSERT_TRUE(shell_succeeds("cd '" + dir.path().string() + "' && " + command + " 2>/dev/null"))
      << command;

  const test::LoadedPicture loaded = test::load_picture(system_file_system(), dir.file("out.bmp"));
  ASSERT_EQ(to_int(loaded.result), 0) << "detail " << to_int(loaded.detail);
  EXPECT_EQ(loaded.info_header.biBitCount, 1);
  EXPECT_EQ(loaded.info_header.biSize > 40, row.longer_header) << loaded.info_header.biSize;
  EXPECT_EQ(loaded.ink_indices(), row.ink);
  // Five rows of 4 bytes, also where the tool wrote the size as 0.
  EXPECT_EQ(loaded.info_header.biSizeImage, 20u);
  EXPECT_EQ(test::ink_rows(loaded), row.glyphs_white ? inverted(kStrip) : kStrip);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Tools, RealToolPicture,
    testing::Values(
        ToolCase{"ImageMagickBmp3", Tool::kImageMagick,
                 "convert in.pbm -type bilevel BMP3:out.bmp", false, {0}, false},
        ToolCase{"ImageMagickBmp3FromGrey", Tool::kImageMagick,
                 "convert in.pgm -monochrome BMP3:out.bmp", false, {0}, false},
        ToolCase{"ImageMagickDefaultBilevel", Tool::kImageMagick,
                 "convert in.pbm -type bilevel out.bmp", false, {0}, true},
        ToolCase{"ImageMagickDefaultMonochrome", Tool::kImageMagick,
                 "convert in.pgm -monochrome out.bmp", false, {0}, true},
        ToolCase{"ImageMagickWhiteOnBlack", Tool::kImageMagick,
                 "convert in.pbm -negate -type bilevel BMP3:out.bmp", true, {0}, false},
        // ppmtobmp leaves biSizeImage at 0.
        ToolCase{"NetpbmFromPbm", Tool::kNetpbm, "ppmtobmp -bpp 1 in.pbm > out.bmp", false, {0},
                 false},
        ToolCase{"NetpbmFromPpm", Tool::kNetpbm, "ppmtobmp -bpp 1 in.ppm > out.bmp", false, {0},
                 false},
        // The colour map puts white first, so black is palette index 1.
        ToolCase{"NetpbmWhiteFirstPalette", Tool::kNetpbm,
                 "ppmtobmp -bpp 1 -mapfile=map.ppm in.ppm > out.bmp", false, {1}, false},
        ToolCase{"PillowFromPbm", Tool::kPillow,
                 "PYTHON -c \"from PIL import Image; Image.open('in.pbm').save('out.bmp')\"",
                 false, {0}, false},
        ToolCase{"PillowFromGrey", Tool::kPillow,
                 "PYTHON -c \"from PIL import Image; Image.open('in.pgm')"
                 ".convert('1', dither=0).save('out.bmp')\"",
                 false, {0}, false}),
    [](const testing::TestParamInfo<ToolCase>& row) { return std::string(row.param.name); });
// clang-format on

}  // namespace
}  // namespace vellicor
