// Characters a terminal does not show as one visible cell of their own.
#pragma once

#include <cstdint>

namespace vellicor::console {

// True for a control, format (the bidirectional controls among them),
// combining or line and paragraph separator character: Unicode general
// categories Cc, Cf, Mn, Mc, Me, Zl and Zp. Printed raw, such a character
// vanishes, joins the character before it or reorders the rest of the line.
bool is_invisible_character(std::uint32_t code_point);

}  // namespace vellicor::console
