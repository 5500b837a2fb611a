// Per-test directories and file helpers.
#include "tests/support/temp_dir.hpp"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace vellicor::test {

#ifdef _WIN32
// The Windows C runtime has no mkdtemp: a random name, created exclusively
// (create_directory is false when the name is taken).
TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate =
        std::filesystem::temp_directory_path() /
        ("vellicor-test-" + std::to_string(random() % 1000000000));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no free name for a test directory");
}
#else
TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vellicor-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}
#endif

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void write_text(const std::string& path, const std::string& text) {
  write_file(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string read_text(const std::string& path) {
  const std::vector<std::uint8_t> bytes = read_file(path);
  return std::string(bytes.begin(), bytes.end());
}

std::filesystem::path shared_data_dir() {
  const std::filesystem::path dir = VELLICOR_TEST_SHARED_DIR;
  std::error_code ignored;
  return std::filesystem::is_directory(dir / "bmpsuite", ignored) ? dir : std::filesystem::path();
}

std::filesystem::path bmp_suite_dir() {
  const std::filesystem::path shared = shared_data_dir();
  return shared.empty() ? shared : shared / "bmpsuite";
}

std::filesystem::path binary_dir() { return VELLICOR_TEST_BINARY_DIR; }
std::filesystem::path library_dir() { return VELLICOR_TEST_LIBRARY_DIR; }
std::filesystem::path source_dir() { return VELLICOR_TEST_SOURCE_DIR; }

}  // namespace vellicor::test
