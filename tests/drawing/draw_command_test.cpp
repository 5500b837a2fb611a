// cvellicor --draw end to end: a font drawn by the real program and
// converted back with the command it prints. Fonts vellicor wrote come back
// byte for byte; real fonts of Debian's packages come back glyph for glyph
// as FreeType (or, for the console's PSF, the font reader) reads both.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/fontfile/font_file_reader.hpp"
#include "tests/console/run_program.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

std::filesystem::path cvellicor() { return binary_dir() / "cvellicor"; }

// The words of a command line as a shell splits it, for the quotes the
// program puts round words with special characters: single quotes (POSIX),
// or double quotes with \" inside (Windows).
std::vector<std::string> shell_words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else if (quote == '"' && c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
        word += line[++i];
      } else {
        word += c;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
      in_word = true;
    } else if (c == '\\' && i + 1 < line.size()) {
      word += line[++i];  // POSIX: '\'' ends a quote, puts a quote, opens one again
      in_word = true;
    } else if (c == ' ') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

// Draws font in directory, runs the command the program prints and returns
// that command's arguments (empty, with a failure recorded, when either run
// fails).
std::vector<std::string> draw_and_convert_back(const std::filesystem::path& directory,
                                               const std::vector<std::string>& draw_arguments) {
  const ProgramRun drawn = run_program(cvellicor(), draw_arguments, directory);
  EXPECT_EQ(drawn.exit_status, 0) << drawn.output;
  const std::vector<std::string> lines = split_lines(drawn.output);
  std::vector<std::string> command;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == "Convert it back with:") command = shell_words(lines[i + 1]);
  }
  if (command.size() < 2 || command.front() != "cvellicor") {
    ADD_FAILURE() << "no command printed:\n" << drawn.output;
    return {};
  }
  command.erase(command.begin());
  const ProgramRun back = run_program(cvellicor(), command, directory);
  EXPECT_EQ(back.exit_status, 0) << back.output;
  return command;
}

// The file the conversion back writes: after -o, else the picture's name
// with the extension of --format (.bdf without one).
std::string font_written_by(const std::vector<std::string>& command) {
  std::string format = "bdf";
  for (std::size_t i = 0; i + 1 < command.size(); ++i) {
    if (command[i] == "-o") return command[i + 1];
    if (command[i] == "--format") format = command[i + 1];
  }
  const std::filesystem::path picture = command.empty() ? "" : command.back();
  return std::filesystem::path(picture).replace_extension(format).string();
}

// One glyph as ink pixels relative to its origin, and its advance.
struct GlyphInk {
  std::int32_t advance = 0;
  std::vector<InkPixel> ink;
  bool operator==(const GlyphInk&) const = default;
};

std::map<std::int64_t, GlyphInk> glyph_inks(const std::string& path) {
  LoadedFont font;
  std::map<std::int64_t, GlyphInk> inks;
  if (failed(read_font_file(system_file_system(), path.c_str(), font, nullptr, nullptr))) {
    return inks;
  }
  for (const LoadedGlyph& glyph : font.glyphs) {
    GlyphInk& ink = inks[glyph.code];
    ink.advance = glyph.advance;
    for (std::uint32_t y = 0; y < glyph.height; ++y) {
      for (std::uint32_t x = 0; x < glyph.width; ++x) {
        if (glyph.ink(x, y)) {
          ink.ink.push_back({glyph.x_offset + static_cast<int>(x),
                             glyph.y_offset + static_cast<int>(glyph.height - 1 - y)});
        }
      }
    }
  }
  return inks;
}

// Glyphs of the reference font whose code, ink and advance the other has.
std::size_t identical_glyphs(const std::map<std::int64_t, GlyphInk>& reference,
                             const std::map<std::int64_t, GlyphInk>& other) {
  std::size_t same = 0;
  for (const auto& [code, ink] : reference) {
    const auto found = other.find(code);
    if (found != other.end() && found->second == ink) ++same;
  }
  return same;
}

struct RealFont {
  const char* folder;
  const char* file;
};

