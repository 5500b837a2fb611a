// The shared ink passes, driven by a reader made up here: pictures drawn as
// text, one character per pixel value.
#include "engine/picture/ink_passes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "tests/engine/ink_map_text.hpp"
#include "tests/engine/run_log.hpp"

namespace vellicor {
namespace {

// Value 'k' is black, 'g' dark grey, 'r' red, 'w' white, 't' transparent.
struct LetterColours {
  using Value = char;
  Rgba16 colour(char value) const {
    switch (value) {
      case 'k':
        return {0, 0, 0, kFullChannel};
      case 'g':
        return {0x3000, 0x3000, 0x3000, kFullChannel};
      case 'r':
        return {kFullChannel, 0, 0, kFullChannel};
      case 't':
        return {0, 0, 0, 0};
      default:
        return {kFullChannel, kFullChannel, kFullChannel, kFullChannel};
    }
  }
};

// A reader of drawn pictures: each pass hands every row on as take_row_runs
// does; '?' marks pixels the file never delivered.
class DrawnPicture {
 public:
  explicit DrawnPicture(std::vector<std::string> rows) : rows_(std::move(rows)) {}

  template <class Pass>
  ResultCode read_pass(Pass& pass, ErrorDetail* detail) {
    ++passes_;
    if (passes_ == fail_pass_) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    const PictureExtent extent{width_px_ != 0 ? width_px_ : std::uint32_t(rows_[0].size()),
                               std::uint32_t(rows_.size()), 0, 0};
    if (const ResultCode begun = pass.begin(extent, colours_, detail); failed(begun)) return begun;
    for (std::uint32_t y = 0; y < rows_.size(); ++y) {
      const std::string& row = rows_[y];
      const auto delivered = static_cast<std::uint32_t>(row.find('?'));
      take_row_runs(pass, y, 0, 1, std::min<std::uint32_t>(delivered, std::uint32_t(row.size())),
                    [&row](std::uint32_t x) { return row[x]; });
    }
    return ResultCode::kOk;
  }

  ResultCode read(InkRule rule, InkMap& map, ErrorDetail* detail) {
    return read_ink_in_passes<LetterColours>(
        rule, [this](auto& pass, ErrorDetail* why) { return read_pass(pass, why); }, map, detail);
  }

  int passes() const { return passes_; }
  void fail_in_pass(int pass) { fail_pass_ = pass; }
  void declare_width(std::uint32_t width_px) { width_px_ = width_px; }

