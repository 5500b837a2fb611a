// Checks a written font as its bytes arrive, keeping only a few numbers, so a
// font of any size is judged without being held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vellicor::fuzz {

// Reads a font that the engine writes: the header from STARTFONT to CHARS,
// then records from STARTCHAR to ENDCHAR, then ENDFONT and nothing after it.
// Checks that CHARS equals the number of records, that encodings count up by
// one from the first and name their records, that every record has as many
// bitmap lines as its BBX height, each with the hex width of its BBX width,
// and that no record is wider or lower than the font's bounding box.
class BdfStreamCheck {
 public:
  // sheet: the font of a grid or marks, whose records are their glyphs' ink
  // boxes at their own offsets (blank ones empty), each inside the font's
  // bounding box, instead of boxes as wide as the advance and as tall as the
  // font.
  explicit BdfStreamCheck(bool sheet = false) : sheet_(sheet) {}

  void feed(const std::uint8_t* bytes, std::size_t count);
  // True when the whole font was read and held. problem() says why not.
  bool finish();
  const std::string& problem() const { return problem_; }
  std::uint64_t bytes_seen() const { return bytes_seen_; }
  std::uint64_t records() const { return records_; }
  // Bytes from STARTFONT to the end of the CHARS line.
  std::uint64_t header_bytes() const { return header_bytes_; }
  // Whether the font is framed by its ink: ascent and descent fill the box,
  // and every record is exactly as tall as it.
  bool framed_by_ink() const { return framed_ && ascent_fills_box_; }

 private:
  enum class Stage {
    kHeader,
    kRecordOrEnd,
    kRecordLines,
    kBitmap,
    kEndChar,
    kAfterEnd,
    kFailed,
  };
  // Lines longer than this are only ever bitmap lines; keyword lines fit.
  static constexpr std::size_t kKeptLineLength = 512;

  void line_done();
  void header_line(const std::string& line);
  void record_line(const std::string& line);
  void bitmap_line();
  void sheet_box_line(const std::string& line);
  void fail(const std::string& why);

  Stage stage_ = Stage::kHeader;
  std::string line_;  // the current line, up to kKeptLineLength bytes
  std::uint64_t line_length_ = 0;
  bool line_is_hex_ = true;  // only upper-case hex digits so far
  std::uint64_t bytes_seen_ = 0;
  std::string problem_;

  int header_lines_ = 0;
  std::uint64_t header_bytes_ = 0;
  std::uint64_t font_width_ = 0;
  std::uint64_t font_height_ = 0;
  std::uint64_t font_descent_ = 0;
  bool sheet_ = false;
  std::int64_t bounds_x_ = 0;  // FONTBOUNDINGBOX offsets of a sheet
  std::int64_t bounds_y_ = 0;
  std::uint64_t declared_chars_ = 0;
  std::uint64_t records_ = 0;
  bool have_first_code_ = false;
  bool framed_ = true;  // until a record is taller than the box
  bool ascent_fills_box_ = false;
  std::uint64_t next_code_ = 0;

  int record_lines_ = 0;  // opening lines of the current record so far
  std::uint64_t box_width_ = 0;
  std::uint64_t box_height_ = 0;
  std::uint64_t bitmap_lines_ = 0;
};

}  // namespace vellicor::fuzz
