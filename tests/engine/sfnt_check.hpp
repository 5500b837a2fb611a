// Reading our sfnt fonts back: the table directory and checksums as the
// OpenType specification lays them out, and text drawn through FreeType
// and through Pango (with a fontconfig setup that sees only the font).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vellicor::test {

// The tables of an sfnt file by tag, each as its bytes.
using SfntTables = std::map<std::string, std::vector<std::uint8_t>>;

// Reads the file's directory: sorted tags, every table inside the file and
// starting on four bytes, every table's checksum and the whole file's
// (0xB1B0AFBA with head.checkSumAdjustment) right.
::testing::AssertionResult read_sfnt_tables(const std::string& path, SfntTables& tables);

std::uint16_t be16(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint32_t be32(const std::vector<std::uint8_t>& bytes, std::size_t at);

// The pixels per em of the font's first strike; 0 when it has none.
std::uint32_t strike_size(const std::string& path);

// Ink pixels (x right, y down) of a line of text.
using InkSet = std::set<std::pair<int, int>>;

// text drawn through FreeType from the font at path at pixel_size: the
// glyph of each character at the pen, which moves on by its advance.
// load_flags go to FT_Load_Glyph beside FT_LOAD_RENDER and
// FT_LOAD_TARGET_MONO.
InkSet freetype_line(const std::string& path, std::uint32_t pixel_size, const std::string& text,
                     std::int32_t load_flags = 0);

// The ink of the PNG at path (dark pixels).
InkSet png_ink(const std::string& path);

// The set moved so that its leftmost and topmost pixels lie at 0.
InkSet cropped(const InkSet& ink);

// Draws text with pango-view in family at pixel_size into png, seeing only
// the fonts in font_dir (a fontconfig file of its own in work_dir); false
// when pango-view fails. The command run goes to command.
bool pango_draw(const std::string& work_dir, const std::string& font_dir, const std::string& family,
                std::uint32_t pixel_size, const std::string& text, const std::string& png,
                std::string& command);

}  // namespace vellicor::test
