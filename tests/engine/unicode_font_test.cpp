// The extended interface end to end: fonts made with a character list read
// back with FreeType, bdftopcf and fonttosfnt; the list's refusals; the
// factory and query answers; versioned records; the cut's glyph listing.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/converter_factory.hpp"

namespace vellicor::test {
namespace {

// Four glyphs 2, 3, 1 and 4 columns wide, three rows of ink under row 0.
const std::vector<std::string> kRows = {
    "...................",  //
    ".##..###..#..####..",  //
    ".#....#...#..#..#..",  //
    ".##..###..#..####..",  //
};
// The glyphs' first columns and widths.
constexpr std::uint32_t kFirst[] = {1, 5, 10, 13};
constexpr std::uint32_t kWidth[] = {2, 3, 1, 4};
// With no descent the box top is y = 2, so picture row 0 would sit at y = 3.
constexpr int kYOfRow0 = 3;

// e-acute, space, A, a box-drawing line, a face beyond the basic plane and
// the ideographic space: two blanks, four glyphs, not in code order.
const char kList[] = "\u00E9 A\u2500\U0001F600\u3000";

// Owns a ConverterEx for one test.
class ExtendedConverter : public ::testing::Test {
 protected:
  ExtendedConverter() {
    EXPECT_EQ(create_converter_ex(0, &object_), ResultCode::kOk);
    write_file(dir_.file("in.bmp"), make_one_bit_bmp(kRows));
    settings_.size = sizeof settings_;
    settings_.chars = kList;
    report_.size = sizeof report_;
  }
  ~ExtendedConverter() override {
    if (object_ != nullptr) object_->ops->release(object_);
  }

  std::int32_t convert(const ConversionOptions& options, const ConversionSettings* settings) {
    const std::string input = dir_.file("in.bmp");
    const std::string output = dir_.file("out.bdf");
    const ConversionPaths paths{input.c_str(), output.c_str()};
    return object_->ops->convert_ex(object_, &paths, &options, settings, &report_, &detail_);
  }
  std::int32_t convert() { return convert(options_, &settings_); }

  std::string font() const { return read_text(dir_.file("out.bdf")); }
  bool only_the_picture() const { return dir_.entries() == std::vector<std::string>{"in.bmp"}; }

