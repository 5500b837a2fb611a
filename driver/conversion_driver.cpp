// Placeholder until the driver lands.
#include "driver/conversion_driver.hpp"

namespace vellicor {

ResultCode run_conversion(const HostCallbacks*, void*) { return ResultCode::kBadArgument; }

}  // namespace vellicor
