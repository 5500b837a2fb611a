// The characters --list shows by their codes, at the edges of their ranges.
#include "console/invisible_characters.hpp"

#include <gtest/gtest.h>

namespace vellicor::console {
namespace {

TEST(InvisibleCharacters, AreControlsFormatsMarksAndSeparators) {
  for (const std::uint32_t code :
       {0x0000u, 0x0007u, 0x001Fu, 0x007Fu,  0x009Fu,  0x00ADu, 0x0300u, 0x036Fu,
        0x061Cu, 0x0903u, 0x200Bu, 0x200Eu,  0x2028u,  0x2029u, 0x202Eu, 0x2066u,
        0x20DDu, 0xFE0Fu, 0xFEFFu, 0x1D173u, 0xE0001u, 0xE01EFu}) {
    EXPECT_TRUE(is_invisible_character(code)) << std::hex << code;
  }
  // The neighbours of those ranges, spaces and letters show as themselves.
  for (const std::uint32_t code : {0x0020u, 0x0041u, 0x007Eu, 0x00A0u, 0x00ACu, 0x00AEu, 0x0370u,
                                   0x2030u, 0x3000u, 0xFFFDu, 0x10830u, 0x10FFFFu}) {
    EXPECT_FALSE(is_invisible_character(code)) << std::hex << code;
  }
}

}  // namespace
}  // namespace vellicor::console
