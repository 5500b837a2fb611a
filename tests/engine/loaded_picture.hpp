// Loading a picture in tests, and reading its ink back as text rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/picture/bmp_loader.hpp"
#include "engine/picture/ink_map.hpp"

namespace vellicor::test {

// Everything load_bmp hands back. detail starts at a value the loader never
// stores, so a test sees whether it was written.
struct LoadedPicture {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = kDetailNotStored;
  BmpInfoHeader info_header;
  InkIndexTable ink_table{};
  std::uint16_t ink_count = 0;
  PixelBuffer pixels;

  static constexpr ErrorDetail kDetailNotStored = static_cast<ErrorDetail>(12345);

  // The ink indices as a list, for comparing with a literal.
  std::vector<int> ink_indices() const;
};

LoadedPicture load_picture(FileSystem& fs, const std::string& path);
// Writes bytes to a file in a fresh temporary folder and loads it from there.
LoadedPicture load_bytes(const std::vector<std::uint8_t>& bytes);
LoadedPicture load_bytes(FileSystem& fs, const std::vector<std::uint8_t>& bytes);

// The picture stage's ink map of a loaded picture.
InkMap ink_map_of(const LoadedPicture& picture);
// The picture's ink, top row first: '#' ink, '.' paper, read from its ink map.
std::vector<std::string> ink_rows(const LoadedPicture& picture);
// Whether any pixel of the picture is ink, over every row and column.
bool has_ink_pixel(const LoadedPicture& picture);

}  // namespace vellicor::test
