// A line-by-line reader of written fonts for the fuzz targets.
#include "fuzz/bdf_stream_check.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

namespace vellicor::fuzz {

namespace {

constexpr std::uint64_t kBitsPerHexPair = 8;
constexpr int kHeaderLineCount = 11;
constexpr std::size_t kMinGlyphNameDigits = 4;

std::vector<std::string_view> split_words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t at = 0; at <= line.size(); ++at) {
    if (at == line.size() || line[at] == ' ') {
      words.push_back(line.substr(start, at - start));
      start = at + 1;
    }
  }
  return words;
}

// A plain unsigned decimal (a leading '-' allowed when negative is given).
bool read_number(std::string_view text, std::uint64_t* value, bool* negative = nullptr) {
  if (negative != nullptr) {
    *negative = !text.empty() && text[0] == '-';
    if (*negative) text.remove_prefix(1);
  }
  if (text.empty() || (text.size() > 1 && text[0] == '0')) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size();
}

// Words of line after its keyword, when the line starts with keyword and has
// count numbers in all.
bool numbers_of(const std::string& line, std::string_view keyword, std::size_t count,
                std::vector<std::string_view>* words) {
  *words = split_words(line);
  return words->size() == count + 1 && (*words)[0] == keyword;
}

// A signed decimal as read_number reads it, "-0" refused.
bool read_signed(std::string_view text, std::int64_t* value) {
  bool negative = false;
  std::uint64_t magnitude = 0;
  if (!read_number(text, &magnitude, &negative) || (negative && magnitude == 0)) return false;
  if (magnitude > std::uint64_t{1} << 32) return false;
  *value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

bool is_upper_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

}  // namespace

void BdfStreamCheck::fail(const std::string& why) {
  if (stage_ == Stage::kFailed) return;
  problem_ = why + " (at byte " + std::to_string(bytes_seen_) + ")";
  stage_ = Stage::kFailed;
}

void BdfStreamCheck::feed(const std::uint8_t* bytes, std::size_t count) {
  // Line by line: a font is mostly long runs of hex digits, so the bytes of
  // a line are checked in one tight loop and only a line's start is kept.
  while (count > 0 && stage_ != Stage::kFailed) {
    if (stage_ == Stage::kAfterEnd) return fail("bytes after ENDFONT");
    const void* found = std::memchr(bytes, '\n', count);
    const std::size_t piece =
        found == nullptr
            ? count
            : static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes);
    for (std::size_t at = 0; at < piece; ++at) {
      if (!is_upper_hex(static_cast<char>(bytes[at]))) line_is_hex_ = false;
    }
    if (line_.size() < kKeptLineLength) {
      const std::size_t kept = std::min(piece, kKeptLineLength - line_.size());
      line_.append(reinterpret_cast<const char*>(bytes), kept);
    }
    line_length_ += piece;
    bytes_seen_ += piece;
    if (line_length_ > kKeptLineLength && stage_ != Stage::kBitmap) {
      return fail("overlong text line");
    }
    if (found == nullptr) return;
    ++bytes_seen_;
    if (line_.find('\r') != std::string::npos) return fail("carriage return");
    line_done();
    line_.clear();
    line_length_ = 0;
    line_is_hex_ = true;
    bytes += piece + 1;
    count -= piece + 1;
  }
}

bool BdfStreamCheck::finish() {
  if (stage_ == Stage::kFailed) return false;
  if (line_length_ != 0) fail("last line has no line feed");
  if (stage_ != Stage::kAfterEnd && stage_ != Stage::kFailed) fail("font ends before ENDFONT");
  if (stage_ == Stage::kFailed) return false;
  if (records_ != declared_chars_) {
    fail("CHARS " + std::to_string(declared_chars_) + " but " + std::to_string(records_) +
         " records");
    return false;
  }
  return true;
}

