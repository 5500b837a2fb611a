// The public header compiles as C and as C++ and both agree on the object.
#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>

#include "vellicor/vellicor.h"

extern "C" int vellicor_c_header_check(void);

namespace {

TEST(PublicHeader, CompilesAsCWithTheSameLayout) { EXPECT_EQ(vellicor_c_header_check(), 0); }

TEST(PublicHeader, CompilesAsCxxWithTheSameLayout) {
  static_assert(std::is_standard_layout_v<Converter>);
  static_assert(std::is_same_v<ResultCode, std::int32_t>);
  static_assert(std::is_same_v<ErrorDetail, std::int32_t>);
  EXPECT_EQ(offsetof(Converter, slots), 2 * sizeof(void*));
  EXPECT_EQ(sizeof(Converter), 6 * sizeof(void*));
  EXPECT_EQ(offsetof(ConversionOptions, first_glyph), sizeof(void*));
}

}  // namespace
