// Loading a picture in tests, and reading its ink back as text rows.
#include "tests/engine/loaded_picture.hpp"

#include <gtest/gtest.h>

#include "engine/picture/one_bit_bmp_ink.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {

std::vector<int> LoadedPicture::ink_indices() const {
  return std::vector<int>(ink_table.begin(), ink_table.begin() + ink_count);
}

LoadedPicture load_picture(FileSystem& fs, const std::string& path) {
  LoadedPicture loaded;
  loaded.result = load_bmp(fs, path.c_str(), loaded.info_header, loaded.ink_table, loaded.ink_count,
                           loaded.pixels, &loaded.detail);
  return loaded;
}

LoadedPicture load_bytes(const std::vector<std::uint8_t>& bytes) {
  return load_bytes(system_file_system(), bytes);
}

LoadedPicture load_bytes(FileSystem& fs, const std::vector<std::uint8_t>& bytes) {
  const TempDir dir;
  const std::string path = dir.file("picture.bmp");
  write_file(path, bytes);
  return load_picture(fs, path);
}

InkMap ink_map_of(const LoadedPicture& picture) {
  InkMap map;
  EXPECT_EQ(one_bit_bmp_ink_map(picture.info_header, picture.pixels, picture.ink_table.data(),
                                picture.ink_count, map, nullptr),
            ResultCode::kOk);
  return map;
}

std::vector<std::string> ink_rows(const LoadedPicture& picture) {
  const InkMap map = ink_map_of(picture);
  std::vector<std::string> rows;
  for (std::uint32_t y = 0; y < map.height_px; ++y) {
    std::string row(map.width_px, '.');
    for (std::uint32_t x = 0; x < map.width_px; ++x) {
      if (map.is_ink(x, y)) row[x] = '#';
    }
    rows.push_back(row);
  }
  return rows;
}

bool has_ink_pixel(const LoadedPicture& picture) {
  const InkMap map = ink_map_of(picture);
  for (std::uint32_t y = 0; y < map.height_px; ++y) {
    for (std::uint32_t x = 0; x < map.width_px; ++x) {
      if (map.is_ink(x, y)) return true;
    }
  }
  return false;
}

}  // namespace vellicor::test
