// The usage text, line for line as users of the console program know it.
#include "console/usage.hpp"

#include <cstdio>

#include "engine/product_info.hpp"

namespace vellicor::console {
namespace {

constexpr char kVersionLine[] = "cvellicor.exe - version 1.0.0";

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

}  // namespace vellicor::console