void BdfStreamCheck::line_done() {
  switch (stage_) {
    case Stage::kHeader:
      header_line(line_);
      break;
    case Stage::kRecordOrEnd:
      if (line_ == "ENDFONT") {
        stage_ = Stage::kAfterEnd;
      } else {
        record_lines_ = 0;
        record_line(line_);
      }
      break;
    case Stage::kRecordLines:
      record_line(line_);
      break;
    case Stage::kBitmap:
      bitmap_line();
      break;
    case Stage::kEndChar:
      if (line_ != "ENDCHAR") {
        fail("record has more bitmap lines than its BBX height");
      } else {
        ++records_;
        stage_ = Stage::kRecordOrEnd;
      }
      break;
    case Stage::kAfterEnd:
    case Stage::kFailed:
      break;
  }
}

void BdfStreamCheck::header_line(const std::string& line) {
  ++header_lines_;
  std::vector<std::string_view> words;
  std::uint64_t value = 0;
  bool negative = false;
  switch (header_lines_) {
    case 1:
      if (line != "STARTFONT 2.1") fail("first line is not STARTFONT 2.1");
      break;
    case 2:
    case 3:
      if (line.rfind("COMMENT ", 0) != 0) fail("comment line expected");
      break;
    case 4:
      if (line.rfind("FONT ", 0) != 0 || line.size() == 5) fail("FONT line expected");
      break;
    case 5:
      if (!numbers_of(line, "SIZE", 3, &words) || !read_number(words[1], &value) ||
          words[2] != "75" || words[3] != "75") {
        fail("bad SIZE line");
      }
      break;
    case 6:
      if (sheet_) {
        if (!numbers_of(line, "FONTBOUNDINGBOX", 4, &words) ||
            !read_number(words[1], &font_width_) || !read_number(words[2], &font_height_) ||
            !read_signed(words[3], &bounds_x_) || !read_signed(words[4], &bounds_y_)) {
          fail("bad FONTBOUNDINGBOX line");
        }
        break;
      }
      if (!numbers_of(line, "FONTBOUNDINGBOX", 4, &words) || !read_number(words[1], &font_width_) ||
          !read_number(words[2], &font_height_) || words[3] != "0" ||
          !read_number(words[4], &font_descent_, &negative) || (font_descent_ != 0 && !negative)) {
        fail("bad FONTBOUNDINGBOX line");
      }
      break;
    case 7:
      if (line != "STARTPROPERTIES 2") fail("STARTPROPERTIES 2 expected");
      break;
    case 8:
      if (!numbers_of(line, "FONT_DESCENT", 1, &words) || !read_number(words[1], &value)) {
        fail("bad FONT_DESCENT line");
      }
      break;
    case 9:
      if (!numbers_of(line, "FONT_ASCENT", 1, &words) ||
          !read_number(words[1], &value, &negative)) {
        fail("bad FONT_ASCENT line");
      }
      ascent_fills_box_ = !negative && value + font_descent_ == font_height_;
      break;
    case 10:
      if (line != "ENDPROPERTIES") fail("ENDPROPERTIES expected");
      break;
    case kHeaderLineCount:
      if (!numbers_of(line, "CHARS", 1, &words) || !read_number(words[1], &declared_chars_)) {
        fail("bad CHARS line");
      }
      header_bytes_ = bytes_seen_;
      stage_ = Stage::kRecordOrEnd;
      break;
    default:
      break;
  }
}

