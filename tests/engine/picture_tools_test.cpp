// The same strip saved by real image tools (ImageMagick, Pillow) as PNG of
// every colour type and depth and as BMP of every common depth: each reads
// as exactly the ink of the strip, the ink the one-bit BMP of the strip
// holds. A case is skipped when its tool is not installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/picture_ink.hpp"
#include "engine/png_reader.hpp"
#include "tests/engine/ink_map_text.hpp"
#include "tests/engine/loaded_picture.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

// Three glyphs; 'g' marks light grey guide pixels between them, which no
// rule but kAuto counts as ink and which make the tools write palettes of
// more than two colours. The width is not a multiple of 8.
// clang-format off
const std::vector<std::string> kGuidedStrip = {
    "#...#..###...####",
    "#...#.#...#.#....",
    "#####g#####g#....",
    "#...#.#...#.#....",
    "#...#.#...#..####",
};
// clang-format on

std::vector<std::string> ink_of(const std::vector<std::string>& rows) {
  std::vector<std::string> ink = rows;
  for (std::string& row : ink) {
    for (char& pixel : row) pixel = pixel == '#' ? '#' : '.';
  }
  return ink;
}

// Plain-text PPM: '#' black, 'g' light grey, anything else white.
std::string as_ppm(const std::vector<std::string>& rows) {
  std::string text =
      "P3\n" + std::to_string(rows[0].size()) + " " + std::to_string(rows.size()) + "\n255\n";
  for (const std::string& row : rows) {
    for (const char pixel : row) {
      text += pixel == '#' ? "0 0 0 " : pixel == 'g' ? "208 208 208 " : "255 255 255 ";
    }
    text += "\n";
  }
  return text;
}

bool shell_succeeds(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string python_with_pillow() {
  for (const std::string candidate : {"python3", "/usr/bin/python3"}) {
    if (shell_succeeds(candidate + " -c 'import PIL' >/dev/null 2>&1")) return candidate;
  }
  return {};
}

// What the file turned out to be: "png DEPTH COLOURTYPE INTERLACE" or
// "bmp BITS COMPRESSION", read from its header bytes.
std::string file_kind(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() > 34 && bytes[0] == 'B' && bytes[1] == 'M') {
    return "bmp " + std::to_string(bytes[28] | bytes[29] << 8) + " " + std::to_string(bytes[30]);
  }
  if (bytes.size() > 29 && bytes[1] == 'P') {
    return "png " + std::to_string(bytes[24]) + " " + std::to_string(bytes[25]) + " " +
           std::to_string(bytes[28]);
  }
  return "unknown";
}

enum class Tool { kImageMagick, kPillow };

struct ToolCase {
  const char* name;
  Tool tool;
  bool guides;  // the strip with grey guides; otherwise black and white only
  // Run in the picture's folder: reads in.ppm, writes out. "PIL(...)" is a
  // Pillow statement with im the opened picture.
  const char* command;
  const char* kind;  // what file_kind must say
};

class ToolPicture : public testing::TestWithParam<ToolCase> {};

TEST_P(ToolPicture, ReadsAsTheStripsInk) {
  const ToolCase& row = GetParam();
  std::string command;
  if (row.tool == Tool::kImageMagick) {
    if (!shell_succeeds("command -v convert >/dev/null 2>&1")) GTEST_SKIP() << "no ImageMagick";
    command = std::string("convert in.ppm ") + row.command;
  } else {
    const std::string python = python_with_pillow();
    if (python.empty()) GTEST_SKIP() << "no Python with Pillow";
    command = python + " -c \"from PIL import Image; im = Image.open('in.ppm'); " + row.command +
              "\"";
  }
  const bool png = std::string(row.kind).starts_with("png");
  if (png && !png_support_built()) GTEST_SKIP() << "built without PNG support";

  const test::TempDir dir;
  const std::vector<std::string> strip =
      row.guides ? kGuidedStrip : ink_of(kGuidedStrip);
  test::write_text(dir.file("in.ppm"), as_ppm(strip));
  ASSERT_TRUE(shell_succeeds("cd '" + dir.path().string() + "' && " + command + " 2>/dev/null"))
      << command;
  ASSERT_EQ(file_kind(test::read_file(dir.file("out"))), row.kind);

  const test::ReadPicture read = test::read_ink(dir.file("out"), InkRule::kBlack);
  ASSERT_EQ(to_int(read.result), 0) << "detail " << to_int(read.detail);
  EXPECT_EQ(test::ink_map_rows(read.map), ink_of(kGuidedStrip));
  // The glyphs are black on white: the dark rule agrees.
  const test::ReadPicture dark = test::read_ink(dir.file("out"), InkRule::kDark);
  ASSERT_EQ(to_int(dark.result), 0) << "detail " << to_int(dark.detail);
  EXPECT_EQ(test::ink_map_rows(dark.map), ink_of(kGuidedStrip));

}

