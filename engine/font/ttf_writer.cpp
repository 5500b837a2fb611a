// The TTF writer: an sfnt font with outlines.
#include "engine/font/ttf_writer.hpp"

#include "engine/font/sfnt/glyf_table.hpp"
#include "engine/font/sfnt/sfnt_font.hpp"

namespace vellicor {

ResultCode write_ttf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail) {
  return write_sfnt_font(file, font, map, make_glyf_outlines, detail);
}

}  // namespace vellicor
