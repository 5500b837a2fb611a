// Memory the BMP loader takes for pixel data, measured by replacing the array
// allocation functions of this test program: a picture that declares far more
// pixel bytes than its file holds must cost no more than the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "tests/engine/loaded_picture.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

// Largest array allocation asked for while measuring is on. The loader takes
// its pixel buffer with new[], the only array allocation of a load.
bool measuring = false;
std::size_t largest_array_request = 0;

void* allocate_array(std::size_t bytes) {
  if (measuring && bytes > largest_array_request) largest_array_request = bytes;
  return std::malloc(bytes == 0 ? 1 : bytes);
}

}  // namespace

void* operator new[](std::size_t bytes) {
  void* block = allocate_array(bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
  return allocate_array(bytes);
}
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace vellicor {
namespace {

constexpr std::uint32_t kHugeDeclaredSize = 0x7FEEDDCC;

// Loads path and returns the largest array the load allocated.
std::size_t largest_allocation_loading(FileSystem& fs, const std::string& path,
                                       std::uint32_t* delivered) {
  largest_array_request = 0;
  measuring = true;
  const test::LoadedPicture loaded = test::load_picture(fs, path);
  measuring = false;
  EXPECT_EQ(to_int(loaded.result), 0);
  *delivered = loaded.pixels.delivered_bytes;
  return largest_array_request;
}

TEST(BmpLoaderMemory, HugeDeclaredSizeCostsOnlyTheFileBytes) {
  std::vector<std::uint8_t> bytes = test::make_one_bit_bmp({"#..#", ".##."});
  test::put_u32(bytes, test::kOffBiSizeImage, kHugeDeclaredSize);
  const test::TempDir dir;
  const std::string path = dir.file("huge.bmp");
  test::write_file(path, bytes);

  std::uint32_t delivered = 0;
  const std::size_t largest = largest_allocation_loading(system_file_system(), path, &delivered);
  EXPECT_EQ(delivered, 8u);
  EXPECT_GE(largest, delivered);  // the buffer was seen, so the measure works
  EXPECT_LE(largest, bytes.size());
}

TEST(BmpLoaderMemory, HugeDeclaredSizeOfUnknownSizeFileCostsOneChunk) {
  std::vector<std::uint8_t> bytes = test::make_one_bit_bmp({"#..#", ".##."});
  test::put_u32(bytes, test::kOffBiSizeImage, kHugeDeclaredSize);
  const test::TempDir dir;
  const std::string path = dir.file("huge.bmp");
  test::write_file(path, bytes);

  test::FaultFileSystem fs;
  fs.fail_call(test::FileCall::kSize, 1);
  std::uint32_t delivered = 0;
  const std::size_t largest = largest_allocation_loading(fs, path, &delivered);
  EXPECT_EQ(delivered, 8u);
  EXPECT_GE(largest, delivered);
  EXPECT_LE(largest, 64u * 1024u);
}

TEST(BmpLoaderMemory, BadBitsSizeOfSuiteCostsAboutOneKibibyte) {
  const std::filesystem::path shared = test::shared_data_dir();
  if (shared.empty()) GTEST_SKIP() << "shared BMP Suite folder not found beside the project";
  std::uint32_t delivered = 0;
  const std::size_t largest = largest_allocation_loading(
      system_file_system(), (shared / "bmpsuite/b/badbitssize.bmp").string(), &delivered);
  EXPECT_EQ(delivered, 1024u);
  EXPECT_GE(largest, delivered);  // the buffer was seen, so the measure works
  EXPECT_LE(largest, 1086u);
}

}  // namespace
}  // namespace vellicor
