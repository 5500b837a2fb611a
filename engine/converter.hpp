// The reference-counted Converter object and its factory.
#pragma once

#include <cstdint>

#include "engine/result.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Makes a Converter with a count of 1 and stores it through out; stores null
// first and leaves it null on failure (kNoInterface, kOutOfMemory). reserved is
// not read. The object is freed by its own release.
ResultCode create_converter(std::uint32_t reserved, ConverterIid iid, Converter** out) noexcept;

}  // namespace vellicor
