// The BMP loader on every file of the shared BMP Suite: the outcome listed for
// each file in the suite's README, written here literally.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/engine/loaded_picture.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

enum InkCheck { kNoInk, kInkFound };

struct SuiteCase {
  const char* file;
  struct Outcome {
    bool loads;
    std::vector<int> ink_indices;  // when it loads
    InkCheck ink_check;            // when it loads
    ErrorDetail detail;            // when refused
    ResultCode result;             // when refused
  } outcome;
};

// Names the row in test listings.
void PrintTo(const SuiteCase& row, std::ostream* out) { test::print_label(out, {row.file}); }

SuiteCase::Outcome loads(std::vector<int> ink_indices, InkCheck ink_check) {
  return {true, std::move(ink_indices), ink_check, ErrorDetail::kNone, ResultCode::kOk};
}

SuiteCase::Outcome refused(ErrorDetail detail, ResultCode result) {
  return {false, {}, kNoInk, detail, result};
}

constexpr ErrorDetail kNotBmp = ErrorDetail::kNotBmp;
constexpr ErrorDetail kUnsupported = ErrorDetail::kUnsupported;
constexpr ErrorDetail kUnusable = ErrorDetail::kUnusableContent;
constexpr ResultCode kInput = ResultCode::kUnusableInput;
constexpr ResultCode kFile = ResultCode::kFileAccess;

