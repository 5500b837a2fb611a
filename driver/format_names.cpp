// The format table and the lookup of a keyword.
#include "driver/format_names.hpp"

#include <cstring>

namespace vellicor {
namespace {

constexpr FormatName kFormatNames[] = {
    {"bdf", "BDF (font tools, X11)", VELLICOR_FORMAT_BDF},
    {"pcf", "PCF (X11 core fonts)", VELLICOR_FORMAT_PCF},
    {"psf", "PSF2 (Linux console)", VELLICOR_FORMAT_PSF},
    {"otb", "OTB: bitmap OpenType (GTK, Pango, fontconfig)", VELLICOR_FORMAT_OTB},
    {"fon", "FON (Windows, Windows-1252 only)", VELLICOR_FORMAT_FON},
    {"ttf", "TTF: pixel outlines with the bitmap (browsers, office, macOS)", VELLICOR_FORMAT_TTF},
};

}  // namespace

std::span<const FormatName> format_names() { return kFormatNames; }

ResultCode parse_format(const char* text, std::uint32_t& format) {
  if (text == nullptr) return ResultCode::kBadArgument;
  for (const FormatName& row : kFormatNames) {
    if (std::strcmp(row.keyword, text) == 0) {
      format = row.format;
      return ResultCode::kOk;
    }
  }
  return ResultCode::kBadArgument;
}

}  // namespace vellicor
