// Reads a BDF 2.1 font into a LoadedFont, as FreeType's BDF driver reads it:
// the header (FONT, SIZE, FONTBOUNDINGBOX), the properties, then one record
// per glyph from STARTCHAR to ENDCHAR, up to ENDFONT. BDF 2.2's extra fields
// (METRICSSET, SWIDTH1, DWIDTH1, VVECTOR) carry nothing drawn and are passed
// over.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/core/checked_size.hpp"
#include "engine/fontfile/bdf_format.hpp"
#include "engine/fontfile/bdf_lines.hpp"
#include "engine/fontfile/font_file_reader.hpp"

namespace vellicor {

namespace {

constexpr std::int64_t kInt32Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Highest = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt64Lowest = std::numeric_limits<std::int64_t>::min() + 1;
constexpr std::int64_t kInt64Highest = std::numeric_limits<std::int64_t>::max();
constexpr std::uint32_t kBitsPerByte = 8;
constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;

bool is_keyword(std::string_view field, std::string_view keyword) { return field == keyword; }

// Fields of BDF 2.2 and of the font-wide metrics of BDF 2.1 that change no
// glyph's bits, offsets or advance as FreeType reads them.
bool is_passed_over(std::string_view keyword) {
  return keyword == "METRICSSET" || keyword == "CONTENTVERSION" || keyword == "SWIDTH" ||
         keyword == "DWIDTH" || keyword == "SWIDTH1" || keyword == "DWIDTH1" ||
         keyword == "VVECTOR";
}

bool is_passed_over_in_glyph(std::string_view keyword) {
  return keyword == "SWIDTH1" || keyword == "DWIDTH1" || keyword == "VVECTOR" ||
         keyword == "ATTRIBUTES";
}

bool equals_ignoring_case(std::string_view text, std::string_view upper) {
  return text.size() == upper.size() &&
         std::equal(text.begin(), text.end(), upper.begin(), [](char left, char right) {
           return (left >= 'a' && left <= 'z' ? static_cast<char>(left - 'a' + 'A') : left) ==
                  right;
         });
}

// A property's value as FreeType keeps it: the rest of the line, one
// leading and one trailing double quote removed.
std::string_view property_value(std::string_view rest) {
  if (!rest.empty() && rest.front() == '"') rest.remove_prefix(1);
  if (!rest.empty() && rest.back() == '"') rest.remove_suffix(1);
  return rest;
}

// FreeType rounds a grey font's bits per pixel up to 1, 2, 4 or 8.
std::uint32_t rounded_bits_per_pixel(std::int64_t stated) {
  std::uint32_t bits = 1;
  while (bits < kBdfMostBitsPerPixel && stated > bits) bits *= 2;
  return bits;
}

struct BoundingBox {
  std::int64_t width = 0, height = 0, x = 0, y = 0;
};

// One glyph record while it is read.
struct GlyphRecord {
  LoadedGlyph glyph;
  bool has_encoding = false;
  bool has_dwidth = false;
  bool has_bbx = false;
  bool keep = false;  // has a code no earlier glyph holds
};

class BdfReader {
 public:
  BdfReader(const std::uint8_t* data, std::size_t size)
      : lines_(data, size),
        bitmap_budget_(std::min(kBdfMaxBitmapBudgetBytes,
                                std::max(kBdfMinBitmapBudgetBytes,
                                         saturating_multiply(size, kBdfBitmapBytesPerFileByte)))) {}

  // Reads the whole file into font_; false with detail_ and problem_line_
  // set when it refuses it.
  bool read() { return read_start() && read_header() && read_glyphs() && finish(); }

  LoadedFont& font() { return font_; }
  ErrorDetail detail() const { return detail_; }
  std::uint64_t problem_line() const { return problem_line_; }

 private:
  bool refuse(ErrorDetail why, std::uint64_t line) {
    detail_ = why;
    problem_line_ = line;
    return false;
  }
  bool damaged(std::uint64_t line) { return refuse(ErrorDetail::kFontDamaged, line); }
  // The file ended where a line was still due.
  bool ended_too_soon() { return damaged(lines_.last_line()); }

  // The next line, its keyword taken; false at the end of the file or at a
  // line holding a control byte (then refused).
  bool next_line(BdfLine& line, BdfFields& fields, std::string_view& keyword) {
    if (!lines_.next(line)) return ended_too_soon();
    if (holds_control_byte(line.text)) return damaged(line.number);
    fields = BdfFields(line.text);
    keyword = fields.next();
    return true;
  }

