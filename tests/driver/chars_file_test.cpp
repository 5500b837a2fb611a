// Reading a character list file: what is taken out, what is kept for the
// conversion to judge, and a file that cannot be read.
#include "driver/chars_file.hpp"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

class CharsFile : public ::testing::Test {
 protected:
  // Writes bytes to a file and reads it back as a list.
  ResultCode read_back(const std::string& bytes, std::string& text) {
    const std::string path = directory_.file("chars.txt");
    test::write_text(path, bytes);
    return read_chars_file(path.c_str(), text);
  }

  test::TempDir directory_;
};

TEST_F(CharsFile, DropsLineBreaksAndALeadingByteOrderMark) {
  std::string text;
  ASSERT_EQ(read_back("\xEF\xBB\xBF"
                      "ab\r\ncd\n\xC3\xA9\n",
                      text),
            ResultCode::kOk);
  EXPECT_EQ(text, "abcd\xC3\xA9");
  // A mark later in the list is a character of it.
  ASSERT_EQ(read_back("a\xEF\xBB\xBF", text), ResultCode::kOk);
  EXPECT_EQ(text, "a\xEF\xBB\xBF");
}

TEST_F(CharsFile, KeepsBadBytesAndTurnsNulIntoOneAtItsOffset) {
  std::string text;
  ASSERT_EQ(read_back(std::string("ab\xFF"
                                  "c\0d",
                                  6),
                      text),
            ResultCode::kOk);
  EXPECT_EQ(text, std::string("ab\xFF"
                              "c\xFF"
                              "d"));
}

TEST_F(CharsFile, ReadsAListLongerThanOneBlock) {
  const std::string long_list(10000, 'x');
  std::string text;
  ASSERT_EQ(read_back(long_list + "\n" + long_list, text), ResultCode::kOk);
  EXPECT_EQ(text, long_list + long_list);
}

TEST_F(CharsFile, MissingFileOrDirectoryIsFileAccess) {
  std::string text = "left over";
  EXPECT_EQ(read_chars_file(directory_.file("missing.txt").c_str(), text), ResultCode::kFileAccess);
  EXPECT_EQ(text, "");
  EXPECT_EQ(read_chars_file(directory_.path().string().c_str(), text), ResultCode::kFileAccess);
  EXPECT_EQ(read_chars_file(nullptr, text), ResultCode::kFileAccess);
}

}  // namespace
}  // namespace vellicor
