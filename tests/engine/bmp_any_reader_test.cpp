// The any-depth BMP reader: every file of the shared BMP Suite, checked
// against Pillow as an independent decoder where it reads the file alike,
// and RLE data built to be absurd.
#include "engine/picture/bmp_any_reader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/bmp_reference_ink.hpp"
#include "tests/engine/ink_map_text.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

// What a file of the suite must give in the extended reading.
struct SuiteOutcome {
  const char* file;
  // Loads: the size; refused: 0 x 0 and the detail.
  std::uint32_t width_px;
  std::uint32_t height_px;
  ErrorDetail detail;
  // Loads: whose black pixels its ink must equal. "pillow": Pillow's reading
  // of the same file; "reference": the plain reading of
  // tests/engine/bmp_reference_ink (where Pillow has no reading or another
  // one); a suite file: that file's ink as this reader gives it.
  const char* same_as;
};

// Names the row in test listings.
void PrintTo(const SuiteOutcome& row, std::ostream* out) { test::print_label(out, {row.file}); }

constexpr ErrorDetail kLoads = ErrorDetail::kNone;

// clang-format off
const std::vector<SuiteOutcome> kSuite = {
    {"b/badbitcount.bmp", 0, 0, ErrorDetail::kUnsupported, ""},
    {"b/badbitssize.bmp", 127, 64, kLoads, "pillow"},
    {"b/baddens1.bmp", 127, 64, kLoads, "pillow"},
    {"b/baddens2.bmp", 127, 64, kLoads, "pillow"},
    {"b/badfilesize.bmp", 127, 64, kLoads, "pillow"},
    {"b/badheadersize.bmp", 127, 64, kLoads, "g/pal1.bmp"},
    {"b/badpalettesize.bmp", 127, 64, kLoads, "g/pal8.bmp"},
    {"b/badplanes.bmp", 127, 64, kLoads, "pillow"},
    // RLE codes that jump past the picture's edge.
    {"b/badrle.bmp", 0, 0, ErrorDetail::kBmpBadData, ""},
    {"b/badrle4.bmp", 0, 0, ErrorDetail::kBmpBadData, ""},
    {"b/badrle4bis.bmp", 0, 0, ErrorDetail::kBmpBadData, ""},
    {"b/badrle4ter.bmp", 0, 0, ErrorDetail::kBmpBadData, ""},
    {"b/badrlebis.bmp", 0, 0, ErrorDetail::kBmpBadData, ""},
    {"b/badrleter.bmp", 0, 0, ErrorDetail::kBmpBadData, ""},
    {"b/badwidth.bmp", 0, 0, ErrorDetail::kUnusableContent, ""},
    // Indices past the palette are black: more ink than the good picture.
    {"b/pal8badindex.bmp", 127, 64, kLoads, "reference"},
    {"b/reallybig.bmp", 0, 0, ErrorDetail::kPictureTooLarge, ""},
    {"b/rgb16-880.bmp", 127, 64, kLoads, "reference"},
    // RLE pictures are stored bottom-up by definition.
    {"b/rletopdown.bmp", 0, 0, ErrorDetail::kUnusableContent, ""},
    // Rows the file does not hold are paper.
    {"b/shortfile.bmp", 127, 64, kLoads, "reference"},
    {"g/pal1.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal1bg.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal1wb.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal4.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal4gs.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal4rle.bmp", 127, 64, kLoads, "g/pal4.bmp"},
    {"g/pal8-0.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8gs.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8nonsquare.bmp", 127, 32, kLoads, "pillow"},
    {"g/pal8os2.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8rle.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8topdown.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8v4.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8v5.bmp", 127, 64, kLoads, "pillow"},
    {"g/pal8w124.bmp", 124, 61, kLoads, "pillow"},
    {"g/pal8w125.bmp", 125, 62, kLoads, "pillow"},
    {"g/pal8w126.bmp", 126, 63, kLoads, "pillow"},
    {"g/rgb16-565.bmp", 127, 64, kLoads, "pillow"},
    {"g/rgb16-565pal.bmp", 127, 64, kLoads, "pillow"},
    {"g/rgb16.bmp", 127, 64, kLoads, "pillow"},
    {"g/rgb16bfdef.bmp", 127, 64, kLoads, "pillow"},
    {"g/rgb24.bmp", 127, 64, kLoads, "pillow"},
    {"g/rgb24pal.bmp", 127, 64, kLoads, "pillow"},
    {"g/rgb32.bmp", 127, 64, kLoads, "pillow"},
    {"g/rgb32bf.bmp", 127, 64, kLoads, "g/rgb32.bmp"},
    {"g/rgb32bfdef.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal1huffmsb.bmp", 0, 0, ErrorDetail::kUnsupported, ""},
    {"q/pal1p1.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal2.bmp", 127, 64, kLoads, "reference"},
    {"q/pal2color.bmp", 127, 64, kLoads, "q/pal2.bmp"},
    // Cut short: the rows that remain are those of the whole picture.
    {"q/pal4rlecut.bmp", 127, 64, kLoads, "reference"},
    // Pixels the codes skip are paper.
    {"q/pal4rletrns.bmp", 127, 64, kLoads, "g/pal4.bmp"},
    {"q/pal8offs.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal8os2-hs.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal8os2-sz.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal8os2sp.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal8os2v2-16.bmp", 127, 64, kLoads, "g/pal8.bmp"},
    {"q/pal8os2v2-40sz.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal8os2v2-sz.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal8os2v2.bmp", 127, 64, kLoads, "pillow"},
    {"q/pal8oversizepal.bmp", 127, 64, kLoads, "g/pal8.bmp"},
    {"q/pal8rlecut.bmp", 127, 64, kLoads, "reference"},
    {"q/pal8rletrns.bmp", 127, 64, kLoads, "g/pal8.bmp"},
    {"q/rgb16-231.bmp", 127, 64, kLoads, "reference"},
    {"q/rgb16-3103.bmp", 127, 64, kLoads, "reference"},
    {"q/rgb16faketrns.bmp", 127, 64, kLoads, "pillow"},
    {"q/rgb24jpeg.bmp", 0, 0, ErrorDetail::kUnsupported, ""},
    {"q/rgb24largepal.bmp", 127, 64, kLoads, "pillow"},
    {"q/rgb24lprof.bmp", 127, 64, kLoads, "pillow"},
    {"q/rgb24png.bmp", 0, 0, ErrorDetail::kUnsupported, ""},
    {"q/rgb24rle24.bmp", 0, 0, ErrorDetail::kUnsupported, ""},
    {"q/rgb32-111110.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgb32-7187.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgb32-xbgr.bmp", 127, 64, kLoads, "pillow"},
    {"q/rgb32fakealpha.bmp", 127, 64, kLoads, "pillow"},
    {"q/rgb32h52.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgba16-1924.bmp", 127, 64, kLoads, "reference"},
    {"q/rgba16-4444.bmp", 127, 64, kLoads, "reference"},
    {"q/rgba16-5551.bmp", 127, 64, kLoads, "pillow"},
    {"q/rgba32-1.bmp", 127, 64, kLoads, "pillow"},
    {"q/rgba32-1010102.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgba32-2.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgba32-61754.bmp", 127, 64, kLoads, "reference"},
    {"q/rgba32-81284.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgba32abf.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgba32h56.bmp", 127, 64, kLoads, "g/rgb24.bmp"},
    {"q/rgba64.bmp", 0, 0, ErrorDetail::kUnsupported, ""},
    {"x/ba-bm.bmp", 0, 0, ErrorDetail::kNotBmp, ""},
};
// clang-format on

