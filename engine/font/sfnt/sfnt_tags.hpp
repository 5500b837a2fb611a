// The tags of the sfnt tables the font writers make.
#pragma once

#include <cstdint>

namespace vellicor {

constexpr std::uint32_t sfnt_tag(const char (&name)[5]) {
  return (std::uint32_t{static_cast<std::uint8_t>(name[0])} << 24) |
         (std::uint32_t{static_cast<std::uint8_t>(name[1])} << 16) |
         (std::uint32_t{static_cast<std::uint8_t>(name[2])} << 8) |
         std::uint32_t{static_cast<std::uint8_t>(name[3])};
}

constexpr std::uint32_t kTagEbdt = sfnt_tag("EBDT");
constexpr std::uint32_t kTagEblc = sfnt_tag("EBLC");
constexpr std::uint32_t kTagOs2 = sfnt_tag("OS/2");
constexpr std::uint32_t kTagCmap = sfnt_tag("cmap");
constexpr std::uint32_t kTagGlyf = sfnt_tag("glyf");
constexpr std::uint32_t kTagHead = sfnt_tag("head");
constexpr std::uint32_t kTagHhea = sfnt_tag("hhea");
constexpr std::uint32_t kTagHmtx = sfnt_tag("hmtx");
constexpr std::uint32_t kTagLoca = sfnt_tag("loca");
constexpr std::uint32_t kTagMaxp = sfnt_tag("maxp");
constexpr std::uint32_t kTagName = sfnt_tag("name");
constexpr std::uint32_t kTagPost = sfnt_tag("post");
constexpr std::uint32_t kTagPrep = sfnt_tag("prep");

}  // namespace vellicor
