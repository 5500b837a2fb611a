// Window-menu commands: the About item and the test that recognises it.
#pragma once

#include <cstdint>

namespace vellicor::dialog {

// The command value of the About item; the window system keeps the low four
// bits of a command for itself, so 0x0010 to 0x001F all mean About.
inline constexpr std::uint32_t kAboutCommand = 0x0010;
inline constexpr std::uint32_t kCommandMask = 0xFFF0;
inline constexpr std::uint32_t kCloseCommand = 0xF060;

// True when command is the About item: (command AND 0xFFF0) == 0x0010.
constexpr bool opens_about_box(std::uint32_t command) {
  return (command & kCommandMask) == kAboutCommand;
}

}  // namespace vellicor::dialog
