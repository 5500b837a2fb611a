// Placeholder until number parsing lands.
#include "driver/conversion_driver.hpp"

namespace vellicor {

ResultCode parse_number(const char*, std::uint32_t*) { return ResultCode::kUnusableInput; }

}  // namespace vellicor
