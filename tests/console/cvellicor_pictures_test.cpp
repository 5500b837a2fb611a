// The real cvellicor program on pictures that are not one-bit BMPs: the same
// strip saved by ImageMagick and Pillow in every PNG and BMP layout gives
// byte for byte the font of its one-bit BMP; each ink rule on the picture it
// is for; broken PNGs get their message and leave nothing behind; without a
// long option such pictures are refused exactly as before.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/picture/png_reader.hpp"
#include "tests/console/run_program.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/support/worked_example.h"

namespace vellicor::test {
namespace {

std::filesystem::path cvellicor() { return binary_dir() / "cvellicor"; }

// The worked example's strip with light grey guide pixels ('g') in blank
// columns: paper under the black and dark rules, and they make the tools
// write palettes of more than two colours.
std::vector<std::string> guided_strip() {
  std::vector<std::string> rows(std::begin(kWorkedExampleRows), std::end(kWorkedExampleRows));
  rows[5][3] = 'g';
  rows[5][10] = 'g';
  return rows;
}

std::vector<std::string> ink_only(std::vector<std::string> rows) {
  for (std::string& row : rows) {
    for (char& pixel : row) pixel = pixel == '#' ? '#' : '.';
  }
  return rows;
}

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

class CvellicorPictures : public ::testing::Test {
 protected:
  ProgramRun run(const std::vector<std::string>& arguments) {
    return run_program(cvellicor(), arguments, directory_.path());
  }
  // Converts name with the extended conversion to name.bdf; the font text,
  // empty when the run failed.
  std::string font_of(const std::string& name, const std::string& rule = "black") {
    std::filesystem::remove(directory_.file(name + ".bdf"));
    const ProgramRun result = run({"--ink", rule, "-o", name + ".bdf", name});
    EXPECT_EQ(result.exit_status, 0) << name << ": " << result.output;
    const std::string font = directory_.file(name + ".bdf");
    return std::filesystem::exists(font) ? read_text(font) : std::string();
  }

