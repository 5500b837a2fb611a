// The output-name rule.
#include "vellicor/internal/output_name.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "tests/support/param_label.hpp"

namespace vellicor::test {
namespace {

struct NameCase {
  std::string input;
  std::string output;  // empty: the name cannot be made
};

// Names the row in test listings.
// Long paths are shown by their ends and length.
std::string shown(const std::string& path) {
  constexpr std::size_t kShownWhole = 32;
  constexpr std::size_t kShownEnd = 8;
  if (path.size() <= kShownWhole) return path;
  return path.substr(0, kShownEnd) + "..." + path.substr(path.size() - kShownEnd) + "-" +
         std::to_string(path.size()) + "-chars";
}

void PrintTo(const NameCase& row, std::ostream* out) {
  print_label(out, {shown(row.input), "to", row.output.empty() ? "refused" : shown(row.output)});
}

class DeriveBdfName : public ::testing::TestWithParam<NameCase> {};

TEST_P(DeriveBdfName, ReplacesExtension) {
  char buffer[kPathBufferSize];
  std::memset(buffer, '#', sizeof buffer);
  ErrorDetail detail = ErrorDetail::kNone;
  const ResultCode result = derive_bdf_name(GetParam().input.c_str(), buffer, &detail);
  if (GetParam().output.empty()) {
    EXPECT_EQ(result, ResultCode::kFileAccess);
    EXPECT_EQ(detail, ErrorDetail::kNameTooLong);
  } else {
    ASSERT_EQ(result, ResultCode::kOk);
    EXPECT_EQ(std::string(buffer), GetParam().output);
    EXPECT_EQ(detail, ErrorDetail::kNone);
  }
}

const std::string k255(255, 'n');

// A backslash after the last '/': only Windows reads it as a separator too.
#ifdef _WIN32
constexpr char kMixedSeparatorsName[] = "a/b.c\\d.bdf";
#else
constexpr char kMixedSeparatorsName[] = "a/b.bdf";
#endif

INSTANTIATE_TEST_SUITE_P(
    Table, DeriveBdfName,
    ::testing::Values(NameCase{"C:\\fonts\\strip.bmp", "C:\\fonts\\strip.bdf"},
                      NameCase{"dir.old/font", "dir.old/font.bdf"},
                      NameCase{"dir.old\\font", "dir.old\\font.bdf"}, NameCase{"name.", "name.bdf"},
                      NameCase{".bmp", ".bdf"}, NameCase{"a/b.c\\d", kMixedSeparatorsName},
                      NameCase{"strip.tar.bmp", "strip.tar.bdf"}, NameCase{"plain", "plain.bdf"},
                      NameCase{std::string(255, 'a'), std::string(255, 'a') + ".bdf"},
                      NameCase{std::string(251, 'a') + ".bmp", std::string(251, 'a') + ".bdf"},
                      NameCase{std::string(256, 'a'), std::string(255, 'a') + ".bdf"},
                      NameCase{std::string(259, 'a'), std::string(255, 'a') + ".bdf"},
                      NameCase{std::string(253, 'd') + "/" + std::string(5, 'f'),
                               std::string(253, 'd') + "/f.bdf"},
                      NameCase{std::string(254, 'd') + "/" + std::string(4, 'f'), ""},
                      NameCase{std::string(254, 'd') + "\\" + std::string(4, 'f'), ""}));

TEST(DeriveBdfName, ToleratesNullDetail) {
  char buffer[kPathBufferSize];
  const std::string input = std::string(254, 'd') + "/" + std::string(4, 'f');
  EXPECT_EQ(derive_bdf_name(input.c_str(), buffer, nullptr), ResultCode::kFileAccess);
}

}  // namespace
}  // namespace vellicor::test
