// What the fuzz targets share: stopping loudly when a property fails, and a
// small picture that converts.
#pragma once

#include <cstdint>
#include <vector>

namespace vellicor::fuzz {

// Prints what failed to standard error and aborts, which libFuzzer records
// as a crash and the corpus replay as a failed test.
[[noreturn]] void fail_property(const char* what, const char* details);

// Stops the run unless the property holds (inline, so analysers see that
// nothing after a failed check runs).
inline void require(bool holds, const char* what, const char* details = "") {
  if (!holds) fail_property(what, details);
}

// A one-bit BMP of three glyphs that converts without failure.
std::vector<std::uint8_t> sample_picture();

}  // namespace vellicor::fuzz
