// The Converter object: factory, reference count, query and the object's layout.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/converter_factory.hpp"

namespace vellicor {
namespace {

// The identifier just above the accepted range, and just below it.
constexpr ConverterIid kIidAboveConverter = 0x83726782u;
constexpr ConverterIid kIidBelowBase = 0x8372677Fu;

// Owns one reference for the test and gives it back at the end.
class ConverterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(create_converter(0, IidConverter, &object_), ResultCode::kOk); }
  void TearDown() override {
    if (object_ != nullptr) {
      EXPECT_EQ(object_->ops->release(object_), 0);
    }
  }
  Converter* object_ = nullptr;
};

TEST(ConverterFactory, RefusesBaseIdentifierAndLeavesResultNull) {
  Converter* object = reinterpret_cast<Converter*>(static_cast<std::uintptr_t>(1));
  EXPECT_EQ(create_converter(0, IidBase, &object), ResultCode::kNoInterface);
  EXPECT_EQ(object, nullptr);
}

TEST(ConverterFactory, RefusesNullResultPointer) {
  EXPECT_EQ(create_converter(0, IidConverter, nullptr), ResultCode::kBadArgument);
}

// A host that knows only the layout reads each operation from its word of
// the object and calls it: each word must hold the operation of its place.
template <class Function>
Function word_as(const Converter* object, std::size_t word) {
  Function function = nullptr;
  std::memcpy(&function, reinterpret_cast<const unsigned char*>(object) + word * sizeof(void*),
              sizeof function);
  return function;
}

TEST_F(ConverterTest, OpsPointsAtTheObjectsThirdWordAndEachWordIsItsOperation) {
  const auto* words = reinterpret_cast<const std::uintptr_t*>(object_);
  EXPECT_EQ(words[0], reinterpret_cast<std::uintptr_t>(&words[2]));
  EXPECT_EQ(sizeof(Converter), 6 * sizeof(void*));
  const auto retain = word_as<decltype(ConverterOps::retain)>(object_, 2);
  const auto release = word_as<decltype(ConverterOps::release)>(object_, 3);
  const auto query = word_as<decltype(ConverterOps::query)>(object_, 4);
  const auto convert = word_as<decltype(ConverterOps::convert)>(object_, 5);
  ASSERT_TRUE(retain != nullptr && release != nullptr && query != nullptr && convert != nullptr);

  EXPECT_EQ(retain(object_), 2);
  EXPECT_EQ(release(object_), 1);
  Converter* same = nullptr;
  EXPECT_EQ(query(object_, IidBase, &same), 0);
  EXPECT_EQ(same, object_);
  EXPECT_EQ(release(object_), 1);  // gives back the reference the query handed out
  std::int32_t detail = 0;
  EXPECT_EQ(convert(object_, nullptr, nullptr, &detail), -2);  // null records are refused
  EXPECT_EQ(detail, 0);
}

TEST_F(ConverterTest, RetainAndReleaseCountTwoOneZero) {
  EXPECT_EQ(object_->ops->retain(object_), 2);
  EXPECT_EQ(object_->ops->release(object_), 1);
  EXPECT_EQ(object_->ops->release(object_), 0);
  object_ = nullptr;  // freed by the last release
}

TEST(ConverterSlots, RetainAndReleaseAcceptNull) {
  Converter* object = nullptr;
  ASSERT_EQ(create_converter(0, IidConverter, &object), ResultCode::kOk);
  const ConverterOps ops = *object->ops;
  EXPECT_EQ(ops.release(object), 0);
  EXPECT_EQ(ops.retain(nullptr), 0);
  EXPECT_EQ(ops.release(nullptr), 0);
}

struct QueryCase {
  const char* name;
  ConverterIid iid;
  bool null_self;
  std::int32_t result;
  bool hands_back_self;
};

// Names the row in test listings.
void PrintTo(const QueryCase& row, std::ostream* out) { test::print_label(out, {row.name}); }

class ConverterQuery : public ConverterTest, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(ConverterQuery, ResultOutAndCountFollowTheRules) {
  const QueryCase& row = GetParam();
  Converter* self = row.null_self ? nullptr : object_;
  Converter* out = object_;  // overwritten by every call that gets that far
  EXPECT_EQ(object_->ops->query(self, row.iid, &out), row.result);
  EXPECT_EQ(out, row.hands_back_self ? object_ : nullptr);
  // A successful query retained the object; a failed one left the count alone.
  const std::int32_t expected_count = row.result == 0 ? 3 : 2;
  EXPECT_EQ(object_->ops->retain(object_), expected_count);
  EXPECT_EQ(object_->ops->release(object_), expected_count - 1);
  if (row.result == 0) {
    EXPECT_EQ(object_->ops->release(object_), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ConverterQuery,
    ::testing::Values(QueryCase{"Converter", IidConverter, false, 0, true},
                      QueryCase{"Base", IidBase, false, 0, true},
                      QueryCase{"AboveConverter", kIidAboveConverter, false, -14, false},
                      QueryCase{"BelowBase", kIidBelowBase, false, -14, false},
                      QueryCase{"Zero", 0u, false, -14, false},
                      QueryCase{"NullSelf", IidConverter, true, -1, false},
                      QueryCase{"NullSelfBadIid", kIidAboveConverter, true, -14, false}),
    [](const ::testing::TestParamInfo<QueryCase>& row) { return std::string(row.param.name); });

TEST_F(ConverterTest, QueryWithNullResultPointerWritesNothing) {
  EXPECT_EQ(object_->ops->query(object_, IidConverter, nullptr), -2);
  EXPECT_EQ(object_->ops->retain(object_), 2);
  EXPECT_EQ(object_->ops->release(object_), 1);
}

TEST_F(ConverterTest, ConvertLeavesDetailAloneWhenTheFailureGivesNone) {
  ConversionOptions options{};
  ::ErrorDetail detail = 12345;
  EXPECT_EQ(object_->ops->convert(object_, nullptr, &options, &detail), -2);
  EXPECT_EQ(detail, 12345);
}

TEST_F(ConverterTest, ConvertPassesTheFailuresDetailOut) {
  test::TempDir dir;
  const std::string input = dir.file("missing.bmp");
  const std::string output = dir.file("font.bdf");
  const ConversionPaths paths{input.c_str(), output.c_str()};
  ConversionOptions options{};
  ::ErrorDetail detail = 0;
  EXPECT_EQ(object_->ops->convert(object_, &paths, &options, &detail), -6);
  EXPECT_EQ(detail, -2);
  EXPECT_EQ(object_->ops->convert(object_, &paths, &options, nullptr), -6);
  EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
}  // namespace vellicor
