// What the fuzz targets share: stopping loudly when a property fails, and a
// small picture that converts.
#pragma once

#include <cstdint>
#include <vector>

namespace vellicor::fuzz {

// Prints what failed to standard error and aborts, which libFuzzer records
// as a crash and the corpus replay as a failed test.
void require(bool holds, const char* what);
void require(bool holds, const char* what, const char* details);

// A one-bit BMP of three glyphs that converts without failure.
std::vector<std::uint8_t> sample_picture();

}  // namespace vellicor::fuzz