void BdfStreamCheck::record_line(const std::string& line) {
  ++record_lines_;
  stage_ = Stage::kRecordLines;
  std::vector<std::string_view> words;
  std::uint64_t value = 0;
  switch (record_lines_) {
    case 1: {
      constexpr std::string_view kPrefix = "STARTCHAR char";
      if (line.rfind(kPrefix, 0) != 0) return fail("STARTCHAR expected");
      const std::string_view name = std::string_view(line).substr(kPrefix.size());
      const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value, 16);
      const bool lower = name.find_first_of("ABCDEF") == std::string_view::npos;
      if (error != std::errc() || end != name.data() + name.size() ||
          name.size() < kMinGlyphNameDigits || !lower ||
          (name.size() > kMinGlyphNameDigits && name[0] == '0')) {
        return fail("bad glyph name");
      }
      if (!have_first_code_) {
        have_first_code_ = true;
        next_code_ = value;
      }
      if (value != next_code_) return fail("glyph codes do not count up by one");
      break;
    }
    case 2:
      if (!numbers_of(line, "ENCODING", 1, &words) || !read_number(words[1], &value) ||
          value != next_code_) {
        return fail("ENCODING does not match the glyph name");
      }
      ++next_code_;
      break;
    case 3:
      if (!numbers_of(line, "SWIDTH", 2, &words) || !read_number(words[1], &value) ||
          words[2] != "0") {
        return fail("bad SWIDTH line");
      }
      break;
    case 4:
      if (!numbers_of(line, "DWIDTH", 2, &words) || !read_number(words[1], &box_width_) ||
          words[2] != "0") {
        return fail("bad DWIDTH line");
      }
      break;
    case 5:
      if (sheet_) {
        sheet_box_line(line);
        break;
      }
      // The offset is "-<descent>", or "0" in a font framed by its ink.
      if (!numbers_of(line, "BBX", 4, &words) || !read_number(words[1], &value) ||
          value != box_width_ || !read_number(words[2], &box_height_) || words[3] != "0" ||
          !(words[4] == "0" || (words[4].size() >= 2 && words[4][0] == '-' &&
                                read_number(words[4].substr(1), &value)))) {
        return fail("bad BBX line");
      }
      if (box_width_ == 0 || box_width_ > font_width_) return fail("BBX wider than the font");
      if (box_height_ < font_height_) return fail("BBX lower than the font");
      if (box_height_ != font_height_) framed_ = false;
      break;
    case 6:
      if (line != "BITMAP") return fail("BITMAP expected");
      bitmap_lines_ = 0;
      stage_ = box_height_ == 0 ? Stage::kEndChar : Stage::kBitmap;
      break;
    default:
      break;
  }
}

// A sheet's glyph is its ink box at its own offsets, inside the font's
// bounding box; a blank one has no box at all.
void BdfStreamCheck::sheet_box_line(const std::string& line) {
  std::vector<std::string_view> words;
  std::int64_t x = 0;
  std::int64_t y = 0;
  framed_ = false;
  if (!numbers_of(line, "BBX", 4, &words) || !read_number(words[1], &box_width_) ||
      !read_number(words[2], &box_height_) || !read_signed(words[3], &x) ||
      !read_signed(words[4], &y)) {
    return fail("bad BBX line");
  }
  if (box_width_ == 0 || box_height_ == 0) {
    if (box_width_ != 0 || box_height_ != 0 || x != 0 || y != 0) return fail("half an empty BBX");
    return;
  }
  const auto width = static_cast<std::int64_t>(box_width_);
  const auto height = static_cast<std::int64_t>(box_height_);
  if (x < bounds_x_ || y < bounds_y_ ||
      x + width > bounds_x_ + static_cast<std::int64_t>(font_width_) ||
      y + height > bounds_y_ + static_cast<std::int64_t>(font_height_)) {
    fail("BBX outside the font's bounding box");
  }
}

void BdfStreamCheck::bitmap_line() {
  const std::uint64_t hex_width = (box_width_ + kBitsPerHexPair - 1) / kBitsPerHexPair * 2;
  if (!line_is_hex_) return fail("bitmap line holds other than upper-case hex digits");
  if (line_length_ != hex_width) return fail("bitmap line is not the hex width of BBX");
  if (++bitmap_lines_ == box_height_) stage_ = Stage::kEndChar;
}

}  // namespace vellicor::fuzz
