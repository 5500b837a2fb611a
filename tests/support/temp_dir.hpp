// A fresh directory per test, removed with everything in it afterwards; and
// small file helpers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vellicor::test {

class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::filesystem::path& path() const { return path_; }
  // Path of name inside the directory, as a string.
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // Names of the entries in the directory, sorted.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path path_;
};

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);
void write_text(const std::string& path, const std::string& text);
std::vector<std::uint8_t> read_file(const std::string& path);
std::string read_text(const std::string& path);

// The shared test data folder (bmpsuite), or an empty path when it is absent.
std::filesystem::path shared_data_dir();
// Its BMP Suite folder, or an empty path when it is absent.
std::filesystem::path bmp_suite_dir();
// Where the build puts programs and the shared library.
std::filesystem::path binary_dir();
std::filesystem::path library_dir();
// The project's source folder (sample pictures, scripts).
std::filesystem::path source_dir();

}  // namespace vellicor::test
