// cvellicor's long options, run as the real program: the character list, the
// listing, help and version, and the refusals of bad long options.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/console/run_program.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

// Four glyphs: columns 1-2, 5-7, 10 and 13-16.
const std::vector<std::string> kRows = {
    "...................",  //
    ".##..###..#..####..",  //
    ".#....#...#..#..#..",  //
    ".##..###..#..####..",  //
};

class LongOptions : public ::testing::Test {
 protected:
  LongOptions() { write_file(dir_.file("strip.bmp"), make_one_bit_bmp(kRows)); }

  ProgramRun run(const std::vector<std::string>& arguments) {
    return run_program(binary_dir() / "cvellicor", arguments, dir_.path());
  }
  bool only_the_picture() const { return dir_.entries() == std::vector<std::string>{"strip.bmp"}; }
  std::string font() const { return read_text(dir_.file("strip.bdf")); }

  TempDir dir_;
};

TEST_F(LongOptions, CharsMakeAUnicodeFontWithARealSpace) {
  const ProgramRun result = run({"-f", "Strip", "--chars", "a b\u00E7d", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, "");
  const std::string text = font();
  EXPECT_NE(text.find("STARTCHAR uni0020\nENCODING 32\nSWIDTH 667 0\nDWIDTH 2 0\nBBX 0 0 0 0\n"
                      "BITMAP\nENDCHAR\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("STARTCHAR uni00E7\nENCODING 231\n"), std::string::npos);
  EXPECT_NE(text.find("CHARSET_REGISTRY \"ISO10646\"\n"), std::string::npos);
  EXPECT_NE(text.find("FAMILY_NAME \"Strip\"\n"), std::string::npos);
}

TEST_F(LongOptions, CountMismatchGivesBothNumbersAndWritesNothing) {
  ProgramRun result = run({"--chars", "abc", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "The picture holds 4 glyphs but the character list names 3\n");
  EXPECT_TRUE(only_the_picture());
  result = run({"--chars", "ab cde", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output,
            "The picture holds 4 glyphs but the character list names 5 (besides 1 blank "
            "character, which takes no glyph)\n");
  result = run({"--chars", "a b\u3000cde", "strip.bmp"});
  EXPECT_EQ(result.output,
            "The picture holds 4 glyphs but the character list names 5 (besides 2 blank "
            "characters, which take no glyph)\n");
  EXPECT_TRUE(only_the_picture());
}

TEST_F(LongOptions, EveryRefusedListHasItsOwnMessage) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ab\u00E7a", "The character list names U+0061 'a' twice\n"},
      {"", "The character list is empty\n"},
      {" \u3000", "The character list names only blank characters\n"},
      {"ab\xFF", "The character list is not valid UTF-8 text (at byte 2)\n"},
  };
  for (const auto& [chars, message] : cases) {
    const ProgramRun result = run({"--chars", chars, "strip.bmp"});
    EXPECT_EQ(result.exit_status, 1) << chars;
    EXPECT_EQ(result.output, message);
    EXPECT_TRUE(only_the_picture());
  }
}

TEST_F(LongOptions, ListPrintsOneLinePerGlyphAndWritesNothing) {
  const ProgramRun result = run({"--list", "--chars", "a b\u00E7d", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(split_lines(result.output),
            (std::vector<std::string>{
                "index  code      char      first   last  width  advance",
                "    0  U+0061    'a'           1      2      2        2",
                "    1  U+0020    ' '           -      -      0        2",
                "    2  U+0062    'b'           5      7      3        3",
                "    3  U+00E7    '\u00E7'          10     10      1        1",
                "    4  U+0064    'd'          13     16      4        4",
            }));
  EXPECT_TRUE(only_the_picture());
}

TEST_F(LongOptions, ListShowsWhereStripAndListPartWays) {
  ProgramRun result = run({"--list", "--chars", "abc", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  const std::vector<std::string> lines = split_lines(result.output);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[3], "    2  U+0063    'c'          10     10      1        1");
  EXPECT_EQ(lines[4], "    3  none      -            13     16      4        4  (no character)");
  EXPECT_EQ(lines[5], "The picture holds 4 glyphs but the character list names 3");
  // A refused setting prints its message alone.
  result = run({"--list", "--blank-advance", "0", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "Invalid Blank Advance Value\n");
}

TEST_F(LongOptions, ListShowsInvisibleCharactersByTheirCodes) {
  // Raw, U+202E would reverse the rest of the terminal line and U+0301 would
  // join the quote before it.
  const ProgramRun result = run({"--list", "--chars", "a\u202E\u0301\u200B", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(split_lines(result.output),
            (std::vector<std::string>{
                "index  code      char      first   last  width  advance",
                "    0  U+0061    'a'           1      2      2        2",
                "    1  U+202E    U+202E        5      7      3        3",
                "    2  U+0301    U+0301       10     10      1        1",
                "    3  U+200B    U+200B       13     16      4        4",
            }));
}

TEST_F(LongOptions, ListMarksTheCharactersLeftWithoutAGlyph) {
  const ProgramRun result = run({"--list", "--chars", "ab cd\u0007\u3000e", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(split_lines(result.output),
            (std::vector<std::string>{
                "index  code      char      first   last  width  advance",
                "    0  U+0061    'a'           1      2      2        2",
                "    1  U+0062    'b'           5      7      3        3",
                "    2  U+0020    ' '           -      -      0        2",
                "    3  U+0063    'c'          10     10      1        1",
                "    4  U+0064    'd'          13     16      4        4",
                "    5  U+0007    U+0007        -      -      -        -  (no glyph)",
                "    6  U+3000    '\u3000'           -      -      -        -  (no glyph)",
                "    7  U+0065    'e'           -      -      -        -  (no glyph)",
                "The picture holds 4 glyphs but the character list names 6 (besides 2 blank "
                "characters, which take no glyph)",
            }));
  EXPECT_TRUE(only_the_picture());
}

TEST_F(LongOptions, OneWalkReadsShortAndLongOptionsAlike) {
  // -v before a long option stands alone, as before a short one.
  ProgramRun result = run({"-v", "--list", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(split_lines(result.output).size(), 5u);
  result = run({"--list", "-v", "65", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  ASSERT_EQ(split_lines(result.output).size(), 5u);
  EXPECT_EQ(split_lines(result.output)[1].substr(0, 10), "    0  65 ");
  // The picture comes last, with long options as with short ones.
  const ProgramRun plain = run({"strip.bmp", "-w"});
  result = run({"strip.bmp", "--ink", "dark"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, plain.output);
  EXPECT_EQ(result.output.substr(0, 55),
            "Error:\nUnexpected Option starting from here:\nstrip.bmp\n");
  // A value that begins with a dash goes after '='.
  result = run({"--chars", "-x", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.output.find("as in --chars=-x):\n--chars\n"), std::string::npos);
  result = run({"--chars=-x", "strip.bmp"});
  EXPECT_EQ(result.output, "The picture holds 4 glyphs but the character list names 2\n");
  EXPECT_TRUE(only_the_picture());
}

TEST_F(LongOptions, ListsOfBlanksOrWithANulHaveTheirOwnMessages) {
  ProgramRun result = run({"--chars", "   ", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "The character list names only blank characters\n");
  write_text(dir_.file("with-nul-byte.txt"), std::string("ab\ncd\0", 6));
  result = run({"--chars-file", "with-nul-byte.txt", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "The character list holds a NUL byte (at byte 5)\n");
  std::filesystem::remove(dir_.file("with-nul-byte.txt"));
  EXPECT_TRUE(only_the_picture());
}

TEST_F(LongOptions, AFontThatWouldReplaceTheListFileIsRefused) {
  write_text(dir_.file("list.txt"), "abcd");
  std::filesystem::create_directory(dir_.file("sub"));
  const std::string start = "Error:\nThe font would overwrite the character list file:\n";
  // Named by -o, by another spelling of it, or as the name made from the picture's.
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"--chars-file", "list.txt", "-o", "list.txt", "strip.bmp"},
           {"-o", "sub/../list.txt", "--chars-file", "./list.txt", "strip.bmp"},
       }) {
    const ProgramRun result = run(arguments);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.output.substr(0, start.size()), start);
    EXPECT_EQ(read_text(dir_.file("list.txt")), "abcd");
  }
  write_text(dir_.file("strip.bdf"), "abcd");
  ProgramRun result = run({"--chars-file", "strip.bdf", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output.substr(0, start.size()), start);
  EXPECT_EQ(read_text(dir_.file("strip.bdf")), "abcd");
  // Listing writes no font, and another output is fine.
  result = run({"--list", "--chars-file", "strip.bdf", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  result = run({"--chars-file", "list.txt", "-o", "font.bdf", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(read_text(dir_.file("list.txt")), "abcd");
}

TEST_F(LongOptions, ListWithoutAListShowsThePlainCodes) {
  const ProgramRun result = run({"-v", "65", "--list", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  const std::vector<std::string> lines = split_lines(result.output);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "    0  65        -             1      2      2        2");
}

TEST_F(LongOptions, CharsFileIgnoresLineBreaksAndByteOrderMark) {
  write_text(dir_.file("chars.txt"),
             "\xEF\xBB\xBF"
             "a \r\nb\n\u00E7d\n");
  ProgramRun result = run({"--chars-file", "chars.txt", "-o", "file.bdf", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  result = run({"--chars", "a b\u00E7d", "-o", "text.bdf", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(read_text(dir_.file("file.bdf")), read_text(dir_.file("text.bdf")));
}

TEST_F(LongOptions, BlankAdvanceSetsTheSpacesAdvance) {
  const ProgramRun result = run({"--blank-advance", "0x9", "--chars", "a b\u00E7d", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_NE(font().find("STARTCHAR uni0020\nENCODING 32\nSWIDTH 3000 0\nDWIDTH 9 0\n"),
            std::string::npos);
}

TEST_F(LongOptions, HelpPrintsTheUsageThenTheLongOptions) {
  const ProgramRun result = run({"--help"});
  EXPECT_EQ(result.exit_status, 0);
  const std::vector<std::string> lines = split_lines(result.output);
  ASSERT_GT(lines.size(), 30u);
  EXPECT_EQ(lines[0], "Usage: cvellicor.exe [options] [bitmapfile]");
  for (const char* option : {" --chars TEXT", " --chars-file FILE", " --blank-advance N", " --list",
                             " --help", " --version"}) {
    EXPECT_NE(result.output.find(std::string("\n") + option), std::string::npos) << option;
  }
  EXPECT_NE(result.output.find("-v is not"), std::string::npos);
}

TEST_F(LongOptions, VersionPrintsTheVersionLine) {
  const ProgramRun result = run({"--version"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, "cvellicor.exe - version 1.0.0\n");
}

TEST_F(LongOptions, BadLongOptionsAreRefusedWithTheirMessage) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--list=yes", "strip.bmp"}, "Error:\nThis option takes no value:\n--list=yes\n"},
      {{"-v", "3", "--chars"},
       "Error:\nThis option needs a value (one that begins with '-' goes after '=', as in "
       "--chars=-x):\n--chars\n"},
      {{"--list", "--list", "strip.bmp"}, "Error:\nThis option is given twice:\n--list\n"},
      {{"--chars", "a", "--chars-file", "x", "strip.bmp"},
       "Error:\nGive the character list with --chars or --chars-file, not both:\n--chars-file\n"},
      {{"--chars-file", "missing.txt", "strip.bmp"},
       "Error:\nCannot read the character list file:\nmissing.txt\n"},
      {{"--chars", "abcd"}, "Error:\nNo File Name Given Here:\n--chars\n"},
  };
  for (const auto& [arguments, start] : cases) {
    const ProgramRun result = run(arguments);
    EXPECT_EQ(result.exit_status, 1) << start;
    EXPECT_EQ(result.output.substr(0, start.size()), start);
    EXPECT_NE(result.output.find("Usage: cvellicor.exe"), std::string::npos);
    EXPECT_TRUE(only_the_picture());
  }
  for (const char* advance : {"0", "1025", "x1"}) {
    const ProgramRun result = run({"--blank-advance", advance, "--chars", "abcd", "strip.bmp"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.output, "Invalid Blank Advance Value\n");
  }
  const ProgramRun result = run({"--ink", "purple", "strip.bmp"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, "Invalid Ink Rule Value\n");
  EXPECT_TRUE(only_the_picture());
}

}  // namespace
}  // namespace vellicor::test