// Pillow's black pixels of every suite file it reads, by file: one Python
// run for the whole suite.
const std::map<std::string, std::vector<std::string>>& pillow_black() {
  static const std::map<std::string, std::vector<std::string>> by_file = [] {
    std::map<std::string, std::vector<std::string>> read;
    const std::string& python = test::python_with_pillow();
    if (python.empty()) return read;
    const test::TempDir dir;
    test::write_text(dir.file("black.py"),
                     "import sys\n"
                     "from PIL import Image\n"
                     "for name in sys.argv[1:]:\n"
                     "    im = Image.open(name).convert('RGBA')\n"
                     "    w, h = im.size\n"
                     "    px = im.load()\n"
                     "    print(name)\n"
                     "    for y in range(h):\n"
                     "        print(''.join('#' if px[x, y] == (0, 0, 0, 255) else '.'"
                     " for x in range(w)))\n"
                     "    print()\n");
    std::string names;
    for (const SuiteOutcome& row : kSuite) {
      if (std::string(row.same_as) == "pillow") names += std::string(" ") + row.file;
    }
    const std::string command = "cd '" + test::bmp_suite_dir().string() + "' && " + python + " '" +
                                dir.file("black.py") + "'" + names + " > '" + dir.file("out.txt") +
                                "'";
    if (!test::shell_succeeds(command)) return read;
    std::istringstream lines(test::read_text(dir.file("out.txt")));
    std::string line;
    std::string file;
    while (std::getline(lines, line)) {
      if (file.empty()) {
        file = line;
      } else if (line.empty()) {
        file.clear();
      } else {
        read[file].push_back(line);
      }
    }
    return read;
  }();
  return by_file;
}