const std::vector<SuiteCase>& suite_cases() {
  // clang-format off
  static const std::vector<SuiteCase> cases = {
    {"g/pal1.bmp", loads({0}, kInkFound)},
    {"g/pal1bg.bmp", refused(kUnusable, kInput)},
    {"g/pal1wb.bmp", loads({1}, kInkFound)},
    {"g/pal4.bmp", refused(kUnsupported, kFile)},
    {"g/pal4gs.bmp", refused(kUnsupported, kFile)},
    {"g/pal4rle.bmp", refused(kUnsupported, kFile)},
    {"g/pal8-0.bmp", refused(kUnsupported, kFile)},
    {"g/pal8.bmp", refused(kUnsupported, kFile)},
    {"g/pal8gs.bmp", refused(kUnsupported, kFile)},
    {"g/pal8nonsquare.bmp", refused(kUnsupported, kFile)},
    {"g/pal8os2.bmp", refused(kUnsupported, kFile)},
    {"g/pal8rle.bmp", refused(kUnsupported, kFile)},
    {"g/pal8topdown.bmp", refused(kUnsupported, kFile)},
    {"g/pal8v4.bmp", refused(kUnsupported, kFile)},
    {"g/pal8v5.bmp", refused(kUnsupported, kFile)},
    {"g/pal8w124.bmp", refused(kUnsupported, kFile)},
    {"g/pal8w125.bmp", refused(kUnsupported, kFile)},
    {"g/pal8w126.bmp", refused(kUnsupported, kFile)},
    {"g/rgb16-565.bmp", refused(kUnsupported, kFile)},
    {"g/rgb16-565pal.bmp", refused(kUnsupported, kFile)},
    {"g/rgb16.bmp", refused(kUnsupported, kFile)},
    {"g/rgb16bfdef.bmp", refused(kUnsupported, kFile)},
    {"g/rgb24.bmp", refused(kUnsupported, kFile)},
    {"g/rgb24pal.bmp", refused(kUnsupported, kFile)},
    {"g/rgb32.bmp", refused(kUnsupported, kFile)},
    {"g/rgb32bf.bmp", refused(kUnsupported, kFile)},
    {"g/rgb32bfdef.bmp", refused(kUnsupported, kFile)},
    {"q/pal1huffmsb.bmp", refused(kUnsupported, kFile)},
    {"q/pal1p1.bmp", refused(kUnusable, kInput)},
    {"q/pal2.bmp", refused(kUnsupported, kFile)},
    {"q/pal2color.bmp", refused(kUnsupported, kFile)},
    {"q/pal4rlecut.bmp", refused(kUnsupported, kFile)},
    {"q/pal4rletrns.bmp", refused(kUnsupported, kFile)},
    {"q/pal8offs.bmp", refused(kUnsupported, kFile)},
    {"q/pal8os2-hs.bmp", refused(kUnsupported, kFile)},
    {"q/pal8os2-sz.bmp", refused(kUnsupported, kFile)},
    {"q/pal8os2sp.bmp", refused(kUnsupported, kFile)},
    {"q/pal8os2v2-16.bmp", refused(kUnsupported, kFile)},
    {"q/pal8os2v2-40sz.bmp", refused(kUnsupported, kFile)},
    {"q/pal8os2v2-sz.bmp", refused(kUnsupported, kFile)},
    {"q/pal8os2v2.bmp", refused(kUnsupported, kFile)},
    {"q/pal8oversizepal.bmp", refused(kUnsupported, kFile)},
    {"q/pal8rlecut.bmp", refused(kUnsupported, kFile)},
    {"q/pal8rletrns.bmp", refused(kUnsupported, kFile)},
    {"q/rgb16-231.bmp", refused(kUnsupported, kFile)},
    {"q/rgb16-3103.bmp", refused(kUnsupported, kFile)},
    {"q/rgb16faketrns.bmp", refused(kUnsupported, kFile)},
    {"q/rgb24jpeg.bmp", refused(kUnsupported, kFile)},
    {"q/rgb24largepal.bmp", refused(kUnsupported, kFile)},
    {"q/rgb24lprof.bmp", refused(kUnsupported, kFile)},
    {"q/rgb24png.bmp", refused(kUnsupported, kFile)},
    {"q/rgb24rle24.bmp", refused(kUnsupported, kFile)},
    {"q/rgb32-111110.bmp", refused(kUnsupported, kFile)},
    {"q/rgb32-7187.bmp", refused(kUnsupported, kFile)},
    {"q/rgb32-xbgr.bmp", refused(kUnsupported, kFile)},
    {"q/rgb32fakealpha.bmp", refused(kUnsupported, kFile)},
    {"q/rgb32h52.bmp", refused(kUnsupported, kFile)},
    {"q/rgba16-1924.bmp", refused(kUnsupported, kFile)},
    {"q/rgba16-4444.bmp", refused(kUnsupported, kFile)},
    {"q/rgba16-5551.bmp", refused(kUnsupported, kFile)},
    {"q/rgba32-1.bmp", refused(kUnsupported, kFile)},
    {"q/rgba32-1010102.bmp", refused(kUnsupported, kFile)},
    {"q/rgba32-2.bmp", refused(kUnsupported, kFile)},
    {"q/rgba32-61754.bmp", refused(kUnsupported, kFile)},
    {"q/rgba32-81284.bmp", refused(kUnsupported, kFile)},
    {"q/rgba32abf.bmp", refused(kUnsupported, kFile)},
    {"q/rgba32h56.bmp", refused(kUnsupported, kFile)},
    {"q/rgba64.bmp", refused(kUnsupported, kFile)},
    {"b/badbitcount.bmp", refused(kUnsupported, kFile)},
    {"b/badbitssize.bmp", loads({0}, kNoInk)},
    {"b/baddens1.bmp", loads({0}, kInkFound)},
    {"b/baddens2.bmp", loads({0}, kInkFound)},
    {"b/badfilesize.bmp", loads({0}, kInkFound)},
    {"b/badheadersize.bmp", loads({0}, kInkFound)},
    {"b/badpalettesize.bmp", refused(kUnsupported, kFile)},
    {"b/badplanes.bmp", loads({0}, kInkFound)},
    {"b/badrle.bmp", refused(kUnsupported, kFile)},
    {"b/badrle4.bmp", refused(kUnsupported, kFile)},
    {"b/badrle4bis.bmp", refused(kUnsupported, kFile)},
    {"b/badrle4ter.bmp", refused(kUnsupported, kFile)},
    {"b/badrlebis.bmp", refused(kUnsupported, kFile)},
    {"b/badrleter.bmp", refused(kUnsupported, kFile)},
    {"b/badwidth.bmp", refused(kUnusable, kInput)},
    {"b/pal8badindex.bmp", refused(kUnsupported, kFile)},
    {"b/reallybig.bmp", refused(kUnsupported, kFile)},
    {"b/rgb16-880.bmp", refused(kUnsupported, kFile)},
    {"b/rletopdown.bmp", refused(kUnsupported, kFile)},
    {"b/shortfile.bmp", loads({0}, kInkFound)},
    {"x/ba-bm.bmp", refused(kNotBmp, kInput)},
  };
  // clang-format on
  return cases;
}