 private:
  std::vector<std::string> rows_;
  LetterColours colours_;
  int passes_ = 0;
  int fail_pass_ = 0;
  std::uint32_t width_px_ = 0;
};

using Rows = std::vector<std::string>;

TEST(InkPasses, AutoRuleCountsFirstThenTakesAllButThePaper) {
  // Red paper (12 pixels), though white (6) is the most common elsewhere.
  DrawnPicture picture({"rrrwwkr", "rwwrgrr", "rrwwrrt"});
  InkMap map;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(picture.read(InkRule::kAuto, map, &detail), ResultCode::kOk);
  EXPECT_EQ(picture.passes(), 2);
  EXPECT_EQ(test::ink_map_rows(map), (Rows{"...###.", ".##.#..", "..##..#"}));
  EXPECT_EQ(detail, ErrorDetail::kNone);
}

TEST(InkPasses, FixedRulesReadOnce) {
  const Rows drawn = {"rrrwwkr", "rwwrgrr", "rrwwrrt"};
  const std::vector<std::tuple<InkRule, Rows>> cases = {
      {InkRule::kBlack, {".....#.", ".......", "......."}},
      {InkRule::kDark, {"###..##", "#..####", "##..##."}},  // red is dark too
      {InkRule::kOpaque, {"#######", "#######", "######."}},
  };
  for (const auto& [rule, expected] : cases) {
    DrawnPicture picture(drawn);
    InkMap map;
    ASSERT_EQ(picture.read(rule, map, nullptr), ResultCode::kOk);
    EXPECT_EQ(picture.passes(), 1);
    EXPECT_EQ(test::ink_map_rows(map), expected) << static_cast<int>(rule);
  }
}

TEST(InkPasses, PixelsNeverDeliveredArePaperAndNotCounted) {
  // Without the undelivered pixels white would be the paper; they are not
  // counted as anything, so red is.
  DrawnPicture picture({"wwwkrr", "wr????", "rr????", "rr????"});
  InkMap map;
  ASSERT_EQ(picture.read(InkRule::kAuto, map, nullptr), ResultCode::kOk);
  EXPECT_EQ(test::ink_map_rows(map), (Rows{"####..", "#.....", "......", "......"}));
}

TEST(InkPasses, TheFirstFailureIsReportedAndTheMapLeftAlone) {
  for (const int failing_pass : {1, 2}) {
    DrawnPicture picture({"kw", "wk"});
    picture.fail_in_pass(failing_pass);
    InkMap map;
    map.width_px = 5;
    ErrorDetail detail = ErrorDetail::kNone;
    EXPECT_EQ(picture.read(InkRule::kAuto, map, &detail), ResultCode::kFileAccess);
    EXPECT_EQ(detail, ErrorDetail::kFileAccess);
    EXPECT_EQ(picture.passes(), failing_pass);
    EXPECT_EQ(map.width_px, 5u);
  }
}

TEST(InkPasses, BothPassesCheckTheSizeBeforeAnyPixel) {
  for (const InkRule rule : {InkRule::kAuto, InkRule::kBlack}) {
    DrawnPicture picture({"kw"});
    picture.declare_width(kMaxPictureSidePx + 1);
    InkMap map;
    ErrorDetail detail = ErrorDetail::kNone;
    EXPECT_EQ(picture.read(rule, map, &detail), ResultCode::kUnusableInput);
    EXPECT_EQ(detail, ErrorDetail::kPictureTooLarge);
    EXPECT_EQ(picture.passes(), 1);
    EXPECT_EQ(map.pixels.bytes, nullptr);
  }
}

using RunLog = test::RunLog<char>;

TEST(InkPasses, RowsBecomeRunsOfEqualValuesAlongTheirStep) {
  const std::string row = "aabaaacc";
  const auto value_at = [&row](std::uint32_t x) { return row[x]; };
  RunLog whole;
  take_row_runs(whole, 3, 0, 1, 8, value_at);
  EXPECT_EQ(whole.runs,
            (std::vector<RunLog::Run>{
                {3, 0, 1, 2, 'a'}, {3, 2, 1, 1, 'b'}, {3, 3, 1, 3, 'a'}, {3, 6, 1, 2, 'c'}}));

  // An interlaced pass: every second pixel from column 1 (a, a, a, c).
  RunLog stepped;
  take_row_runs(stepped, 0, 1, 2, 8, value_at);
  EXPECT_EQ(stepped.runs, (std::vector<RunLog::Run>{{0, 1, 2, 3, 'a'}, {0, 7, 2, 1, 'c'}}));

  // A pass that starts past a narrow picture hands on nothing.
  RunLog beyond;
  take_row_runs(beyond, 0, 4, 8, 3, value_at);
  EXPECT_TRUE(beyond.runs.empty());
}

TEST(InkPasses, SteppedRunsMarkOnlyTheirColumns) {
  InkPass<LetterColours> pass{InkClassifier(InkRule::kBlack)};
  const LetterColours colours;
  ASSERT_EQ(pass.begin({9, 1, 0, 0}, colours, nullptr), ResultCode::kOk);
  pass.take_run(0, 1, 3, 3, 'k');  // columns 1, 4, 7
  pass.take_run(0, 0, 2, 1, 'w');
  EXPECT_EQ(test::ink_map_rows(pass.map()), (Rows{".#..#..#."}));
}

}  // namespace
}  // namespace vellicor