test::ReadPicture read_suite_file(const std::string& file, InkRule rule) {
  test::ReadPicture read;
  read.result =
      read_bmp_any_ink(system_file_system(), (test::bmp_suite_dir() / file).string().c_str(), rule,
                       read.map, &read.detail);
  return read;
}

std::string case_name(const testing::TestParamInfo<SuiteOutcome>& row) {
  std::string name;
  for (const char* c = row.param.file; *c != '\0' && std::string(c) != ".bmp"; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c)) != 0) name += *c;
  }
  return name;
}

class BmpSuiteAnyDepth : public testing::TestWithParam<SuiteOutcome> {};

TEST_P(BmpSuiteAnyDepth, LoadsAsItShowsOrIsRefused) {
  if (test::bmp_suite_dir().empty())
    GTEST_SKIP() << "shared BMP Suite folder not found beside the project";
  const SuiteOutcome& expected = GetParam();
  // Every rule reads the file to the same outcome, within its bounds.
  for (const InkRule rule : {InkRule::kBlack, InkRule::kDark, InkRule::kOpaque, InkRule::kAuto}) {
    const test::ReadPicture read = read_suite_file(expected.file, rule);
    SCOPED_TRACE(static_cast<int>(rule));
    if (expected.detail != kLoads) {
      EXPECT_NE(to_int(read.result), 0);
      EXPECT_EQ(to_int(read.detail), to_int(expected.detail));
      EXPECT_EQ(read.map.pixels.bytes, nullptr);
      continue;
    }
    ASSERT_EQ(to_int(read.result), 0) << "detail " << to_int(read.detail);
    EXPECT_EQ(read.map.width_px, expected.width_px);
    EXPECT_EQ(read.map.height_px, expected.height_px);
  }
  if (expected.detail != kLoads) return;

  const std::vector<std::string> ink =
      test::ink_map_rows(read_suite_file(expected.file, InkRule::kBlack).map);
  const std::string same_as = expected.same_as;
  if (same_as == "pillow") {
    const auto found = pillow_black().find(expected.file);
    if (found == pillow_black().end()) GTEST_SKIP() << "no Python with Pillow to compare with";
    EXPECT_EQ(ink, found->second);
  } else if (same_as == "reference") {
    const std::vector<std::string> reference =
        test::reference_black_rows((test::bmp_suite_dir() / expected.file).string());
    ASSERT_EQ(reference.size(), expected.height_px);
    EXPECT_EQ(ink, reference);
  } else {
    EXPECT_EQ(ink, test::ink_map_rows(read_suite_file(same_as, InkRule::kBlack).map));
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BmpSuiteAnyDepth, testing::ValuesIn(kSuite), case_name);

TEST(BmpSuiteAnyDepthFiles, EveryFileHasARow) {
  if (test::bmp_suite_dir().empty())
    GTEST_SKIP() << "shared BMP Suite folder not found beside the project";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(test::bmp_suite_dir())) {
    if (entry.path().extension() != ".bmp") continue;
    const std::string relative =
        entry.path().lexically_relative(test::bmp_suite_dir()).generic_string();
    bool listed = false;
    for (const SuiteOutcome& row : kSuite) listed = listed || relative == row.file;
    EXPECT_TRUE(listed) << relative;
  }
}

