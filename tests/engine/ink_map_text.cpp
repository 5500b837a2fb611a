// Reading pictures through the any-format readers in tests.
#include "tests/engine/ink_map_text.hpp"

#include "engine/picture/picture_ink.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {

ReadPicture read_ink(const std::string& path, InkRule rule) {
  ReadPicture read;
  read.result = read_picture_ink(system_file_system(), path.c_str(), rule, read.map, &read.detail);
  return read;
}

ReadPicture read_ink_bytes(const std::vector<std::uint8_t>& bytes, InkRule rule) {
  const TempDir dir;
  const std::string path = dir.file("picture");
  write_file(path, bytes);
  return read_ink(path, rule);
}

std::vector<std::string> ink_map_rows(const InkMap& map) {
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

}  // namespace vellicor::test
