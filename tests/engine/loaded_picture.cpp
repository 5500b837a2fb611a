// Loading a picture in tests, and reading its ink back as text rows.
#include "tests/engine/loaded_picture.hpp"

#include "engine/picture/picture.hpp"
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

std::vector<std::string> ink_rows(const LoadedPicture& picture) {
  const PictureView view(picture.info_header, picture.pixels, picture.ink_table.data(),
                         picture.ink_count);
  std::vector<std::string> rows;
  for (std::uint32_t y = 0; y < view.height(); ++y) {
    std::string row(view.width(), '.');
    for (std::uint32_t x = 0; x < view.width(); ++x) {
      if (view.is_ink(x, y)) row[x] = '#';
    }
    rows.push_back(row);
  }
  return rows;
}

bool has_ink_pixel(const LoadedPicture& picture) {
  const PictureView view(picture.info_header, picture.pixels, picture.ink_table.data(),
                         picture.ink_count);
  for (std::uint32_t y = 0; y < view.height(); ++y) {
    for (std::uint32_t x = 0; x < view.width(); ++x) {
      if (view.is_ink(x, y)) return true;
    }
  }
  return false;
}

}  // namespace vellicor::test