  bool read_integer(BdfFields& fields, std::int64_t lowest, std::int64_t highest,
                    std::int64_t& value, const BdfLine& line) {
    if (!parse_bdf_integer(fields.next(), lowest, highest, value)) return damaged(line.number);
    return true;
  }

  // Up to STARTFONT: comments may come first, anything else is no BDF.
  bool read_start() {
    BdfLine line;
    while (lines_.next(line)) {
      const std::string_view keyword = BdfFields(line.text).next();
      if (is_keyword(keyword, "COMMENT")) continue;
      if (is_keyword(keyword, "STARTFONT")) return true;
      break;
    }
    return refuse(ErrorDetail::kFontUnknown, 0);
  }

  // From STARTFONT to CHARS.
  bool read_header() {
    bool has_font = false, has_size = false, has_box = false, has_properties = false;
    for (;;) {
      BdfLine line;
      BdfFields fields("");
      std::string_view keyword;
      if (!next_line(line, fields, keyword)) return false;
      if (is_keyword(keyword, "COMMENT") || is_passed_over(keyword)) continue;
      if (is_keyword(keyword, "FONT")) {
        font_.font_name = std::string(fields.rest());
        has_font = true;
      } else if (is_keyword(keyword, "SIZE")) {
        std::int64_t number = 0;
        for (int field = 0; field < 3; ++field) {
          if (!read_integer(fields, 0, kInt32Highest, number, line)) return false;
        }
        if (!fields.rest().empty()) {
          if (!read_integer(fields, 0, kInt32Highest, number, line)) return false;
          bits_per_pixel_ = rounded_bits_per_pixel(number);
        }
        has_size = true;
      } else if (is_keyword(keyword, "FONTBOUNDINGBOX")) {
        if (!read_integer(fields, 0, kInt32Highest, box_.width, line) ||
            !read_integer(fields, 0, kInt32Highest, box_.height, line) ||
            !read_integer(fields, kInt32Lowest, kInt32Highest, box_.x, line) ||
            !read_integer(fields, kInt32Lowest, kInt32Highest, box_.y, line)) {
          return false;
        }
        has_box = true;
      } else if (is_keyword(keyword, "STARTPROPERTIES") && !has_properties) {
        if (!read_properties()) return false;
        has_properties = true;
      } else if (is_keyword(keyword, "CHARS")) {
        // The count is the writer's word only; the records themselves count.
        std::int64_t count = 0;
        if (!has_font || !has_size || !has_box ||
            !read_integer(fields, 0, kInt64Highest, count, line)) {
          return damaged(line.number);
        }
        return true;
      } else {
        return damaged(line.number);
      }
    }
  }

  // From STARTPROPERTIES to ENDPROPERTIES.
  bool read_properties() {
    for (;;) {
      BdfLine line;
      BdfFields fields("");
      std::string_view name;
      if (!next_line(line, fields, name)) return false;
      if (is_keyword(name, "ENDPROPERTIES")) return true;
      if (is_keyword(name, "COMMENT")) continue;
      const std::string_view value = property_value(fields.rest());
      if (!take_property(name, value, line)) return false;
      auto same_name = [name](const auto& property) { return property.first == name; };
      const auto known = std::find_if(font_.properties.begin(), font_.properties.end(), same_name);
      if (known != font_.properties.end()) {
        known->second = std::string(value);  // a repeated property replaces the first
      } else {
        font_.properties.emplace_back(std::string(name), std::string(value));
      }
    }
  }

  // The properties the reader itself uses.
  bool take_property(std::string_view name, std::string_view value, const BdfLine& line) {
    std::int64_t number = 0;
    if (name == "FONT_ASCENT" || name == "FONT_DESCENT") {
      if (!parse_bdf_integer(value, kInt32Lowest, kInt32Highest, number)) {
        return damaged(line.number);
      }
      (name == "FONT_ASCENT" ? ascent_ : descent_) = number;
      (name == "FONT_ASCENT" ? has_ascent_ : has_descent_) = true;
    } else if (name == "FAMILY_NAME") {
      font_.family_name = std::string(value);
    } else if (name == "CHARSET_REGISTRY") {
      font_.unicode = equals_ignoring_case(value, "ISO10646");
    }
    return true;
  }

