// The one place where a conversion request is pulled field by field from the
// host, checked, and carried out by the engine.
#pragma once

#include <cstdint>

#include "driver/host_callbacks.hpp"
#include "vellicor/internal/converter_factory.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Runs one whole conversion for the host: reads and checks every field,
// converts, reports at most one message. Returns kOk when the font was written.
ResultCode run_conversion(const HostCallbacks* callbacks, void* context);

// How the driver obtains its Converter; create_converter unless a test
// substitutes its own (same contract: count 1, null on failure).
using ConverterFactory = ResultCode (*)(std::uint32_t reserved, ConverterIid iid, Converter** out);

// run_conversion with the converter made by factory instead of create_converter.
ResultCode run_conversion(const HostCallbacks* callbacks, void* context, ConverterFactory factory);

// Reads the same fields as run_conversion and cuts the picture as the
// conversion would, calling callback for every glyph of the font; writes no
// font. Reports at most one message. The converter comes from factory
// (asked for IidConverterEx). When report is not null it receives the cut's
// report (the picture's size, the tallest glyph...), on a refusal too.
ResultCode run_listing(const HostCallbacks* callbacks, void* context, GlyphCallback callback,
                       void* callback_context, ConverterFactory factory = &create_converter,
                       ConversionReport* report = nullptr);

// Reads a decimal or "0x" hexadecimal number that fits in 32 bits. Returns kOk
// and stores it, or kUnusableInput leaving number untouched.
ResultCode parse_number(const char* text, std::uint32_t* number);

}  // namespace vellicor
