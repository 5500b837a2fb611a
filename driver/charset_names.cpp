// The character set table and the lookup of a keyword.
#include "driver/charset_names.hpp"

#include <cstring>

namespace vellicor {
namespace {

constexpr CharsetName kCharsetNames[] = {
    {"ascii", "ASCII (U+0020 to U+007E)", VELLICOR_CHARSET_ASCII},
    {"latin1", "Latin-1 (ASCII, then U+00A0 to U+00FF)", VELLICOR_CHARSET_LATIN1},
    {"cp437", "IBM PC (code page 437, all 256)", VELLICOR_CHARSET_CP437},
    {"cp1252", "Windows Western (code page 1252, 0x20 to 0xFF)", VELLICOR_CHARSET_CP1252},
};

}  // namespace

std::span<const CharsetName> charset_names() { return kCharsetNames; }

ResultCode parse_charset(const char* text, std::uint32_t& charset) {
  if (text == nullptr) return ResultCode::kBadArgument;
  for (const CharsetName& row : kCharsetNames) {
    if (std::strcmp(row.keyword, text) == 0) {
      charset = row.charset;
      return ResultCode::kOk;
    }
  }
  return ResultCode::kBadArgument;
}

}  // namespace vellicor
