// The OTB writer: an sfnt font without outlines.
#include "engine/font/otb_writer.hpp"

#include "engine/font/sfnt/sfnt_font.hpp"

namespace vellicor {

ResultCode write_otb_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail) {
  return write_sfnt_font(file, font, map, nullptr, detail);
}

}  // namespace vellicor
