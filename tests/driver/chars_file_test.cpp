// Reading a character list file: what is taken out, what is kept for the
// conversion to judge, what is refused, and a file that cannot be read.
#include "driver/chars_file.hpp"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor {
namespace {

class CharsFile : public ::testing::Test {
 protected:
  // Writes bytes to a file and reads it back as a list.
  ResultCode read_back(const std::string& bytes, std::string& text) {
    const std::string path = directory_.file("chars.txt");
    test::write_text(path, bytes);
    CharsFileRefusal refusal;
    return read_chars_file(path.c_str(), text, refusal);
  }

  test::TempDir directory_;
};

TEST_F(CharsFile, KeepsEachLineBreakAsOneLineFeedAndDropsTheLastAndALeadingByteOrderMark) {
  std::string text;
  ASSERT_EQ(read_back("\xEF\xBB\xBF"
                      "ab\r\ncd\n\xC3\xA9\n",
                      text),
            ResultCode::kOk);
  EXPECT_EQ(text, "ab\ncd\n\xC3\xA9");
  // A mark later in the list is a character of it.
  ASSERT_EQ(read_back("a\xEF\xBB\xBF", text), ResultCode::kOk);
  EXPECT_EQ(text, "a\xEF\xBB\xBF");
}

TEST_F(CharsFile, KeepsBadBytesAndRefusesANulAtItsOffsetInTheList) {
  std::string text;
  ASSERT_EQ(read_back("ab\xFF", text), ResultCode::kOk);
  EXPECT_EQ(text, "ab\xFF");
  // The offset counts the list as the conversion sees it, each line break
  // one line feed and the byte-order mark gone, as the offsets of bad UTF-8 do.
  CharsFileRefusal refusal;
  text = "left over";
  const std::string path = directory_.file("with-nul-byte.txt");
  test::write_text(path, std::string("\xEF\xBB\xBF"
                                     "a\nb\r\nc\0d",
                                     11));
  EXPECT_EQ(read_chars_file(path.c_str(), text, refusal), ResultCode::kBadArgument);
  EXPECT_EQ(refusal.message, Message::kCharsNulByte);
  EXPECT_EQ(refusal.offset, 5u);
  EXPECT_EQ(text, "");
  EXPECT_EQ(chars_file_refusal_text(refusal), "The character list holds a NUL byte (at byte 5)");
}

TEST_F(CharsFile, TheLimitCountsTheFilesBytesLineBreaksIncluded) {
  std::string text;
  CharsFileRefusal refusal;
  const std::string path = directory_.file("long.txt");
  // Exactly the limit, characters beyond U+FFFF on lines of their own, fits.
  std::string list;
  while (list.size() + 5 <= kMostCharsBytes) list += "\xF0\x90\x80\x80\n";
  list += std::string(kMostCharsBytes - list.size(), 'x');
  test::write_text(path, list);
  EXPECT_EQ(read_chars_file(path.c_str(), text, refusal), ResultCode::kOk);
  EXPECT_EQ(text.size(), kMostCharsBytes);
  // One byte more, a line break, is too long.
  test::write_text(path, list + "\n");
  EXPECT_EQ(read_chars_file(path.c_str(), text, refusal), ResultCode::kBadArgument);
  EXPECT_EQ(refusal.message, Message::kCharsTooLong);
  EXPECT_EQ(text, "");
}

TEST_F(CharsFile, ReadsAListLongerThanOneBlock) {
  const std::string long_list(10000, 'x');
  std::string text;
  ASSERT_EQ(read_back(long_list + "\n" + long_list, text), ResultCode::kOk);
  EXPECT_EQ(text, long_list + "\n" + long_list);
}

TEST_F(CharsFile, MissingFileOrDirectoryIsFileAccess) {
  std::string text = "left over";
  CharsFileRefusal refusal;
  EXPECT_EQ(read_chars_file(directory_.file("missing.txt").c_str(), text, refusal),
            ResultCode::kFileAccess);
  EXPECT_EQ(text, "");
  EXPECT_EQ(read_chars_file(directory_.path().string().c_str(), text, refusal),
            ResultCode::kFileAccess);
  EXPECT_EQ(read_chars_file(nullptr, text, refusal), ResultCode::kFileAccess);
  refusal.message = Message::kCharsTooLong;
  EXPECT_EQ(read_chars_file(directory_.file("missing.txt").c_str(), text, refusal),
            ResultCode::kFileAccess);
  EXPECT_EQ(refusal.message, Message::kCharsFileUnreadable);
}

}  // namespace
}  // namespace vellicor
