// Runs a fuzz target over files instead of under libFuzzer, so any compiler's
// build replays the corpora and the kept crashers as ordinary tests.
//
// Usage: <target>_replay PATH...  Each PATH is a file or a folder whose files
// (in sorted order, folders below included) are each run once.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

bool run_file(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) {
    static_cast<void>(std::fprintf(stderr, "cannot read %s\n", path.string().c_str()));
    return false;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)),
                                std::istreambuf_iterator<char>());
  // A copy of exactly the input's size, so reads past its end are caught.
  std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
  input.shrink_to_fit();
  static_cast<void>(std::fprintf(stderr, "running %s\n", path.string().c_str()));
  LLVMFuzzerTestOneInput(input.data(), input.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  std::size_t runs = 0;
  for (int index = 1; index < argc; ++index) {
    const std::filesystem::path root = argv[index];
    std::error_code error;
    if (std::filesystem::is_directory(root, error)) {
      std::vector<std::filesystem::path> paths;
      for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file()) paths.push_back(entry.path());
      }
      std::sort(paths.begin(), paths.end());
      for (const auto& path : paths) {
        if (!run_file(path)) return 1;
        ++runs;
      }
    } else {
      if (!run_file(root)) return 1;
      ++runs;
    }
  }
  static_cast<void>(std::printf("replayed %zu inputs\n", runs));
  return runs > 0 ? 0 : 1;
}
