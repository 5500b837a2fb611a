// Reading the BDF that cvellicor writes into a LoadedFont, for tests.
#include "tests/drawing/bdf_test_font.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace vellicor::test {

namespace {

std::string unquoted(std::string value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

LoadedFont bdf_test_font(const std::string& text) {
  LoadedFont font;
  std::istringstream lines(text);
  std::string line;
  bool in_properties = false;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "FONT") {
      font.font_name = line.substr(5);
    } else if (keyword == "STARTPROPERTIES") {
      in_properties = true;
    } else if (keyword == "ENDPROPERTIES") {
      in_properties = false;
    } else if (in_properties) {
      std::string value = line.substr(keyword.size() + 1);
      font.properties.emplace_back(keyword, value);
      if (keyword == "FONT_ASCENT") font.ascent = std::stoi(value);
      if (keyword == "FONT_DESCENT") font.descent = std::stoi(value);
      if (keyword == "CHARSET_REGISTRY") font.unicode = unquoted(value) == "ISO10646";
      if (keyword == "FAMILY_NAME") font.family_name = unquoted(value);
    } else if (keyword == "STARTCHAR") {
      LoadedGlyph glyph;
      words >> glyph.name;
      while (std::getline(lines, line) && line != "BITMAP") {
        std::istringstream fields(line);
        fields >> keyword;
        if (keyword == "ENCODING") fields >> glyph.code;
        if (keyword == "SWIDTH") fields >> glyph.scalable_width;
        if (keyword == "DWIDTH") fields >> glyph.advance;
        if (keyword == "BBX")
          fields >> glyph.width >> glyph.height >> glyph.x_offset >> glyph.y_offset;
      }
      for (std::uint32_t row = 0; row < glyph.height; ++row) {
        EXPECT_TRUE(std::getline(lines, line));
        for (std::size_t byte = 0; byte < glyph.stride(); ++byte) {
          glyph.lines.push_back(
              static_cast<std::uint8_t>(std::stoul(line.substr(byte * 2, 2), nullptr, 16)));
        }
      }
      EXPECT_TRUE(std::getline(lines, line) && line == "ENDCHAR") << glyph.name;
      font.glyphs.push_back(std::move(glyph));
    }
  }
  return font;
}

}  // namespace vellicor::test
