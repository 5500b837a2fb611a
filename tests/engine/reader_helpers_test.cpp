// The primitives the picture readers share: byte order, checked sizes, row
// strides, and reading a file until a count of bytes has arrived.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/core/byte_order.hpp"
#include "engine/core/checked_size.hpp"
#include "engine/core/row_stride.hpp"
#include "engine/io/input_stream.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();

TEST(ByteOrder, LoadsLittleAndBigEndianNumbers) {
  constexpr std::array<std::uint8_t, 4> kBytes = {0x01, 0x82, 0x43, 0xF4};
  EXPECT_EQ(load_u16_le(kBytes.data()), 0x8201u);
  EXPECT_EQ(load_u24_le(kBytes.data()), 0x438201u);
  EXPECT_EQ(load_u32_le(kBytes.data()), 0xF4438201u);
  EXPECT_EQ(load_u32_be(kBytes.data()), 0x018243F4u);
}

TEST(ByteOrder, FieldsPastTheEndReadAsZero) {
  // A BMP width of -2 and height of 3, then a file that ends mid-field.
  const std::vector<std::uint8_t> bytes = {0xFE, 0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x34};
  const LittleEndianBytes fields(bytes);
  EXPECT_EQ(fields.i32(0), -2);
  EXPECT_EQ(fields.u32(0), 0xFFFFFFFEu);
  EXPECT_EQ(fields.u32(4), 3u);
  EXPECT_EQ(fields.u16(7), 0x3400u);
  EXPECT_EQ(fields.u32(8), 0x34u);  // three bytes missing
  EXPECT_EQ(fields.u16(9), 0u);
  EXPECT_EQ(fields.u32(std::numeric_limits<std::size_t>::max() - 1), 0u);  // wraps nowhere
}

TEST(CheckedSize, RefusesExactlyWhatDoesNotFit) {
  std::uint64_t result = 7;
  EXPECT_TRUE(checked_multiply(std::uint64_t{1} << 32, (std::uint64_t{1} << 32) - 1, result));
  EXPECT_EQ(result, (std::uint64_t{1} << 32) * ((std::uint64_t{1} << 32) - 1));
  EXPECT_TRUE(checked_multiply(0, kMax64, result));
  EXPECT_EQ(result, 0u);

  result = 7;
  EXPECT_FALSE(checked_multiply(std::uint64_t{1} << 32, std::uint64_t{1} << 32, result));
  EXPECT_FALSE(checked_multiply(3, kMax64 / 3 + 1, result));
  EXPECT_FALSE(checked_add(kMax64, 1, result));
  EXPECT_EQ(result, 7u);  // untouched on refusal

  EXPECT_TRUE(checked_add(kMax64 - 1, 1, result));
  EXPECT_EQ(result, kMax64);

  EXPECT_EQ(saturating_multiply(kMax64 / 2, 3), kMax64);
  EXPECT_EQ(saturating_add(kMax64, kMax64), kMax64);
  EXPECT_EQ(saturating_add(40, 2), 42u);
}

TEST(RowStride, PadsToWholeWords) {
  struct Case {
    std::uint64_t width_px;
    std::uint64_t bits_per_pixel;
    std::uint64_t stride_bytes;
  };
  const std::array<Case, 6> cases = {{
      {1, 1, 4},
      {32, 1, 4},
      {33, 1, 8},
      {9, 4, 8},
      {5, 24, 16},
      {std::uint64_t{1} << 31, 32, std::uint64_t{1} << 33},
  }};
  for (const Case& row : cases) {
    std::uint64_t stride = 0;
    ASSERT_TRUE(padded_row_bytes(row.width_px, row.bits_per_pixel, stride));
    EXPECT_EQ(stride, row.stride_bytes) << row.width_px << " x " << row.bits_per_pixel;
  }
  std::uint64_t stride = 99;
  EXPECT_FALSE(padded_row_bytes(kMax64 / 2, 3, stride));
  EXPECT_FALSE(padded_row_bytes(kMax64, 1, stride));  // the rounding itself would wrap
  EXPECT_EQ(stride, 99u);
}

// Hands out at most three bytes per read call, as a pipe may.
class TricklingFileSystem : public test::FaultFileSystem {
 public:
  bool read(FileHandle file, void* buffer, std::size_t count, std::size_t* bytes_read) override {
    return FaultFileSystem::read(file, buffer, count < 3 ? count : 3, bytes_read);
  }
};

class ReadFully : public testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("ten.bin");
    test::write_file(path_, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  }
  test::TempDir dir_;
  std::string path_;
  TricklingFileSystem fs_;
};

TEST_F(ReadFully, GathersShortReadsUntilTheCountOrTheEnd) {
  InputFile file(fs_, fs_.open_for_reading(path_.c_str()));
  ASSERT_TRUE(file.is_open());
  std::array<std::uint8_t, 16> out{};
  std::size_t got = 0;
  ASSERT_TRUE(read_fully(fs_, file.handle(), out.data(), 7, &got));
  EXPECT_EQ(got, 7u);
  EXPECT_EQ(fs_.calls(test::FileCall::kRead), 3);
  EXPECT_EQ(out[6], 6);
  EXPECT_EQ(out[7], 0);  // nothing past the count

  // Three bytes are left: the end of the file stops the reading, no failure.
  ASSERT_TRUE(read_fully(fs_, file.handle(), out.data(), out.size(), &got));
  EXPECT_EQ(got, 3u);
  EXPECT_EQ(out[0], 7);
  EXPECT_EQ(out[2], 9);
}

TEST_F(ReadFully, AFailedReadCallFailsAndLeavesTheCount) {
  InputFile file(fs_, fs_.open_for_reading(path_.c_str()));
  ASSERT_TRUE(file.is_open());
  fs_.fail_call(test::FileCall::kRead, 2);
  std::array<std::uint8_t, 10> out{};
  std::size_t got = 99;
  EXPECT_FALSE(read_fully(fs_, file.handle(), out.data(), out.size(), &got));
  EXPECT_EQ(got, 99u);
}

}  // namespace
}  // namespace vellicor
