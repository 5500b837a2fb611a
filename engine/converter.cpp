// Placeholder until the converter lands.
#include "engine/converter.hpp"

namespace vellicor {

ResultCode create_converter(std::uint32_t, ConverterIid, Converter** out) noexcept {
  if (out != nullptr) *out = nullptr;
  return ResultCode::kOutOfMemory;
}

}  // namespace vellicor