// An 8-bit RLE picture of width x 2 with a palette of black and white,
// followed by codes.
std::vector<std::uint8_t> rle8_picture(std::uint32_t width, std::uint32_t height,
                                       const std::vector<std::uint8_t>& codes) {
  std::vector<std::uint8_t> bytes(54 + 8, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  test::put_u32(bytes, test::kOffBfOffBits, 62);
  test::put_u32(bytes, test::kOffBiSize, 40);
  test::put_u32(bytes, test::kOffBiWidth, width);
  test::put_u32(bytes, test::kOffBiHeight, height);
  test::put_u16(bytes, 26, 1);
  test::put_u16(bytes, test::kOffBiBitCount, 8);
  test::put_u32(bytes, test::kOffBiCompression, 1);
  test::put_u32(bytes, test::kOffBiClrUsed, 2);
  // Entry 0 black, entry 1 white.
  bytes[58] = bytes[59] = bytes[60] = 0xFF;
  bytes.insert(bytes.end(), codes.begin(), codes.end());
  return bytes;
}

TEST(BmpAnyRle, RunsPastTheRowEndAreCutAtTheEdge) {
  // Bottom row: 255 black pixels into a row of 5; top row: 2 white, then
  // 255 black (absolute codes of odd length are padded).
  const std::vector<std::uint8_t> codes = {255, 0, 0, 0, 2, 1, 255, 0, 0, 1};
  const test::ReadPicture read = test::read_ink_bytes(rle8_picture(5, 2, codes), InkRule::kBlack);
  ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
  EXPECT_EQ(test::ink_map_rows(read.map), (std::vector<std::string>{"..###", "#####"}));
}

TEST(BmpAnyRle, AbsurdCodesCostNoMoreThanTheFileAndPicture) {
  // A small picture followed by thousands of maximal runs: they all land
  // past the edge of the one row and are dropped; the end of the data ends
  // the reading.
  std::vector<std::uint8_t> codes;
  for (int i = 0; i < 20000; ++i) codes.insert(codes.end(), {255, 0});
  const test::ReadPicture read = test::read_ink_bytes(rle8_picture(3, 1, codes), InkRule::kBlack);
  ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
  EXPECT_EQ(test::ink_map_rows(read.map), (std::vector<std::string>{"###"}));
}

TEST(BmpAnyRle, JumpPastThePictureIsBrokenData) {
  const std::vector<std::uint8_t> codes = {0, 2, 200, 0, 1, 0};
  const test::ReadPicture read = test::read_ink_bytes(rle8_picture(5, 2, codes), InkRule::kBlack);
  EXPECT_EQ(to_int(read.result), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(to_int(read.detail), to_int(ErrorDetail::kBmpBadData));
}

TEST(BmpAnyLimits, HugeDeclaredPictureIsRefusedBeforeDecoding) {
  // 24-bit, 1,000,000 x 100,000 pixels declared in a file of 60 bytes: the
  // refusal names the size limit, not broken data.
  std::vector<std::uint8_t> bytes = rle8_picture(1000000, 100000, {});
  test::put_u16(bytes, test::kOffBiBitCount, 24);
  test::put_u32(bytes, test::kOffBiCompression, 0);
  const test::ReadPicture read = test::read_ink_bytes(bytes, InkRule::kAuto);
  EXPECT_EQ(to_int(read.result), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(to_int(read.detail), to_int(ErrorDetail::kPictureTooLarge));
}

TEST(BmpAnyLimits, LongestStripOfRealFontsPasses) {
  // 65,536 glyphs of 8 x 16 with two columns between them, as an 8-bit
  // picture holding only its first row: within the limit whatever the file holds.
  std::vector<std::uint8_t> bytes = rle8_picture(65536 * 10, 16, {});
  test::put_u32(bytes, test::kOffBiCompression, 0);
  const test::ReadPicture read = test::read_ink_bytes(bytes, InkRule::kBlack);
  ASSERT_EQ(to_int(read.result), 0) << to_int(read.detail);
  EXPECT_EQ(read.map.width_px, 655360u);
}

}  // namespace
}  // namespace vellicor
