// Failure reporting and the sample picture of the fuzz targets.
#include "fuzz/fuzz_check.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/bmp_builder.hpp"

namespace vellicor::fuzz {

void fail_property(const char* what, const char* details) {
  // Nothing more can be done if the message cannot be printed.
  static_cast<void>(std::fprintf(stderr, "property failed: %s %s\n", what, details));
  std::abort();
}

std::vector<std::uint8_t> sample_picture() {
  // Top-down rows, '#' ink; column 0 stays paper, every glyph ends at a blank.
  test::BmpOptions top_down;
  top_down.top_down = true;
  return test::make_one_bit_bmp(
      {"................................", ".###..#....##...................",
       ".#.#..#...#..#..................", ".###..#...####..................",
       ".#.#..#...#..#.................."},
      top_down);
}

}  // namespace vellicor::fuzz
