// Writes a benchmark strip to a file:  make_strip wide|tall GLYPHS OUTPUT.bmp
#include <charconv>
#include <cstdio>
#include <cstring>

#include "bench/strip_builder.hpp"

namespace {

constexpr std::uint32_t kMinimumGlyphs = 4;
constexpr std::uint32_t kMaximumGlyphs = 1u << 24;  // a 16 MiB strip

int usage() {
  std::fputs("usage: make_strip wide|tall GLYPHS OUTPUT.bmp\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr int kArguments = 4;
  if (argc != kArguments) return usage();
  vellicor::bench::StripShape shape{};
  if (std::strcmp(argv[1], "wide") == 0) {
    shape = vellicor::bench::StripShape::kWide;
  } else if (std::strcmp(argv[1], "tall") == 0) {
    shape = vellicor::bench::StripShape::kTall;
  } else {
    return usage();
  }
  std::uint32_t glyphs = 0;
  const char* const text_end = argv[2] + std::strlen(argv[2]);
  const auto parsed = std::from_chars(argv[2], text_end, glyphs);
  if (parsed.ec != std::errc{} || parsed.ptr != text_end || glyphs < kMinimumGlyphs ||
      glyphs > kMaximumGlyphs) {
    return usage();
  }

  const auto strip = vellicor::bench::build_strip(shape, glyphs);
  std::FILE* output = std::fopen(argv[3], "wb");
  if (output == nullptr) {
    std::perror(argv[3]);
    return 1;
  }
  const bool wrote = std::fwrite(strip.data(), 1, strip.size(), output) == strip.size();
  if (std::fclose(output) != 0 || !wrote) {
    std::perror(argv[3]);
    return 1;
  }
  return 0;
}