class RealFontsRoundTrip : public ::testing::TestWithParam<RealFont> {};

TEST_P(RealFontsRoundTrip, EveryGlyphComesBack) {
  const std::filesystem::path font = std::filesystem::path(GetParam().folder) / GetParam().file;
  if (!std::filesystem::exists(font)) GTEST_SKIP() << font << " is not installed";
  const bool psf = font.string().find(".psf") != std::string::npos;
  if (!psf && !reads_fonts_through_freetype()) GTEST_SKIP() << "built without FreeType";
  TempDir dir;
  const std::vector<std::string> command =
      draw_and_convert_back(dir.path(), {"--draw", font.string(), "-o", "drawn.png"});
  ASSERT_FALSE(command.empty());
  const std::string back = dir.file(font_written_by(command));

  const std::map<std::int64_t, GlyphInk> original = glyph_inks(font.string());
  const std::map<std::int64_t, GlyphInk> returned = glyph_inks(back);
  ASSERT_FALSE(original.empty());
  const std::size_t same = identical_glyphs(original, returned);
  // A marked strip marks each glyph's advance: glyphs advancing 0 pixels
  // (combining marks) cannot be drawn, and the drawing names them as lost.
  std::size_t drawable = 0;
  for (const auto& [code, ink] : original) drawable += ink.advance > 0 ? 1 : 0;
  // The table of the closing note: font, glyphs, identical glyphs.
  std::printf("round trip: %s %zu glyphs, %zu identical, %zu advancing 0\n", GetParam().file,
              original.size(), same, original.size() - drawable);
  EXPECT_EQ(same, drawable);
  EXPECT_EQ(returned.size(), drawable);
  if (!psf && drawable == original.size()) {
    // FreeType, reading both fonts itself, agrees.
    EXPECT_TRUE(same_glyphs(back, font.string(), GlyphMatch::kInk));
  }
}

constexpr const char* kX11 = "/usr/share/fonts/X11/misc";
constexpr const char* kConsole = "/usr/share/consolefonts";

