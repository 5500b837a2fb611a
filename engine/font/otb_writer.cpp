// The OTB writer: an sfnt font without outlines.
#include "engine/font/otb_writer.hpp"

#include "engine/font/sfnt/sfnt_font.hpp"
#include "engine/font/sfnt/sfnt_plan.hpp"

namespace vellicor {

ResultCode write_otb_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail) {
  return write_sfnt_font(file, font, map, nullptr, detail);
}

void sfnt_left_out(const FontModel& font, std::vector<std::uint32_t>& codes) {
  // Glyph id 0 is the added .notdef.
  std::size_t next_id = 1;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    if (next_id++ >= kSfntMostGlyphs) codes.push_back(static_cast<std::uint32_t>(glyph.code));
    return true;
  });
}

}  // namespace vellicor