// "q/pal8os2v2-16.bmp" becomes "QPal8os2v216": test names take letters and digits.
std::string case_name(const testing::TestParamInfo<SuiteCase>& row) {
  std::string name;
  bool word_start = true;
  for (const char* c = row.param.file; *c != '\0' && std::string_view(c) != ".bmp"; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c)) == 0) {
      word_start = true;
      continue;
    }
    name += word_start ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
    word_start = false;
  }
  return name;
}

class BmpSuite : public testing::TestWithParam<SuiteCase> {};

TEST_P(BmpSuite, GivesListedOutcome) {
  if (test::bmp_suite_dir().empty())
    GTEST_SKIP() << "shared BMP Suite folder not found beside the project";
  const SuiteCase::Outcome& expected = GetParam().outcome;
  const test::LoadedPicture loaded =
      test::load_picture(system_file_system(), (test::bmp_suite_dir() / GetParam().file).string());
  if (!expected.loads) {
    EXPECT_EQ(to_int(loaded.result), to_int(expected.result));
    EXPECT_EQ(to_int(loaded.detail), to_int(expected.detail));
    EXPECT_EQ(loaded.pixels.bytes, nullptr);
    return;
  }
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.ink_indices(), expected.ink_indices);
  EXPECT_EQ(test::has_ink_pixel(loaded), expected.ink_check == kInkFound);
}

INSTANTIATE_TEST_SUITE_P(Files, BmpSuite, testing::ValuesIn(suite_cases()), case_name);

TEST(BmpSuiteFiles, EveryFileHasARow) {
  if (test::bmp_suite_dir().empty())
    GTEST_SKIP() << "shared BMP Suite folder not found beside the project";
  std::vector<std::string> listed;
  for (const SuiteCase& row : suite_cases()) listed.emplace_back(row.file);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(test::bmp_suite_dir())) {
    if (entry.path().extension() != ".bmp") continue;
    const std::string relative =
        entry.path().lexically_relative(test::bmp_suite_dir()).generic_string();
    EXPECT_NE(std::find(listed.begin(), listed.end(), relative), listed.end()) << relative;
  }
}

// The file declares about 2 GiB of pixels; only the bytes it holds are kept.
TEST(BmpSuiteFiles, BadBitsSizeHoldsOnlyTheDeliveredBytes) {
  if (test::bmp_suite_dir().empty())
    GTEST_SKIP() << "shared BMP Suite folder not found beside the project";
  const test::LoadedPicture loaded = test::load_picture(
      system_file_system(), (test::bmp_suite_dir() / "b/badbitssize.bmp").string());
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biSizeImage, 2129587950u);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 1086u - 62u);
}

// The 66-byte header puts the palette at 80; the pixels are the suite's
// usual picture and match the one with the plain 40-byte header.
TEST(BmpSuiteFiles, BadHeaderSizeMatchesPlainPicture) {
  if (test::bmp_suite_dir().empty())
    GTEST_SKIP() << "shared BMP Suite folder not found beside the project";
  const test::LoadedPicture longer = test::load_picture(
      system_file_system(), (test::bmp_suite_dir() / "b/badheadersize.bmp").string());
  const test::LoadedPicture plain =
      test::load_picture(system_file_system(), (test::bmp_suite_dir() / "g/pal1.bmp").string());
  ASSERT_EQ(to_int(longer.result), 0);
  ASSERT_EQ(to_int(plain.result), 0);
  EXPECT_EQ(test::ink_rows(longer), test::ink_rows(plain));
}

}  // namespace
}  // namespace vellicor