INSTANTIATE_TEST_SUITE_P(
    DebianFonts, RealFontsRoundTrip,
    ::testing::Values(RealFont{kX11, "6x13-ISO8859-1.pcf.gz"},     // DEC glyphs at 0 to 31
                      RealFont{kX11, "6x13.pcf.gz"},               // ISO 10646, far past U+00FF
                      RealFont{kX11, "9x15B.pcf.gz"},              // bold
                      RealFont{kX11, "cu12.pcf.gz"},               // proportional, overhangs
                      RealFont{kX11, "micro.pcf.gz"},              // proportional
                      RealFont{kConsole, "Lat15-Fixed16.psf.gz"},  // PSF 1, Unicode table
                      RealFont{kConsole, "Uni2-VGA14.psf.gz"},     // PSF 1, 512 glyphs
                      RealFont{kConsole, "Lat15-Terminus20x10.psf.gz"}  // PSF 2
                      ),
    [](const ::testing::TestParamInfo<RealFont>& font_info) {
      std::string name = font_info.param.file;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

// The samples as vellicor writes them, in every format, come back byte for
// byte from their drawings.
class OwnFontsRoundTrip : public ::testing::Test {
 protected:
  OwnFontsRoundTrip() {
    for (const char* file : {"ascii.bmp", "latin.bmp", "latin.txt", "ascii_grid.png"}) {
      std::filesystem::copy_file(source_dir() / "examples" / file, dir_.file(file));
    }
  }
  TempDir dir_;
};

TEST_F(OwnFontsRoundTrip, EveryFormatComesBackByteForByte) {
  struct Made {
    const char* name;
    std::vector<std::string> options;
    bool codes_are_bytes;
  };
  const std::vector<Made> fonts = {
      {"grid",
       {"--grid", "8x16", "--grid-origin", "1,1", "--grid-gap", "1,1", "--ink", "dark", "-d", "2",
        "--charset", "ascii", "ascii_grid.png"},
       true},
      {"strip with a Latin list",
       {"-a", "1", "-d", "2", "--chars-file", "latin.txt", "latin.bmp"},
       false},
      {"strip without a list",
       {"-v", "33", "-a", "1", "-d", "2", "-r", "1", "--ink", "black", "ascii.bmp"},
       true},
  };
  for (const Made& made : fonts) {
    for (const char* format : {"bdf", "pcf", "psf", "otb", "ttf", "fon"}) {
      if (std::string(format) == "fon" && !made.codes_are_bytes) continue;
      if (std::string(format) != "bdf" && std::string(format) != "psf" &&
          !reads_fonts_through_freetype()) {
        continue;
      }
      SCOPED_TRACE(std::string(made.name) + " as " + format);
      const std::string name = std::string("made.") + format;
      std::vector<std::string> arguments = {"-f", "Sample Font", "--format", format, "-o", name};
      arguments.insert(arguments.end(), made.options.begin(), made.options.end());
      const ProgramRun written = run_program(cvellicor(), arguments, dir_.path());
      ASSERT_EQ(written.exit_status, 0) << written.output;

      const std::vector<std::string> command =
          draw_and_convert_back(dir_.path(), {"--draw", name, "-o", "drawn.png"});
      ASSERT_FALSE(command.empty());
      EXPECT_EQ(read_file(dir_.file(font_written_by(command))), read_file(dir_.file(name)));
    }
  }
}

TEST(DrawRefusals, EachBadFontGetsItsMessageAndNothingIsWritten) {
  TempDir dir;
  write_text(dir.file("notes.txt"), "not a font\n");
  write_text(dir.file("broken.bdf"),
             "STARTFONT 2.1\nFONT x\nSIZE 8 75 75\nCHARS 1\nSTARTCHAR a\n"
             "ENCODING 65\nBBX 99999 1 0 0\nBITMAP\nFF\nENDCHAR\nENDFONT\n");
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {{"--draw", "notes.txt"},
       {"Not a font file that can be drawn: BDF and PSF, and where FreeType is built in PCF, OTB, "
        "TTF and FON, each also gzip-compressed"}},
      {{"--draw", "missing.bdf"}, {"Cannot read the font file:", "missing.bdf"}},
      {{"--draw", "notes.txt", "--columns", "0"},
       {"Invalid Columns Value: glyphs a row, 1 to 65536"}},
  };
  for (const Case& refused : cases) {
    const ProgramRun run = run_program(cvellicor(), refused.arguments, dir.path());
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(split_lines(run.output), refused.lines);
  }
  const ProgramRun broken = run_program(cvellicor(), {"--draw", "broken.bdf"}, dir.path());
  EXPECT_EQ(broken.exit_status, 1);
  EXPECT_NE(broken.output.find("The font"), std::string::npos) << broken.output;
  EXPECT_FALSE(std::filesystem::exists(dir.file("broken.png")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("notes.png")));

  const std::filesystem::path outlines = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (reads_fonts_through_freetype() && std::filesystem::exists(outlines)) {
    const ProgramRun run =
        run_program(cvellicor(), {"--draw", outlines.string(), "-o", "dejavu.png"}, dir.path());
    EXPECT_EQ(
        split_lines(run.output),
        std::vector<std::string>{
            "The font holds outlines only: it has no bitmap at any size, so no pixels to draw"});
    EXPECT_FALSE(std::filesystem::exists(dir.file("dejavu.png")));
  }
}

TEST(DrawRefusals, AGridAskedForAProportionalFontIsRefused) {
  const std::filesystem::path font = std::filesystem::path(kX11) / "cu12.pcf.gz";
  if (!reads_fonts_through_freetype() || !std::filesystem::exists(font)) {
    GTEST_SKIP() << "needs FreeType and xfonts-base";
  }
  TempDir dir;
  const ProgramRun run =
      run_program(cvellicor(), {"--draw", font.string(), "--grid", "-o", "cu12.png"}, dir.path());
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(
      split_lines(run.output),
      std::vector<std::string>{"The font does not fit a grid: its glyphs differ in advance or "
                               "reach out of their cells; draw it with --marks"});
}

}  // namespace
}  // namespace vellicor::test
