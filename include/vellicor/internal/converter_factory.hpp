// The reference-counted Converter object and its factory.
#pragma once

#include <cstdint>

#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Makes a Converter with a count of 1 and stores it through out; stores null
// first and leaves it null on failure (kNoInterface, kOutOfMemory). reserved is
// not read. The object is freed by its own release. For IidConverterEx the
// object is a ConverterEx, whose first slots are those of a Converter.
ResultCode create_converter(std::uint32_t reserved, ConverterIid iid, Converter** out) noexcept;

// Makes a ConverterEx with a count of 1 (null on failure, kOutOfMemory).
ResultCode create_converter_ex(std::uint32_t reserved, ConverterEx** out) noexcept;

}  // namespace vellicor