  // From CHARS to ENDFONT.
  bool read_glyphs() {
    for (;;) {
      BdfLine line;
      BdfFields fields("");
      std::string_view keyword;
      if (!next_line(line, fields, keyword)) return false;
      if (is_keyword(keyword, "COMMENT")) continue;
      if (is_keyword(keyword, "ENDFONT")) return true;
      if (!is_keyword(keyword, "STARTCHAR")) return damaged(line.number);
      GlyphRecord record;
      record.glyph.name = std::string(fields.rest());
      if (!read_glyph(record)) return false;
      if (record.keep) {
        font_.glyphs.push_back(std::move(record.glyph));
      } else if (font_.glyphs_without_code < std::numeric_limits<std::uint32_t>::max()) {
        ++font_.glyphs_without_code;
      }
    }
  }

  // From after STARTCHAR to ENDCHAR.
  bool read_glyph(GlyphRecord& record) {
    LoadedGlyph& glyph = record.glyph;
    for (;;) {
      BdfLine line;
      BdfFields fields("");
      std::string_view keyword;
      if (!next_line(line, fields, keyword)) return false;
      if (is_keyword(keyword, "COMMENT") || is_passed_over_in_glyph(keyword)) continue;
      if (is_keyword(keyword, "ENDCHAR")) {
        if (!record.has_encoding) return damaged(line.number);
        return finish_glyph(record, line);
      }
      if (is_keyword(keyword, "ENCODING")) {
        if (record.has_encoding || !read_encoding(fields, record, line)) {
          return damaged(line.number);
        }
        continue;
      }
      // FreeType wants ENCODING first of a record's fields.
      if (!record.has_encoding) return damaged(line.number);
      std::int64_t number = 0;
      if (is_keyword(keyword, "SWIDTH")) {
        if (!read_integer(fields, kInt64Lowest, kInt64Highest, glyph.scalable_width, line)) {
          return false;
        }
      } else if (is_keyword(keyword, "DWIDTH")) {
        if (!read_integer(fields, kInt32Lowest, kInt32Highest, number, line)) return false;
        glyph.advance = static_cast<std::int32_t>(number);
        record.has_dwidth = true;
      } else if (is_keyword(keyword, "BBX")) {
        if (!read_bbx(fields, record, line)) return false;
      } else if (is_keyword(keyword, "BITMAP")) {
        if (!record.has_bbx) return damaged(line.number);
        return read_bitmap(record, line) && finish_glyph(record, line);
      } else {
        return damaged(line.number);
      }
    }
  }

  bool read_encoding(BdfFields& fields, GlyphRecord& record, const BdfLine& line) {
    std::int64_t code = 0;
    if (!parse_bdf_integer(fields.next(), kInt64Lowest, kInt64Highest, code)) return false;
    // "ENCODING -1 n" gives n in an encoding of the font's own, no code of
    // the font's registry: the glyph stays without a code. (FreeType files
    // it under n, beside the standard codes.)
    const std::string_view second = fields.next();
    std::int64_t own_code = 0;
    if (!second.empty() && !parse_bdf_integer(second, kInt64Lowest, kInt64Highest, own_code)) {
      return false;
    }
    if (code < 0 || code >= kBdfCodeLimit) code = kBdfNoCode;
    const bool surrogate = font_.unicode && code >= kFirstSurrogate && code <= kLastSurrogate;
    record.has_encoding = true;
    record.glyph.code = code;
    record.keep = code != kBdfNoCode && !surrogate && !is_taken(code);
    if (record.keep && font_.glyphs.size() >= kMaxDrawnGlyphs) {
      return refuse(ErrorDetail::kFontTooLargeToDraw, line.number);
    }
    return true;
  }

  // Whether an earlier glyph holds code; marks it held.
  bool is_taken(std::int64_t code) {
    if (taken_.empty()) taken_.assign(static_cast<std::size_t>(kBdfCodeLimit), false);
    const auto index = static_cast<std::size_t>(code);
    const bool taken = taken_[index];
    taken_[index] = true;
    return taken;
  }

  bool read_bbx(BdfFields& fields, GlyphRecord& record, const BdfLine& line) {
    LoadedGlyph& glyph = record.glyph;
    std::int64_t width = 0, height = 0, x = 0, y = 0;
    if (!read_integer(fields, 0, kInt32Highest, width, line) ||
        !read_integer(fields, 0, kInt32Highest, height, line) ||
        !read_integer(fields, kInt32Lowest, kInt32Highest, x, line) ||
        !read_integer(fields, kInt32Lowest, kInt32Highest, y, line)) {
      return false;
    }
    if (width > kMaxDrawnGlyphSide || height > kMaxDrawnGlyphSide) {
      return refuse(ErrorDetail::kFontTooLargeToDraw, line.number);
    }
    glyph.width = static_cast<std::uint32_t>(width);
    glyph.height = static_cast<std::uint32_t>(height);
    glyph.x_offset = static_cast<std::int32_t>(x);
    glyph.y_offset = static_cast<std::int32_t>(y);
    record.has_bbx = true;
    return true;
  }