  TempDir directory_;
};

// What a written file turned out to be: "png DEPTH COLOURTYPE INTERLACE" or
// "bmp BITS COMPRESSION", from its header bytes.
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

// How a tool writes one picture, and the layout the file must have.
struct ToolWrite {
  const char* how;
  const char* kind;
};

// Pictures written by the tools, each named after what it is.
constexpr ToolWrite kMagickCommands[] = {
    {"convert bw.ppm -define png:color-type=3 -define png:bit-depth=1 PNG:magick-palette1.png",
     "png 1 3 0"},
    {"convert in.ppm -define png:color-type=3 -define png:bit-depth=2 PNG:magick-palette2.png",
     "png 2 3 0"},
    {"convert in.ppm -define png:color-type=3 -define png:bit-depth=4 PNG:magick-palette4.png",
     "png 4 3 0"},
    {"convert in.ppm -define png:color-type=3 -define png:bit-depth=8 PNG:magick-palette8.png",
     "png 8 3 0"},
    {"convert in.ppm -define png:color-type=0 -define png:bit-depth=8 PNG:magick-grey.png",
     "png 8 0 0"},
    {"convert in.ppm -define png:color-type=4 -define png:bit-depth=8 PNG:magick-grey-alpha.png",
     "png 8 4 0"},
    {"convert in.ppm -define png:color-type=2 PNG:magick-rgb.png", "png 8 2 0"},
    {"convert in.ppm -define png:color-type=6 PNG:magick-rgba.png", "png 8 6 0"},
    {"convert in.ppm -depth 16 -define png:color-type=2 -define png:bit-depth=16 "
     "PNG:magick-rgb16.png",
     "png 16 2 0"},
    {"convert in.ppm -interlace PNG -define png:color-type=2 PNG:magick-interlaced.png",
     "png 8 2 1"},
    {"convert bw.ppm -interlace PNG -define png:color-type=3 -define png:bit-depth=1 "
     "PNG:magick-interlaced-palette1.png",
     "png 1 3 1"},
    {"convert in.ppm -type palette BMP3:magick-4.bmp", "bmp 4 0"},
    {"convert in.ppm -type palette -compress RLE BMP3:magick-rle8.bmp", "bmp 8 1"},
    {"convert in.ppm -type truecolor BMP3:magick-24.bmp", "bmp 24 0"},
    {"convert in.ppm -type truecolormatte BMP:magick-32-bitfields.bmp", "bmp 32 3"},
    {"convert in.ppm -define bmp:subtype=RGB565 BMP:magick-16-bitfields.bmp", "bmp 16 3"},
};

constexpr ToolWrite kPillowStatements[] = {
    {"Image.open('bw.ppm').convert('P', palette=Image.ADAPTIVE, colors=2)"
     ".save('pillow-palette1.png', bits=1)",
     "png 1 3 0"},
    {"im.convert('P', palette=Image.ADAPTIVE, colors=4).save('pillow-palette2.png', bits=2)",
     "png 2 3 0"},
    {"im.convert('P', palette=Image.ADAPTIVE, colors=16).save('pillow-palette4.png', bits=4)",
     "png 4 3 0"},
    {"im.convert('P').save('pillow-palette8.png')", "png 8 3 0"},
    {"im.convert('L').save('pillow-grey.png')", "png 8 0 0"},
    {"im.convert('LA').save('pillow-grey-alpha.png')", "png 8 4 0"},
    {"im.save('pillow-rgb.png')", "png 8 2 0"},
    {"im.convert('RGBA').save('pillow-rgba.png')", "png 8 6 0"},
    {"im.convert('L').convert('I').point(lambda v: v * 257).save('pillow-grey16.png')",
     "png 16 0 0"},
    {"im.convert('P').save('pillow-8.bmp')", "bmp 8 0"},
    {"im.save('pillow-24.bmp')", "bmp 24 0"},
    {"im.convert('RGBA').save('pillow-32.bmp')", "bmp 32 0"},
};

TEST_F(CvellicorPictures, SameStripInEveryFormatGivesTheOneBitFont) {
  const std::string python = python_with_pillow();
  const bool magick = shell_succeeds("command -v convert >/dev/null 2>&1");
  if (!magick && python.empty()) GTEST_SKIP() << "neither ImageMagick nor Pillow is installed";
  write_file(directory_.file("strip.bmp"), make_one_bit_bmp(ink_only(guided_strip())));
  write_text(directory_.file("in.ppm"), as_ppm(guided_strip()));
  write_text(directory_.file("bw.ppm"), as_ppm(ink_only(guided_strip())));
  const std::string reference = font_of("strip.bmp");
  // Five glyphs: with no blank column allowed, the second one splits, and
  // the column at the right edge is a glyph too.
  ASSERT_NE(reference.find("CHARS 5\n"), std::string::npos) << reference;

  std::vector<std::pair<std::string, std::string>> pictures;  // name, kind
  const std::string here = "cd '" + directory_.path().string() + "' && ";
  if (magick) {
    for (const ToolWrite& command : kMagickCommands) {
      ASSERT_TRUE(shell_succeeds(here + command.how + " 2>/dev/null")) << command.how;
      const std::string text = command.how;
      pictures.emplace_back(text.substr(text.find(':', text.rfind(' ')) + 1), command.kind);
    }
  }
  if (!python.empty()) {
    std::string script = "from PIL import Image\nim = Image.open('in.ppm')\n";
    for (const ToolWrite& statement : kPillowStatements) {
      script += std::string(statement.how) + "\n";
      const std::string text = statement.how;
      const std::size_t quote = text.rfind(".save('") + 7;
      pictures.emplace_back(text.substr(quote, text.find('\'', quote) - quote), statement.kind);
    }
    write_text(directory_.file("write.py"), script);
    ASSERT_TRUE(shell_succeeds(here + python + " write.py 2>/dev/null"));
  }
  for (const auto& [picture, kind] : pictures) {
    // A build without libspng refuses PNG files; the BMP files still count.
    if (kind.starts_with("png") && !png_support_built()) continue;
    EXPECT_EQ(file_kind(read_file(directory_.file(picture))), kind) << picture;
    EXPECT_EQ(font_of(picture), reference) << picture;
  }
}

// White glyphs on black, a transparent background, grey edges: each read
// under the rule made for it gives the font of the plain black strip.
TEST_F(CvellicorPictures, EachRuleOnThePictureItIsFor) {
  if (!png_support_built()) GTEST_SKIP() << "built without PNG support";
  const std::vector<std::string> strip = ink_only(guided_strip());
  write_file(directory_.file("strip.bmp"), make_one_bit_bmp(strip));
  const std::string reference = font_of("strip.bmp");

  const auto picture = [&](std::uint8_t ink_grey, std::uint8_t ink_alpha, std::uint8_t paper_grey,
                           std::uint8_t paper_alpha) {
    std::vector<std::uint8_t> pixels;
    for (const std::string& row : strip) {
      for (const char pixel : row) {
        const bool ink = pixel == '#';
        const std::uint8_t grey = ink ? ink_grey : paper_grey;
        pixels.insert(pixels.end(), {grey, grey, grey, ink ? ink_alpha : paper_alpha});
      }
    }
    return rgba_png(static_cast<std::uint32_t>(strip[0].size()),
                    static_cast<std::uint32_t>(strip.size()), pixels);
  };
  write_file(directory_.file("white-on-black.png"), picture(255, 255, 0, 255));
  write_file(directory_.file("transparent.png"), picture(40, 200, 0, 0));
  write_file(directory_.file("grey.png"), picture(100, 255, 230, 255));
  EXPECT_EQ(font_of("white-on-black.png", "auto"), reference);
  EXPECT_EQ(font_of("transparent.png", "opaque"), reference);
  EXPECT_EQ(font_of("grey.png", "dark"), reference);
  // Under the default rule the grey strip holds no ink at all.
  const ProgramRun black = run({"--ink", "black", "grey.png"});
  EXPECT_EQ(black.exit_status, 1);
  EXPECT_EQ(black.output,
            "No pixel of the picture counts as ink under --ink black; try --ink dark, opaque or "
            "auto\n");
}

struct BrokenCase {
  const char* name;
  std::string message;
};

// Names the row in test listings.
void PrintTo(const BrokenCase& row, std::ostream* out) { print_label(out, {row.name}); }

// The strip as a PNG with one thing wrong, by name.
std::vector<std::uint8_t> broken_png(const std::string& name) {
  const std::vector<std::string> strip = ink_only(guided_strip());
  std::vector<PngChunk> chunks = grey_strip_chunks(strip);
  if (name == "truncated") {
    std::vector<std::uint8_t> bytes = png_file(chunks);
    bytes.resize(chunk_boundaries(chunks)[2]);  // ends before IEND
    return bytes;
  }
  if (name == "checksum") {
    std::vector<std::uint8_t> bytes = png_file(chunks);
    bytes[chunk_boundaries(chunks)[2] - 1] ^= 1;  // the IDAT's CRC
    return bytes;
  }
  if (name == "zlib") chunks[1].data[0] = 0x79;  // no deflate stream
  if (name == "dimensions") chunks[0] = ihdr_chunk(0, 6, 1, 0);
  if (name == "huge") chunks[0] = ihdr_chunk(3000000, 2000000, 1, 0);
  return png_file(chunks);
}

class CvellicorBrokenPng : public CvellicorPictures,
                           public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(CvellicorBrokenPng, PrintsItsMessageAndWritesNothing) {
  if (!png_support_built()) GTEST_SKIP() << "built without PNG support";
  write_file(directory_.file("strip.png"), broken_png(GetParam().name));
  const ProgramRun result = run({"--ink", "black", "strip.png"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, GetParam().message + "\n");
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"strip.png"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, CvellicorBrokenPng,
    ::testing::Values(
        BrokenCase{"truncated", "PNG file ends too early: it is cut short"},
        BrokenCase{"checksum", "PNG file is damaged: a chunk fails its checksum"},
        BrokenCase{"zlib", "PNG file is damaged: its compressed image data is broken"},
        BrokenCase{"dimensions", "PNG file is broken: impossible header values or chunk layout"},
        BrokenCase{"huge",
                   "Picture too large to read: over 16777216 pixels a side, or more "
                   "than its file size allows"}),
    [](const ::testing::TestParamInfo<BrokenCase>& row) { return std::string(row.param.name); });

// Without a long option the plain conversion runs, which reads one-bit BMP
// files only, with the messages it always gave.
TEST_F(CvellicorPictures, WithoutLongOptionsOtherPicturesAreRefusedAsBefore) {
  const std::vector<std::string> strip = ink_only(guided_strip());
  write_file(directory_.file("strip.png"), png_file(grey_strip_chunks(strip)));
  ProgramRun result = run({"strip.png"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "Invalid Input File Type\n");

  // A 24-bit BMP: the one-bit file with its depth field changed is enough
  // for the plain loader's refusal.
  std::vector<std::uint8_t> deep = make_one_bit_bmp(strip);
  put_u16(deep, kOffBiBitCount, 24);
  write_file(directory_.file("deep.bmp"), deep);
  result = run({"-o", "deep.bdf", "deep.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "File Data not supported at this time\n");
  EXPECT_EQ(directory_.entries(), (std::vector<std::string>{"deep.bmp", "strip.png"}));
}

// A build without a PNG decoder (configured with VELLICOR_PNG=OFF, or on
// Linux without libspng) takes a PNG for a file of a foreign format, also in
// the extended conversion. tools/test.sh makes such a build to run this test.
TEST_F(CvellicorPictures, PngWithoutDecoderIsAnInvalidType) {
  if (png_support_built()) GTEST_SKIP() << "built with PNG support";
  write_file(directory_.file("strip.png"), png_file(grey_strip_chunks(ink_only(guided_strip()))));
  const ProgramRun result = run({"--ink", "black", "strip.png"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "Invalid Input File Type\n");
}

}  // namespace
}  // namespace vellicor::test