// The ink every case must read is the ink of the strip's one-bit BMP as the
// plain loader reads it.
TEST(ToolPictureOneBit, HoldsTheStripsInk) {
  if (!shell_succeeds("command -v convert >/dev/null 2>&1")) GTEST_SKIP() << "no ImageMagick";
  const test::TempDir dir;
  test::write_text(dir.file("in.ppm"), as_ppm(kGuidedStrip));
  ASSERT_TRUE(shell_succeeds("cd '" + dir.path().string() +
                             "' && convert in.ppm -monochrome BMP3:one.bmp 2>/dev/null"));
  const test::LoadedPicture one_bit = test::load_picture(system_file_system(), dir.file("one.bmp"));
  ASSERT_EQ(to_int(one_bit.result), 0);
  EXPECT_EQ(test::ink_rows(one_bit), ink_of(kGuidedStrip));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Tools, ToolPicture,
    testing::Values(
        ToolCase{"MagickPngPalette1", Tool::kImageMagick, false,
                 "-define png:color-type=3 -define png:bit-depth=1 PNG:out", "png 1 3 0"},
        ToolCase{"MagickPngPalette2", Tool::kImageMagick, true,
                 "-define png:color-type=3 -define png:bit-depth=2 PNG:out", "png 2 3 0"},
        ToolCase{"MagickPngPalette4", Tool::kImageMagick, true,
                 "-define png:color-type=3 -define png:bit-depth=4 PNG:out", "png 4 3 0"},
        ToolCase{"MagickPngPalette8", Tool::kImageMagick, true,
                 "-define png:color-type=3 -define png:bit-depth=8 PNG:out", "png 8 3 0"},
        ToolCase{"MagickPngGrey", Tool::kImageMagick, true,
                 "-define png:color-type=0 -define png:bit-depth=8 PNG:out", "png 8 0 0"},
        ToolCase{"MagickPngGreyAlpha", Tool::kImageMagick, true,
                 "-define png:color-type=4 -define png:bit-depth=8 PNG:out", "png 8 4 0"},
        ToolCase{"MagickPngRgb", Tool::kImageMagick, true,
                 "-define png:color-type=2 PNG:out", "png 8 2 0"},
        ToolCase{"MagickPngRgba", Tool::kImageMagick, true,
                 "-define png:color-type=6 PNG:out", "png 8 6 0"},
        ToolCase{"MagickPngRgb16", Tool::kImageMagick, true,
                 "-depth 16 -define png:color-type=2 -define png:bit-depth=16 PNG:out",
                 "png 16 2 0"},
        ToolCase{"MagickPngInterlacedRgb", Tool::kImageMagick, true,
                 "-interlace PNG -define png:color-type=2 PNG:out", "png 8 2 1"},
        ToolCase{"MagickPngInterlacedPalette1", Tool::kImageMagick, false,
                 "-interlace PNG -define png:color-type=3 -define png:bit-depth=1 PNG:out",
                 "png 1 3 1"},
        ToolCase{"MagickBmp4", Tool::kImageMagick, true, "-type palette BMP3:out", "bmp 4 0"},
        ToolCase{"MagickBmpRle8", Tool::kImageMagick, true, "-type palette -compress RLE BMP3:out",
                 "bmp 8 1"},
        ToolCase{"MagickBmp24", Tool::kImageMagick, true, "-type truecolor BMP3:out", "bmp 24 0"},
        ToolCase{"MagickBmp32Bitfields", Tool::kImageMagick, true,
                 "-type truecolormatte BMP:out", "bmp 32 3"},
        ToolCase{"MagickBmp16Bitfields", Tool::kImageMagick, true,
                 "-define bmp:subtype=RGB565 BMP:out", "bmp 16 3"},
        ToolCase{"PillowPngPalette1", Tool::kPillow, false,
                 "im.convert('P', palette=Image.ADAPTIVE, colors=2).save('out', 'PNG', bits=1)",
                 "png 1 3 0"},
        ToolCase{"PillowPngPalette2", Tool::kPillow, true,
                 "im.convert('P', palette=Image.ADAPTIVE, colors=4).save('out', 'PNG', bits=2)",
                 "png 2 3 0"},
        ToolCase{"PillowPngPalette4", Tool::kPillow, true,
                 "im.convert('P', palette=Image.ADAPTIVE, colors=16).save('out', 'PNG', bits=4)",
                 "png 4 3 0"},
        ToolCase{"PillowPngPalette8", Tool::kPillow, true, "im.convert('P').save('out', 'PNG')",
                 "png 8 3 0"},
        ToolCase{"PillowPngGrey", Tool::kPillow, true, "im.convert('L').save('out', 'PNG')",
                 "png 8 0 0"},
        ToolCase{"PillowPngGreyAlpha", Tool::kPillow, true, "im.convert('LA').save('out', 'PNG')",
                 "png 8 4 0"},
        ToolCase{"PillowPngRgb", Tool::kPillow, true, "im.save('out', 'PNG')", "png 8 2 0"},
        ToolCase{"PillowPngRgba", Tool::kPillow, true, "im.convert('RGBA').save('out', 'PNG')",
                 "png 8 6 0"},
        ToolCase{"PillowPngGrey16", Tool::kPillow, true, "im.convert('L').convert('I').point(lambda v: v * 257).save('out', 'PNG')",
                 "png 16 0 0"},
        ToolCase{"PillowBmp8", Tool::kPillow, true, "im.convert('P').save('out', 'BMP')",
                 "bmp 8 0"},
        ToolCase{"PillowBmpGrey8", Tool::kPillow, true, "im.convert('L').save('out', 'BMP')",
                 "bmp 8 0"},
        ToolCase{"PillowBmp24", Tool::kPillow, true, "im.save('out', 'BMP')", "bmp 24 0"},
        ToolCase{"PillowBmp32", Tool::kPillow, true, "im.convert('RGBA').save('out', 'BMP')",
                 "bmp 32 0"}),
    [](const testing::TestParamInfo<ToolCase>& row) { return std::string(row.param.name); });
// clang-format on

}  // namespace
}  // namespace vellicor
