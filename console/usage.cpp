// The usage text, line for line as users of the console program know it.
#include "console/usage.hpp"

#include <cstdio>

#include "vellicor/internal/product.hpp"

namespace vellicor::console {
namespace {

constexpr char kVersionLine[] = "cvellicor.exe - version " VELLICOR_VERSION_TEXT;

// Option lines start with one blank and put "[Optional]" in column 22;
// continuation lines start with 21 blanks. The repeated "descent value"
// wording of the blank options is the program's established text.
constexpr const char* kUsageLines[] = {
    "Usage: cvellicor.exe [options] [bitmapfile]",
    "Options:",
    " -o FILENAME         [Optional] File to write BDF Contents",
    "                     If not given, output file based on",
    "                     input bitmapfile name and path.",
    "                     If it has spaces in the name, use \"filename\".",
    " -f FONTNAME         [Optional] Name for FONT attribute of BDF.",
    "                     If not given, name is No-Name-Font.",
    " -v STARTVAL         [Optional] Hex or Decimal value for starting glyph.",
    "                     If not given, starts at value 0.",
    " -a ALWBLANK         [Optional] Hex or Decimal value for allowable blank",
    "                     columns in glyph.",
    "                     If not given, no allowed blank columns in glyphs.",
    " -d DESCENT          [Optional] Hex or Decimal value for descent pixels.",
    "                     If not given, descent value is 0.",
    " -w                  [Optional] If used, generate a fixed width font.",
    "                     If not used, variable width font is used.",
    " -u UBLANK           [Optional] Hex or Decimal value for top blank pixels.",
    "                     If not given, descent value is 0.",
    " -b BBLANK           [Optional] Hex or Decimal value for bottom blank pixels.",
    "                     If not given, descent value is 0.",
    " -l LBLANK           [Optional] Hex or Decimal value for left blank pixels.",
    "                     If not given, descent value is 0.",
    " -r RBLANK           [Optional] Hex or Decimal value for right blank pixels.",
    "                     If not given, descent value is 0.",
    " ",
};

// Same columns as the usage's option lines.
constexpr const char* kLongOptionLines[] = {
    "Long options, given before the bitmapfile among the options above; a value",
    "that begins with '-' goes after '=' (--chars=-x):",
    " --chars TEXT        The characters of the glyphs, left to right, in UTF-8.",
    "                     Codes become their Unicode code points; -v is not",
    "                     used with a character list. Blank characters (space,",
    "                     no-break space and the other space separators) become",
    "                     empty glyphs and take no glyph of the picture.",
    " --chars-file FILE   The character list read from FILE (UTF-8, at most 1 MiB);",
    "                     each line names one row's characters (see --rows);",
    "                     a leading byte-order mark is ignored.",
    " --blank-advance N   Advance of blank characters in pixels, 1 to 1024.",
    "                     If not given, the median advance of the glyphs, or",
    "                     the fixed width with -w.",
    " --ink RULE          What counts as ink: black (the default), dark, opaque",
    "                     or auto. With any long option the picture may also",
    "                     be a PNG or a BMP of any depth.",
    " --rows N            The picture is N rows of glyphs of equal height, each",
    "                     cut as a picture of its own. A list of one line runs",
    "                     across all rows; a list of N lines (a line feed ends",
    "                     one in --chars) gives each row its line.",
    " --marks             The top pixel row of each row of glyphs marks every",
    "                     glyph's advance with a run of ink; the glyph is the",
    "                     ink below it and may reach into the gaps between runs.",
    " --grid WxH          Cells of W x H pixels, one glyph each, read left to",
    "                     right, top to bottom; a glyph keeps its place in its",
    "                     cell and advances the cell width. Without a list the",
    "                     codes count up from -v, one per cell.",
    " --grid-origin X,Y   With --grid: the first cell's top-left pixel (0,0).",
    " --grid-gap X,Y      With --grid: pixels between the cells across and down,",
    "                     skipped whatever their colour (0,0).",
    " --proportional      With --grid: a glyph advances its ink width and -l and",
    "                     -r instead of the cell width.",
    " --charset NAME      A built-in character set in place of a list: ascii,",
    "                     latin1, cp437 (all 256, with the graphic characters",
    "                     at 0x01 to 0x1F and 0x7F) or cp1252 (0x20 to 0xFF).",
    " --format NAME       The font's file format: bdf (the default), pcf (X11),",
    "                     psf (Linux console, PSF2), otb (bitmap OpenType, for",
    "                     GTK and Pango), fon (Windows, Windows-1252 only) or",
    "                     ttf (pixel outlines with the bitmap). Without -o the",
    "                     font takes the format's extension.",
    " --list              Cut the picture and print one line per glyph: index,",
    "                     code, character, first and last column, width, and",
    "                     with --rows, --marks or --grid the glyph's row and",
    "                     cell. Writes no font.",
    "",
    "cvellicor --draw FONT [-o PICTURE] [--grid | --marks] [--columns N]",
    " --draw FONT         Draw a font (BDF, PCF, PSF, OTB, TTF bitmaps, FON)",
    "                     into a picture, PICTURE or FONT's name with .png,",
    "                     and its characters into a list beside it (.txt);",
    "                     print the command that converts it back. A grid for",
    "                     a font whose glyphs share one advance, marks else.",
    " --columns N         With --draw: glyphs a row.",
    " --help              Print this text.",
    " --version           Print the version line.",
};

}  // namespace

void print_line(const char* text) {
  // A console that cannot print has nowhere to report it.
  static_cast<void>(std::fputs(text, stdout));
  static_cast<void>(std::fputc('\n', stdout));
}

void print_usage() {
  for (const char* line : kUsageLines) print_line(line);
  static_cast<void>(std::fputs("Feedback to: <", stdout));
  static_cast<void>(std::fputs(kContactEmail, stdout));
  static_cast<void>(std::fputs("> Website: ", stdout));
  print_line(kWebSite);
}

void print_banner() {
  print_line(kVersionLine);
  print_usage();
}

void print_version() { print_line(kVersionLine); }

void print_help() {
  print_usage();
  for (const char* line : kLongOptionLines) print_line(line);
}

}  // namespace vellicor::console
