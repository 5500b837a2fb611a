// The formats as the real program writes them from the bundled samples:
// FreeType reads every format it knows to the glyphs of the BDF of the same
// run (charmap, bits, offsets, advance), and a TTF's outlines draw them too.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/console/run_program.hpp"
#include "tests/support/bdf_check.hpp"
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
      EXPECT_TRUE(same_glyphs(write(sample, "fon"), bdf));
    }
  }
}

}  // namespace
}  // namespace vellicor::test