  // Gives a kept glyph its blank lines, within the font's bitmap budget.
  bool allocate_lines(LoadedGlyph& glyph, const BdfLine& line) {
    const std::uint64_t bytes = glyph.stride() * std::uint64_t{glyph.height};
    if (bytes > bitmap_budget_ - bitmap_bytes_) {
      return refuse(ErrorDetail::kFontTooLargeToDraw, line.number);
    }
    bitmap_bytes_ += bytes;
    glyph.lines.assign(static_cast<std::size_t>(bytes), 0);
    return true;
  }

  // The hexadecimal lines after BITMAP, up to ENDCHAR: fewer than the box's
  // height leave its last rows blank, more are checked and passed over, as
  // are the rows of a glyph not kept.
  bool read_bitmap(GlyphRecord& record, BdfLine& line) {
    LoadedGlyph& glyph = record.glyph;
    if (record.keep && !allocate_lines(glyph, line)) return false;
    dropped_row_.resize(glyph.stride());
    for (std::uint32_t row = 0;; ++row) {
      if (!lines_.next(line)) return ended_too_soon();
      if (holds_control_byte(line.text)) return damaged(line.number);
      if (is_keyword(BdfFields(line.text).next(), "ENDCHAR")) return true;
      std::uint8_t* const out = record.keep && row < glyph.height
                                    ? glyph.lines.data() + std::size_t{row} * glyph.stride()
                                    : dropped_row_.data();
      if (!decode_bdf_row(line.text, glyph.width, bits_per_pixel_, scratch_, out)) {
        return damaged(line.number);
      }
    }
  }

  bool finish_glyph(GlyphRecord& record, const BdfLine& line) {
    LoadedGlyph& glyph = record.glyph;
    // FreeType gives a glyph without DWIDTH the width of its box.
    if (!record.has_dwidth) glyph.advance = static_cast<std::int32_t>(glyph.width);
    if (record.keep && glyph.lines.size() != glyph.stride() * glyph.height) {
      return allocate_lines(glyph, line);
    }
    return true;
  }

  bool finish() {
    if (font_.glyphs.empty()) return refuse(ErrorDetail::kFontNoGlyph, 0);
    // FreeType adds FONT_ASCENT and FONT_DESCENT from the font's bounding
    // box where the properties lack them.
    const std::int64_t box_ascent = box_.height + box_.y;
    font_.ascent = static_cast<std::int32_t>(
        has_ascent_ ? ascent_ : std::clamp(box_ascent, kInt32Lowest, kInt32Highest));
    font_.descent = static_cast<std::int32_t>(
        has_descent_ ? descent_ : std::clamp(-box_.y, kInt32Lowest, kInt32Highest));
    font_.kind = FontFileKind::kBdf;
    font_.sizes = 1;
    return true;
  }

  BdfLineReader lines_;
  LoadedFont font_;
  ErrorDetail detail_ = ErrorDetail::kNone;
  std::uint64_t problem_line_ = 0;
  BoundingBox box_;
  std::uint32_t bits_per_pixel_ = 1;
  std::int64_t ascent_ = 0, descent_ = 0;
  bool has_ascent_ = false, has_descent_ = false;
  std::vector<bool> taken_;                // codes kept so far, one flag each
  std::vector<std::uint8_t> scratch_;      // a grey row, packed
  std::vector<std::uint8_t> dropped_row_;  // a row read only to be checked
  const std::uint64_t bitmap_budget_;
  std::uint64_t bitmap_bytes_ = 0;
};

}  // namespace

ResultCode read_bdf_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                         ErrorDetail* detail, FontReadProblem* problem) {
  if (data == nullptr && size != 0)
    return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kBadArgument);
  try {
    BdfReader reader(data, size);
    if (!reader.read()) {
      if (problem != nullptr) problem->line = reader.problem_line();
      return fail(detail, reader.detail(), ResultCode::kUnusableInput);
    }
    font = std::move(reader.font());
    return ResultCode::kOk;
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

}  // namespace vellicor
