// The formats as the real program writes them from the bundled samples:
// FreeType reads every format it knows to the glyphs of the BDF of the same
// run (charmap, bits, offsets, advance), and a TTF's outlines draw them too.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/console/run_program.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

struct Sample {
  const char* name;
  std::vector<std::string> options;  // the picture last
  bool codes_are_bytes;              // every code below 0x80: a FON's byte codes are the same
};

const std::vector<Sample>& samples() {
  static const std::vector<Sample> all = {
      {"strip without a list", {"-v", "33", "-a", "1", "-d", "2", "-r", "1", "ascii.bmp"}, true},
      {"strip with a Latin list",
       {"-w", "-a", "1", "-d", "2", "--chars-file", "latin.txt", "latin.bmp"},
       false},
      {"grid",
       {"--grid", "8x16", "--grid-origin", "1,1", "--grid-gap", "1,1", "--ink", "dark", "-d", "2",
        "--charset", "ascii", "ascii_grid.png"},
       true},
  };
  return all;
}

class SampleFormats : public ::testing::Test {
 protected:
  SampleFormats() {
    for (const char* file : {"ascii.bmp", "latin.bmp", "latin.txt", "ascii_grid.png"}) {
      std::filesystem::copy_file(source_dir() / "examples" / file, dir_.file(file));
    }
  }

  // Writes sample in format to a file named after both; its path.
  std::string write(const Sample& sample, const std::string& format) {
    std::vector<std::string> arguments = {"-f",   "Sample Font", "--format",
                                          format, "-o",          "font." + format};
    arguments.insert(arguments.end(), sample.options.begin(), sample.options.end());
    const ProgramRun run = run_program(binary_dir() / "cvellicor", arguments, dir_.path());
    EXPECT_EQ(run.exit_status, 0) << sample.name << " as " << format << ": " << run.output;
    return dir_.file("font." + format);
  }

  TempDir dir_;
};

TEST_F(SampleFormats, FreeTypeReadsEachFormatAsTheBdf) {
  for (const Sample& sample : samples()) {
    SCOPED_TRACE(sample.name);
    const std::string bdf = write(sample, "bdf");
    for (const char* format : {"pcf", "otb", "ttf"}) {
      EXPECT_TRUE(same_glyphs(write(sample, format), bdf)) << format;
    }
    EXPECT_TRUE(same_glyphs_as_outlines(dir_.file("font.ttf"), bdf));
    if (sample.codes_are_bytes) {
      // A FON glyph is its whole cell: its ink and advance are compared.
      EXPECT_TRUE(same_glyphs(write(sample, "fon"), bdf, GlyphMatch::kInk));
    }
  }
}

TEST_F(SampleFormats, LeftOutCharactersAreNamedAndRefusalsWriteNothing) {
  // The sample strip's 95 glyphs; two of its characters have no byte in
  // Windows-1252.
  std::string list = " ";
  for (char c = '!'; c <= '~'; ++c) list += c;
  list.replace(list.find('A'), 1, "\u0100");
  list.replace(list.find('B'), 1, "\u4E2D");
  const std::vector<std::string> options = {"-a", "1", "-d", "2", "-r", "1", "--chars", list};
  const auto run_with = [&](const std::string& format) {
    std::vector<std::string> arguments = options;
    arguments.insert(arguments.end(), {"--format", format, "ascii.bmp"});
    return run_program(binary_dir() / "cvellicor", arguments, dir_.path());
  };
  const ProgramRun fon = run_with("fon");
  EXPECT_EQ(fon.exit_status, 0);
  EXPECT_EQ(fon.output,
            "Left out of the FON, which holds Windows-1252 only: 2 characters (U+0100 '\u0100', "
            "U+4E2D '\u4E2D')\n");
  EXPECT_TRUE(std::filesystem::exists(dir_.file("ascii.fon")));

  // A glyph taller than the console's 128 lines.
  write_file(dir_.file("tall.bmp"), make_one_bit_bmp(std::vector<std::string>(129, "#.#")));
  const ProgramRun psf =
      run_program(binary_dir() / "cvellicor", {"--format", "psf", "tall.bmp"}, dir_.path());
  EXPECT_EQ(psf.exit_status, 1);
  EXPECT_EQ(
      psf.output,
      "The font's cell is larger than the Linux console loads: at most 64 pixels wide and 128 "
      "tall\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.file("tall.psf")));
}

}  // namespace
}  // namespace vellicor::test