  TempDir dir_;
  ConverterEx* object_ = nullptr;
  ConversionOptions options_{};
  ConversionSettings settings_{};
  ConversionReport report_{};
  ::ErrorDetail detail_ = 0;
};

std::vector<InkPixel> glyph_ink(int glyph) {
  return picture_ink(kRows, kFirst[glyph], kWidth[glyph], 0, kYOfRow0);
}

TEST_F(ExtendedConverter, UnicodeFontReadsBackWithFreeTypeAndTheFontTools) {
  ASSERT_EQ(convert(), 0);
  const std::string path = dir_.file("out.bdf");
  EXPECT_EQ(unicode_charmap(path),
            (std::vector<std::uint32_t>{0x20, 0x41, 0xE9, 0x2500, 0x3000, 0x1F600}));
  // Every listed character renders the ink of its own picture columns; the
  // blanks render nothing.
  EXPECT_TRUE(font_renders_as(path, {{0xE9, glyph_ink(0)},
                                     {0x20, {}},
                                     {0x41, glyph_ink(1)},
                                     {0x2500, glyph_ink(2)},
                                     {0x1F600, glyph_ink(3)},
                                     {0x3000, {}}}));
  // The blanks' advance is the lower median of the advances 1, 2, 3 and 4.
  EXPECT_EQ(unicode_advance(path, 0x20), 2);
  EXPECT_EQ(unicode_advance(path, 0x3000), 2);
  EXPECT_EQ(unicode_advance(path, 0x1F600), 4);
  EXPECT_EQ(bdf_property(path, "CHARSET_REGISTRY"), "ISO10646");
  EXPECT_EQ(bdf_property(path, "CHARSET_ENCODING"), "1");
  EXPECT_EQ(bdf_property(path, "SPACING"), "P");
  EXPECT_EQ(bdf_property(path, "PIXEL_SIZE"), "3");
  EXPECT_EQ(bdf_property(path, "FAMILY_NAME"), "No-Name-Font");
  // Advances 2, 2, 3, 1, 4, 2: a mean of 14/6 pixels, 23 tenths.
  EXPECT_EQ(bdf_property(path, "AVERAGE_WIDTH"), "23");
  EXPECT_EQ(
      lines_with(font(), "STARTCHAR"),
      (std::vector<std::string>{"STARTCHAR uni00E9", "STARTCHAR uni0020", "STARTCHAR uni0041",
                                "STARTCHAR uni2500", "STARTCHAR u1F600", "STARTCHAR uni3000"}));
  EXPECT_EQ(lines_with(font(), "STARTPROPERTIES"), std::vector<std::string>{"STARTPROPERTIES 14"});

  EXPECT_EQ(report_.glyph_count, 6u);
  EXPECT_EQ(report_.glyphs_cut, 4u);
  EXPECT_EQ(report_.characters_listed, 4u);
  EXPECT_EQ(report_.blanks_listed, 2u);
  EXPECT_EQ(report_.picture_width, 19u);

  const ToolVerdict pcf = bdftopcf_verdict(path);
  if (pcf == ToolVerdict::kAbsent) GTEST_SKIP() << "bdftopcf is not installed";
  EXPECT_EQ(pcf, ToolVerdict::kAccepted);
  const std::string otb = dir_.file("out.otb");
  const ToolVerdict sfnt = fonttosfnt_verdict(path, otb);
  if (sfnt == ToolVerdict::kAbsent) GTEST_SKIP() << "fonttosfnt (xfonts-utils) is not installed";
  ASSERT_EQ(sfnt, ToolVerdict::kAccepted);
  // The OpenType bitmap font maps the same code points and keeps the
  // advances. Debian's fonttosfnt writes a character map of the basic plane
  // only, so the face beyond it is not reached there.
  EXPECT_EQ(unicode_charmap(otb), (std::vector<std::uint32_t>{0x20, 0x41, 0xE9, 0x2500, 0x3000}));
  EXPECT_EQ(unicode_advance(otb, 0x20), 2);
  EXPECT_EQ(unicode_advance(otb, 0x2500), 1);
}

TEST_F(ExtendedConverter, FixedWidthFontIsACharacterCellFontWithBlanksOfItsWidth) {
  options_.fixed_width = 1;
  ASSERT_EQ(convert(), 0);
  const std::string path = dir_.file("out.bdf");
  EXPECT_EQ(bdf_property(path, "SPACING"), "C");
  EXPECT_EQ(unicode_advance(path, 0x20), 4);
  EXPECT_EQ(unicode_advance(path, 0x2500), 4);
}

TEST_F(ExtendedConverter, GivenBlankAdvanceIsOnlyTheBlanksAdvance) {
  settings_.blank_advance = 1024;
  ASSERT_EQ(convert(), 0);
  const std::string path = dir_.file("out.bdf");
  EXPECT_EQ(unicode_advance(path, 0x20), 1024);
  EXPECT_EQ(unicode_advance(path, 0x41), 3);
  // A blank glyph has no bitmap at all, so it widens nothing but its advance.
  EXPECT_EQ(lines_with(font(), "FONTBOUNDINGBOX"),
            std::vector<std::string>{"FONTBOUNDINGBOX 4 3 0 0"});
  EXPECT_NE(font().find("STARTCHAR uni0020\nENCODING 32\nSWIDTH 341333 0\nDWIDTH 1024 0\n"
                        "BBX 0 0 0 0\nBITMAP\nENDCHAR\n"),
            std::string::npos);
  EXPECT_TRUE(font_opens_with(path, 6));
}

// The lines of font that do not begin with one of keywords.
std::string without_lines(const std::string& font, const std::vector<std::string>& keywords) {
  std::string kept;
  std::size_t start = 0;
  while (start < font.size()) {
    const std::size_t end = font.find('\n', start) + 1;
    const std::string line = font.substr(start, end - start);
    bool dropped = false;
    for (const std::string& keyword : keywords) dropped = dropped || line.rfind(keyword, 0) == 0;
    if (!dropped) kept += line;
    start = end;
  }
  return kept;
}

TEST_F(ExtendedConverter, WithoutAListTheBitmapsAreThePlainConversions) {
  options_.first_glyph = 0x41;
  ASSERT_EQ(convert(options_, nullptr), 0);
  const std::string extended = font();
  std::filesystem::remove(dir_.file("out.bdf"));
  const std::string input = dir_.file("in.bmp");
  const std::string output = dir_.file("out.bdf");
  const ConversionPaths paths{input.c_str(), output.c_str()};
  ASSERT_EQ(object_->ops->convert(object_, &paths, &options_, nullptr), 0);
  // A strip drawn by the plain rules (nothing in row 0 or at the edges)
  // keeps its glyphs; the point size and the scalable widths follow the
  // box's 3 pixels instead of the widest glyph, and a zero offset is "0".
  EXPECT_EQ(without_lines(extended, {"SIZE", "SWIDTH", "BBX"}),
            without_lines(font(), {"SIZE", "SWIDTH", "BBX"}));
  EXPECT_EQ(lines_with(extended, "SIZE"), std::vector<std::string>{"SIZE 3 75 75"});
  EXPECT_EQ(
      lines_with(extended, "SWIDTH"),
      (std::vector<std::string>{"SWIDTH 667 0", "SWIDTH 1000 0", "SWIDTH 333 0", "SWIDTH 1333 0"}));
  EXPECT_EQ(lines_with(extended, "BBX").front(), "BBX 2 3 0 0");
  EXPECT_EQ(report_.glyph_count, 4u);
}

// One refused list: the detail, and what the report tells.
struct ListRefusal {
  const char* name;
  const char* chars;
  std::int32_t detail;
  std::uint32_t glyphs_cut;         // 0 where the picture is never read
  std::uint32_t characters_listed;  // as reported
  std::uint32_t problem_character;
  std::uint32_t problem_offset;
};

// Names the row in test listings.
void PrintTo(const ListRefusal& row, std::ostream* out) { print_label(out, {row.name}); }

class RefusedList : public ExtendedConverter, public ::testing::WithParamInterface<ListRefusal> {};

TEST_P(RefusedList, IsRefusedWithItsDetailAndWritesNothing) {
  const ListRefusal& row = GetParam();
  settings_.chars = row.chars;
  EXPECT_NE(convert(), 0);
  EXPECT_EQ(detail_, row.detail);
  EXPECT_EQ(report_.glyphs_cut, row.glyphs_cut);
  EXPECT_EQ(report_.characters_listed, row.characters_listed);
  EXPECT_EQ(report_.problem_character, row.problem_character);
  EXPECT_EQ(report_.problem_offset, row.problem_offset);
  EXPECT_TRUE(only_the_picture());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, RefusedList,
    ::testing::Values(
        ListRefusal{"OneTooFew", "ABC", VELLICOR_DETAIL_CHARS_COUNT, 4, 3, 0, 0},
        ListRefusal{"OneTooMany", "AB CDE", VELLICOR_DETAIL_CHARS_COUNT, 4, 5, 0, 0},
        ListRefusal{"Duplicate", "AB\u00E9C\u00E9", VELLICOR_DETAIL_CHARS_DUPLICATE, 0, 0, 0xE9, 0},
        ListRefusal{"DuplicateBlank", "A B C D ", VELLICOR_DETAIL_CHARS_DUPLICATE, 0, 0, 0x20, 0},
        ListRefusal{"Empty", "", VELLICOR_DETAIL_CHARS_EMPTY, 0, 0, 0, 0},
        ListRefusal{"OnlyBlanks", " \u00A0\u3000", VELLICOR_DETAIL_CHARS_ONLY_BLANKS, 0, 0, 0, 0},
        ListRefusal{"StrayContinuation", "AB\x80", VELLICOR_DETAIL_CHARS_INVALID, 0, 0, 0, 2},
        ListRefusal{"Overlong", "A\xC0\x81", VELLICOR_DETAIL_CHARS_INVALID, 0, 0, 0, 1},
        ListRefusal{"Surrogate", "AB\xED\xA0\x80", VELLICOR_DETAIL_CHARS_INVALID, 0, 0, 0, 2},
        ListRefusal{"PastUnicode", "\xF4\x90\x80\x80", VELLICOR_DETAIL_CHARS_INVALID, 0, 0, 0, 0},
        ListRefusal{"CutShort", "ABC\xE2\x94", VELLICOR_DETAIL_CHARS_INVALID, 0, 0, 0, 3}),
    [](const ::testing::TestParamInfo<ListRefusal>& row) { return std::string(row.param.name); });

TEST(ExtendedFactory, AnswersAllThreeIdentifiers) {
  Converter* plain = nullptr;
  EXPECT_EQ(create_converter(0, IidBase, &plain), ResultCode::kNoInterface);
  EXPECT_EQ(plain, nullptr);
  ASSERT_EQ(create_converter(0, IidConverter, &plain), ResultCode::kOk);
  Converter* extended = nullptr;
  ASSERT_EQ(create_converter(0, IidConverterEx, &extended), ResultCode::kOk);
  Converter* refused = plain;
  EXPECT_EQ(create_converter(0, IidConverterEx + 1, &refused), ResultCode::kNoInterface);
  EXPECT_EQ(refused, nullptr);

  auto* object = reinterpret_cast<ConverterEx*>(extended);
  for (const ConverterIid iid : {IidBase, IidConverter, IidConverterEx}) {
    ConverterEx* answer = nullptr;
    EXPECT_EQ(object->ops->query(object, iid, &answer), 0) << std::hex << iid;
    EXPECT_EQ(answer, object);
    if (answer != nullptr) answer->ops->release(answer);
  }
  ConverterEx* none = object;
  EXPECT_EQ(object->ops->query(object, IidConverterEx + 1, &none), VELLICOR_E_NO_INTERFACE);
  EXPECT_EQ(none, nullptr);
  // Used through a Converter pointer, its first slots are a Converter's.
  Converter* as_plain = nullptr;
  EXPECT_EQ(extended->ops->query(extended, IidConverter, &as_plain), 0);
  EXPECT_EQ(as_plain, extended);
  EXPECT_EQ(extended->ops->release(extended), 1);
  EXPECT_EQ(object->ops->release(object), 0);
  EXPECT_EQ(plain->ops->release(plain), 0);
}

TEST_F(ExtendedConverter, OlderHostsRecordsEndBeforeTheFieldsItDoesNotKnow) {
  // A host built when the settings ended after chars: its blank advance is
  // not there, so the median is used, and its report ends after glyph_count.
  settings_.size = offsetof(ConversionSettings, blank_advance);
  settings_.blank_advance = 7;
  constexpr std::uint32_t kUntouched = 0xDEADBEEF;
  report_.glyphs_cut = kUntouched;
  report_.size = offsetof(ConversionReport, glyphs_cut);
  ASSERT_EQ(convert(), 0);
  EXPECT_EQ(unicode_advance(dir_.file("out.bdf"), 0x20), 2);
  EXPECT_EQ(report_.glyph_count, 6u);
  EXPECT_EQ(report_.glyphs_cut, kUntouched);
  EXPECT_EQ(report_.size, offsetof(ConversionReport, glyphs_cut));

  // A size that ends inside the chars pointer leaves the list out as well.
  settings_.size = offsetof(ConversionSettings, chars) + 1;
  options_.first_glyph = 0x41;
  ASSERT_EQ(convert(), 0);
  EXPECT_EQ(lines_with(font(), "STARTPROPERTIES"), std::vector<std::string>{"STARTPROPERTIES 2"});
}

TEST_F(ExtendedConverter, NewerHostsTailIsNeitherReadNorWritten) {
  // Records exactly as large as this engine knows them, claiming more: any
  // access past them would be out of bounds (the sanitizer build sees it).
  auto* settings = static_cast<ConversionSettings*>(std::malloc(sizeof(ConversionSettings)));
  auto* report = static_cast<ConversionReport*>(std::malloc(sizeof(ConversionReport)));
  ASSERT_NE(settings, nullptr);
  ASSERT_NE(report, nullptr);
  *settings = settings_;
  settings->size = sizeof(ConversionSettings) + 64;
  std::memset(report, 0, sizeof(ConversionReport));
  report->size = sizeof(ConversionReport) + 64;
  const std::string input = dir_.file("in.bmp");
  const std::string output = dir_.file("out.bdf");
  const ConversionPaths paths{input.c_str(), output.c_str()};
  EXPECT_EQ(object_->ops->convert_ex(object_, &paths, &options_, settings, report, &detail_), 0);
  EXPECT_EQ(report->glyph_count, 6u);
  EXPECT_EQ(report->size, sizeof(ConversionReport) + 64);
  std::free(settings);
  std::free(report);
  EXPECT_EQ(unicode_advance(output, 0x20), 2);
}

struct Listed {
  GlyphInfo info;
  std::string character;
};

std::int32_t VELLICOR_CALL collect(void* context, const GlyphInfo* glyph) {
  auto& glyphs = *static_cast<std::vector<Listed>*>(context);
  glyphs.push_back({*glyph, glyph->character != nullptr ? glyph->character : ""});
  glyphs.back().info.character = nullptr;  // valid only during the call
  return 0;
}

TEST_F(ExtendedConverter, CutListsTheGlyphsTheFontHolds) {
  std::vector<Listed> listed;
  const std::string input = dir_.file("in.bmp");
  ASSERT_EQ(object_->ops->cut(object_, input.c_str(), &options_, &settings_, &collect, &listed,
                              &report_, &detail_),
            0);
  EXPECT_TRUE(only_the_picture());
  ASSERT_EQ(convert(), 0);
  // The records in the font, in order: their ENCODING and DWIDTH.
  const std::vector<std::string> encodings = lines_with(font(), "ENCODING ");
  const std::vector<std::string> advances = lines_with(font(), "DWIDTH ");
  ASSERT_EQ(listed.size(), encodings.size());
  const char* const characters[] = {"\u00E9", " ", "A", "\u2500", "\U0001F600", "\u3000"};
  for (std::size_t i = 0; i < listed.size(); ++i) {
    const GlyphInfo& info = listed[i].info;
    EXPECT_EQ(info.index, i);
    EXPECT_EQ(encodings[i], "ENCODING " + std::to_string(info.code));
    EXPECT_EQ(advances[i], "DWIDTH " + std::to_string(info.advance) + " 0");
    EXPECT_EQ(listed[i].character, characters[i]);
  }
  EXPECT_EQ(listed[1].info.is_blank, 1u);
  EXPECT_EQ(listed[1].info.width, 0u);
  EXPECT_EQ(listed[4].info.first_column, 13u);
  EXPECT_EQ(listed[4].info.width, 4u);
  EXPECT_EQ(listed[4].info.top, 1u);
  EXPECT_EQ(listed[4].info.bottom, 3u);
}

TEST_F(ExtendedConverter, CutWithAMismatchStillListsWhatItCut) {
  settings_.chars = "AB";
  std::vector<Listed> listed;
  const std::string input = dir_.file("in.bmp");
  EXPECT_NE(object_->ops->cut(object_, input.c_str(), &options_, &settings_, &collect, &listed,
                              &report_, &detail_),
            0);
  EXPECT_EQ(detail_, VELLICOR_DETAIL_CHARS_COUNT);
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(listed[1].character, "B");
  EXPECT_EQ(listed[2].character, "");  // past the list: no character
  EXPECT_EQ(listed[3].info.first_column, 13u);
  EXPECT_EQ(listed[1].info.unpaired, 0u);
  EXPECT_EQ(listed[2].info.unpaired, 1u);

  // A list longer than the picture: the characters from the first one
  // without a glyph on follow, blanks included, with no columns.
  settings_.chars = "ABCDE\u3000";
  listed.clear();
  EXPECT_NE(object_->ops->cut(object_, input.c_str(), &options_, &settings_, &collect, &listed,
                              &report_, &detail_),
            0);
  ASSERT_EQ(listed.size(), 6u);
  EXPECT_EQ(listed[3].character, "D");
  EXPECT_EQ(listed[3].info.unpaired, 0u);
  EXPECT_EQ(listed[4].character, "E");
  EXPECT_EQ(listed[4].info.unpaired, 1u);
  EXPECT_EQ(listed[4].info.index, 4u);
  EXPECT_EQ(listed[4].info.code, 0x45u);
  EXPECT_EQ(listed[4].info.width, 0u);
  EXPECT_EQ(listed[5].character, "\u3000");
  EXPECT_EQ(listed[5].info.unpaired, 1u);
  EXPECT_EQ(listed[5].info.is_blank, 1u);
}

}  // namespace
}  // namespace vellicor::test
