// The fuzz targets' font reader must refuse broken fonts, or the fuzzers'
// checks of written fonts would pass whatever the engine wrote.
#include "fuzz/bdf_stream_check.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "tests/support/param_label.hpp"
#include "tests/support/worked_example.h"

namespace vellicor::test {
namespace {

const std::string kHeader = VELLICOR_BDF_PREAMBLE
    "FONT Test\n"
    "SIZE 5 75 75\n"
    "FONTBOUNDINGBOX 5 2 0 -1\n"
    "STARTPROPERTIES 2\n"
    "FONT_DESCENT 1\n"
    "FONT_ASCENT 1\n"
    "ENDPROPERTIES\n"
    "CHARS 2\n";
const std::string kFirst =
    "STARTCHAR char0041\nENCODING 65\nSWIDTH 960 0\nDWIDTH 5 0\nBBX 5 2 0 -1\nBITMAP\n"
    "40\n70\nENDCHAR\n";
const std::string kSecond =
    "STARTCHAR char0042\nENCODING 66\nSWIDTH 960 0\nDWIDTH 5 0\nBBX 5 3 0 -2\nBITMAP\n"
    "00\n50\nF8\nENDCHAR\n";
const std::string kEnd = "ENDFONT\n";

bool check(const std::string& font, std::size_t piece_size) {
  fuzz::BdfStreamCheck checker;
  for (std::size_t at = 0; at < font.size(); at += piece_size) {
    const std::string piece = font.substr(at, piece_size);
    checker.feed(reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size());
  }
  return checker.finish();
}

TEST(BdfStreamCheck, AcceptsWellFormedFontInAnyPieces) {
  const std::string font = kHeader + kFirst + kSecond + kEnd;
  EXPECT_TRUE(check(font, font.size()));
  EXPECT_TRUE(check(font, 1));
  EXPECT_TRUE(check(font, 7));
}

struct Breakage {
  const char* label;
  std::string from;
  std::string to;
};

// Names the row in test listings.
void PrintTo(const Breakage& row, std::ostream* out) { print_label(out, {row.label}); }

class BdfStreamCheckBroken : public testing::TestWithParam<Breakage> {};

TEST_P(BdfStreamCheckBroken, IsRefused) {
  std::string font = kHeader + kFirst + kSecond + kEnd;
  const std::size_t at = font.find(GetParam().from);
  ASSERT_NE(at, std::string::npos);
  font.replace(at, GetParam().from.size(), GetParam().to);
  EXPECT_FALSE(check(font, font.size()));
  EXPECT_FALSE(check(font, 3));
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, BdfStreamCheckBroken,
    testing::Values(
        Breakage{"CharsCountsWrong", "CHARS 2", "CHARS 3"},
        Breakage{"BitmapLineMissing", "40\n70\n", "40\n"},
        Breakage{"BitmapLineExtra", "00\n50\nF8\n", "00\n50\nF8\n00\n"},
        Breakage{"BitmapLineTooWide", "\n70\n", "\n700\n"}, Breakage{"LowerCaseHex", "F8", "f8"},
        Breakage{"EncodingSkips", "ENCODING 66", "ENCODING 67"},
        Breakage{"NameDiffersFromEncoding", "char0042", "char0043"},
        Breakage{"BoxWiderThanFont", "BBX 5 2", "BBX 6 2"},
        Breakage{"BoxLowerThanFont", "BBX 5 2 0 -1\nBITMAP\n40\n70\n",
                 "BBX 5 1 0 -1\nBITMAP\n40\n"},
        Breakage{"DeviceWidthWithoutVertical", "DWIDTH 5 0\nBBX 5 2", "DWIDTH 5\nBBX 5 2"},
        Breakage{"NoEndFont", "ENDFONT\n", ""}, Breakage{"LastLineUnended", "ENDFONT\n", "ENDFONT"},
        Breakage{"BytesAfterEndFont", "ENDFONT\n", "ENDFONT\n\n"},
        Breakage{"CarriageReturn", "BITMAP\n40", "BITMAP\r\n40"}),
    [](const auto& row) { return std::string(row.param.label); });

}  // namespace
}  // namespace vellicor::test
