// Glyph records: opening lines, bitmap lines and blank lines.
#include "engine/font/glyph_record.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "engine/core/limits.hpp"
#include "engine/font/text_sink.hpp"

namespace vellicor {

namespace {

constexpr std::uint64_t kBitsPerByte = 8;
constexpr std::uint64_t kHexDigitsPerByte = 2;
constexpr std::size_t kGlyphNameMinDigits = 4;  // "char0041"
constexpr std::size_t kMostDecimalDigits = 20;  // of a 64-bit number
constexpr std::size_t kMostHexDigits = 16;
constexpr int kGlyphNameBase = 16;  // glyph names hold the code in hexadecimal

// The numbers of one record.
struct RecordFigures {
  std::uint64_t code;            // first glyph code + number - 1, not reduced to 16 bits
  std::uint64_t advance;         // DWIDTH
  std::uint64_t box_width;       // w
  std::uint64_t scalable_width;  // SWIDTH
  std::uint64_t box_height;      // lines the record holds
  std::uint64_t box_descent;     // minus the BBX y offset
  std::uint64_t hex_digits;      // per bitmap line
  std::uint64_t lines_before;    // blank lines above the first ink row
  std::uint64_t lines_after;     // blank lines below the last ink row
  bool unicode_name;             // "uni0041" rather than "char0041"
  bool plain_zero_offset;        // a descent of 0 is written "0", not "-0"
  // A glyph that places itself: the BBX offsets are written as they are,
  // signed, instead of "0 -<box_descent>".
  bool placed;
  std::int64_t x_offset;
  std::int64_t y_offset;
};

std::uint64_t side_blanks_of(const ConversionOptions& options) {
  return std::uint64_t{options.leading_blank} + options.trailing_blank;
}

// The code and name, the advance, the box width and the numbers that follow
// from them.
void set_code_and_width(RecordFigures& figures, const FontFrame& frame, std::uint64_t plain_code,
                        const RecordLabel* label, std::uint64_t advance, std::uint64_t box_width) {
  figures.code = label != nullptr ? label->code_point : plain_code;
  figures.unicode_name = label != nullptr;
  figures.advance = advance;
  figures.box_width = box_width;
  // For glyphs of the margin strip w never exceeds the point size, so this
  // is at most the fixed-width 960; a blank's advance is kept small by its
  // callers.
  figures.scalable_width = frame.scalable_width(advance);
  figures.hex_digits = (figures.box_width + kBitsPerByte - 1) / kBitsPerByte * kHexDigitsPerByte;
}

#if defined(__GNUC__) || defined(__clang__)
[[gnu::always_inline]]
#endif
inline RecordFigures
figures_for(const ConversionOptions& options, const FontFrame& frame, const GlyphBox& glyph,
            const RecordLabel* label) {
  RecordFigures figures{};
  const std::uint64_t width =
      options.fixed_width != 0 ? frame.width : glyph.width + side_blanks_of(options);
  set_code_and_width(figures, frame, std::uint64_t{options.first_glyph} + glyph.number - 1, label,
                     width, width);
  figures.plain_zero_offset = frame.framing == Framing::kByInk;

  // The frame's first row sits on the first line under the upper blank lines.
  figures.lines_before = frame.lines_above(glyph.top, options.upper_blank);
  const std::uint64_t needed =
      figures.lines_before + (glyph.bottom - glyph.top + 1) + options.lower_blank;
  // In the margin strip a glyph whose ink reaches below the box grows
  // downward: the box keeps its top line in common with every other glyph
  // and never holds fewer lines than the record has. A frame made by the ink
  // holds every glyph.
  figures.box_height = std::max(needed, frame.height);
  figures.box_descent = frame.descent + (figures.box_height - frame.height);
  figures.lines_after = figures.box_height - figures.lines_before - (glyph.bottom - glyph.top + 1);
  return figures;
}

// A glyph of a sheet: its ink box alone, at its own offsets.
RecordFigures placed_figures_for(const ConversionOptions& options, const FontFrame& frame,
                                 const GlyphBox& glyph, const RecordLabel* label) {
  RecordFigures figures{};
  set_code_and_width(figures, frame, std::uint64_t{options.first_glyph} + glyph.number - 1, label,
                     glyph.advance, glyph.width);
  figures.placed = true;
  figures.x_offset = glyph.x_offset;
  figures.y_offset = glyph.y_offset;
  figures.box_height = std::uint64_t{glyph.bottom} - glyph.top + 1;
  return figures;
}

// Inlined into the record writer: a strip's glyphs, nearly every record
// written, then cost what they cost before sheets had their own figures.
#if defined(__GNUC__) || defined(__clang__)
[[gnu::always_inline]]
#endif
inline RecordFigures
record_figures(const ConversionOptions& options, const FontFrame& frame, const GlyphBox& glyph,
               const RecordLabel* label) {
  if (glyph.placed) return placed_figures_for(options, frame, glyph, label);
  return figures_for(options, frame, glyph, label);
}

// A blank glyph: a box of the font's height, all of it blank lines; or, when
// the frame says so, no box and no lines at all.
RecordFigures blank_figures_for(const FontFrame& frame, const RecordLabel& label,
                                std::uint32_t advance, bool unicode_name) {
  RecordFigures figures{};
  if (frame.empty_blanks()) {
    set_code_and_width(figures, frame, 0, &label, advance, 0);
    figures.unicode_name = unicode_name;
    figures.plain_zero_offset = true;
    return figures;
  }
  set_code_and_width(figures, frame, 0, &label, advance, advance);
  figures.box_height = frame.height;
  figures.box_descent = frame.descent;
  figures.lines_before = figures.box_height;
  figures.lines_after = 0;
  return figures;
}

// The fixed texts of a record, shared by the writer and by record_size.
constexpr std::string_view kStartChar = "STARTCHAR char";
constexpr std::string_view kStartCharUnicode = "STARTCHAR u";
constexpr std::string_view kBasicPlaneNamePrefix = "ni";  // after the "u": "uni0041"
constexpr std::uint64_t kBasicPlaneEnd = 0x10000;
constexpr std::string_view kEncoding = "\nENCODING ";
constexpr std::string_view kScalableWidth = "\nSWIDTH ";
constexpr std::string_view kDeviceWidth = " 0\nDWIDTH ";
constexpr std::string_view kBox = " 0\nBBX ";
constexpr std::string_view kBoxSeparator = " ";
constexpr std::string_view kBoxOffsets = " 0 -";
constexpr std::string_view kBoxZeroOffsets = " 0 0";
constexpr std::string_view kBitmap = "\nBITMAP\n";
constexpr std::string_view kLineEnd = "\n";
constexpr std::string_view kEndChar = "ENDCHAR\n";

// Appends text at place, which has room for it; returns the end.
char* put_text(char* place, std::string_view text) {
  std::memcpy(place, text.data(), text.size());
  return place + text.size();
}

// "00" to "99", for writing two decimal digits at once.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t value = 0; value < 100; ++value) {
    pairs[2 * value] = static_cast<char>('0' + value / 10);
    pairs[2 * value + 1] = static_cast<char>('0' + value % 10);
  }
  return pairs;
}();

// Most numbers of a record are widths, heights and descents of one or two
// digits; those skip the general conversion.
char* put_decimal(char* place, std::uint64_t value) {
  constexpr std::uint64_t kBase = 10;
  if (value < kBase) {
    *place = static_cast<char>('0' + value);
    return place + 1;
  }
  if (value < kBase * kBase) {
    place[0] = static_cast<char>('0' + value / kBase);
    place[1] = static_cast<char>('0' + value % kBase);
    return place + 2;
  }
  // Codes and scalable widths: up to six digits, written two at a time from
  // the right.
  constexpr std::uint64_t kSixDigits = 1'000'000;
  if (value < kSixDigits) {
    const std::size_t digits = value < 1'000 ? 3 : value < 10'000 ? 4 : value < 100'000 ? 5 : 6;
    char* const end = place + digits;
    char* digit = end;
    for (; value >= kBase * kBase; value /= kBase * kBase) {
      digit -= 2;
      std::memcpy(digit, kDigitPairs.data() + 2 * (value % (kBase * kBase)), 2);
    }
    if (value >= kBase) {
      std::memcpy(digit - 2, kDigitPairs.data() + 2 * value, 2);
    } else {
      *(digit - 1) = static_cast<char>('0' + value);
    }
    return end;
  }
  return std::to_chars(place, place + kMostDecimalDigits, value).ptr;
}

char* put_glyph_name_digits(char* place, std::uint64_t code) {
  // Codes below 0x10000, nearly every one, take exactly four digits.
  constexpr std::uint64_t kFourDigitsEnd = 0x10000;
  if (code < kFourDigitsEnd) {
    constexpr char kLowerHexDigits[] = "0123456789abcdef";
    constexpr unsigned kNibbleBits = 4;
    constexpr std::uint64_t kNibble = 0xF;
    for (int digit = static_cast<int>(kGlyphNameMinDigits) - 1; digit >= 0; --digit) {
      place[digit] = kLowerHexDigits[code & kNibble];
      code >>= kNibbleBits;
    }
    return place + kGlyphNameMinDigits;
  }
  char digits[kMostHexDigits];
  const char* const end = std::to_chars(digits, digits + kMostHexDigits, code, kGlyphNameBase).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < kGlyphNameMinDigits) {
    std::memset(place, '0', kGlyphNameMinDigits - length);
    place += kGlyphNameMinDigits - length;
  }
  return put_text(place, std::string_view(digits, length));
}

// "uniXXXX" for the basic plane, "uXXXXX" or "uXXXXXX" beyond it: upper-case
// hexadecimal, at least four digits.
char* put_unicode_name(char* place, std::uint64_t code) {
  place = put_text(place, kStartCharUnicode);
  if (code < kBasicPlaneEnd) place = put_text(place, kBasicPlaneNamePrefix);
  char* const digits = place;
  place = put_glyph_name_digits(place, code);
  for (char* digit = digits; digit != place; ++digit) {
    if (*digit >= 'a' && *digit <= 'f') *digit = static_cast<char>(*digit - 'a' + 'A');
  }
  return place;
}

// The STARTCHAR line up to its end.
char* put_start_line(char* place, const RecordFigures& figures) {
  if (figures.unicode_name) return put_unicode_name(place, figures.code);
  place = put_text(place, kStartChar);
  return put_glyph_name_digits(place, figures.code);
}

// The most that the opening lines can hold: every number at its longest.
constexpr std::size_t kOpeningDecimalNumbers = 6;  // ENCODING, SWIDTH, DWIDTH and three of BBX
constexpr std::size_t kOpeningLinesMost =
    kStartChar.size() + kMostHexDigits + kEncoding.size() + kScalableWidth.size() +
    kDeviceWidth.size() + kBox.size() + kBoxSeparator.size() + kBoxOffsets.size() + kBitmap.size() +
    kOpeningDecimalNumbers * kMostDecimalDigits;
static_assert(kOpeningLinesMost <= TextSink::kMostReserved);

// Whether the BBX offsets are written " 0 0" instead of " 0 -<descent>".
bool zero_offsets(const RecordFigures& figures) {
  return figures.plain_zero_offset && figures.box_descent == 0;
}

char* put_signed(char* place, std::int64_t value) {
  if (value < 0) {
    *place++ = '-';
    return put_decimal(place, static_cast<std::uint64_t>(-value));
  }
  return put_decimal(place, static_cast<std::uint64_t>(value));
}

// Puts the opening lines at place, which has room for kOpeningLinesMost
// bytes; returns their end.
char* put_opening_lines(char* place, const RecordFigures& figures) {
  place = put_start_line(place, figures);
  place = put_text(place, kEncoding);
  place = put_decimal(place, figures.code);
  place = put_text(place, kScalableWidth);
  place = put_decimal(place, figures.scalable_width);
  place = put_text(place, kDeviceWidth);
  place = put_decimal(place, figures.advance);
  place = put_text(place, kBox);
  place = put_decimal(place, figures.box_width);
  place = put_text(place, kBoxSeparator);
  place = put_decimal(place, figures.box_height);
  if (figures.placed) {
    place = put_text(place, kBoxSeparator);
    place = put_signed(place, figures.x_offset);
    place = put_text(place, kBoxSeparator);
    place = put_signed(place, figures.y_offset);
  } else if (zero_offsets(figures)) {
    place = put_text(place, kBoxZeroOffsets);
  } else {
    place = put_text(place, kBoxOffsets);
    place = put_decimal(place, figures.box_descent);
  }
  return put_text(place, kBitmap);
}

void write_opening_lines(TextSink& sink, const RecordFigures& figures) {
  char* const start = sink.reserve(kOpeningLinesMost);
  if (start == nullptr) return;  // never: the static_assert above
  sink.advance(static_cast<std::size_t>(put_opening_lines(start, figures) - start));
}

std::uint64_t digit_count(std::uint64_t value, std::uint64_t base) {
  std::uint64_t digits = 1;
  for (; value >= base; value /= base) ++digits;
  return digits;
}

std::uint64_t signed_digit_count(std::int64_t value) {
  constexpr std::uint64_t kDecimal = 10;
  return value < 0 ? 1 + digit_count(static_cast<std::uint64_t>(-value), kDecimal)
                   : digit_count(static_cast<std::uint64_t>(value), kDecimal);
}

// Bytes of the lines write_opening_lines writes.
std::uint64_t opening_lines_size(const RecordFigures& figures) {
  constexpr std::uint64_t kDecimal = 10;
  constexpr std::uint64_t kHexadecimal = 16;
  const std::uint64_t name_digits =
      std::max<std::uint64_t>(digit_count(figures.code, kHexadecimal), kGlyphNameMinDigits);
  std::uint64_t name = kStartChar.size() + name_digits;
  if (figures.unicode_name) {
    name = kStartCharUnicode.size() + name_digits +
           (figures.code < kBasicPlaneEnd ? kBasicPlaneNamePrefix.size() : 0);
  }
  const std::uint64_t fixed = kEncoding.size() + kScalableWidth.size() + kDeviceWidth.size() +
                              kBox.size() + kBoxSeparator.size() + kBoxOffsets.size() +
                              kBitmap.size();
  // " 0 0" is as long as " 0 -", which fixed counts.
  static_assert(kBoxZeroOffsets.size() == kBoxOffsets.size());
  // Placed offsets: two separators and two signed numbers where the fixed
  // texts count " 0 -".
  const std::uint64_t offsets =
      figures.placed ? kBoxSeparator.size() * 2 + signed_digit_count(figures.x_offset) +
                           signed_digit_count(figures.y_offset) - kBoxOffsets.size()
      : zero_offsets(figures) ? 0
                              : digit_count(figures.box_descent, kDecimal);
  return name + fixed + digit_count(figures.code, kDecimal) +
         digit_count(figures.scalable_width, kDecimal) + digit_count(figures.advance, kDecimal) +
         digit_count(figures.box_width, kDecimal) + digit_count(figures.box_height, kDecimal) +
         offsets;
}

// Room reserved past a line's end so that put_zeros may store a whole block
// of '0' digits whatever the count; the bytes past the line are overwritten
// later or never written out.
constexpr std::size_t kZeroBlock = 16;
constexpr char kZeroDigits[kZeroBlock + 1] = "0000000000000000";

// Writes count '0' digits at place, which has room for count and kZeroBlock more.
void put_zeros(char* place, std::size_t count) {
  if (count <= kZeroBlock) {
    std::memcpy(place, kZeroDigits, kZeroBlock);  // a fixed size: two stores
  } else {
    std::memset(place, '0', count);
  }
}

// Room for a line of line_size bytes and the zero block after it, or null when
// that exceeds the buffer and the line goes out in pieces.
char* reserve_line(TextSink& sink, std::uint64_t line_size) {
  if (line_size > TextSink::kMostReserved - kZeroBlock) return nullptr;
  return sink.reserve(static_cast<std::size_t>(line_size) + kZeroBlock);
}

// The lines put straight at place, which has room for them and kZeroBlock
// bytes more: a whole record's reservation, or one line's.
char* put_blank_lines(char* place, const RecordFigures& figures, std::uint64_t count) {
  const auto digits = static_cast<std::size_t>(figures.hex_digits);
  for (; count > 0; --count) {
    put_zeros(place, digits);
    place[digits] = kLineEnd.front();
    place += digits + kLineEnd.size();
  }
  return place;
}

void write_blank_lines(TextSink& sink, const RecordFigures& figures, std::uint64_t count) {
  const std::uint64_t line_size = figures.hex_digits + kLineEnd.size();
  for (; count > 0 && sink.ok(); --count) {
    char* const place = reserve_line(sink, line_size);
    if (place == nullptr) {
      sink.repeat('0', figures.hex_digits);
      sink.text(kLineEnd);
      continue;
    }
    sink.advance(static_cast<std::size_t>(put_blank_lines(place, figures, 1) - place));
  }
}

// A bitmap line's bit string is taken from the picture 56 bits at a time: an
// eight-byte load shifted by up to 7 bits still holds 57 wanted bits.
constexpr std::uint64_t kChunkBits = 56;
constexpr std::uint64_t kChunkBytes = kChunkBits / kBitsPerByte;
constexpr std::uint64_t kWordBits = 64;
constexpr std::uint64_t kAllBits = ~std::uint64_t{0};

// Reads the bit strings of one glyph's bitmap lines from the picture: the
// leading blank zero bits, then one bit per glyph column. Where a line's bits
// sit in a row is the same for every row of the glyph, so it is worked out
// once; when every load of every row falls inside the row and the delivered
// bytes, the loads skip their checks.
class LineReader {
 public:
  LineReader(const InkMap& picture, const GlyphBox& glyph, std::uint32_t leading)
      : picture_(picture),
        glyph_from_(leading),
        glyph_to_(std::uint64_t{leading} + glyph.width),
        used_bytes_((glyph_to_ + kBitsPerByte - 1) / kBitsPerByte) {
    constexpr auto kBitsPerByteSigned = static_cast<std::int64_t>(kBitsPerByte);
    // The picture column of the line's first bit lies left of the picture
    // when the leading blank is wider than the glyph's start column.
    const std::int64_t first_column = std::int64_t{glyph.start} - std::int64_t{leading};
    // Rounded down, also for columns left of the picture.
    first_byte_ = first_column >= 0
                      ? first_column / kBitsPerByteSigned
                      : -((-first_column + kBitsPerByteSigned - 1) / kBitsPerByteSigned);
    shift_ = static_cast<std::uint32_t>(first_column - first_byte_ * kBitsPerByteSigned);
    first_mask_ = chunk_mask(0);
    const std::uint64_t last_chunk = (used_bytes_ - 1) / kChunkBytes;
    direct_ = picture.holds_bytes({glyph.top, glyph.bottom + 1}, first_byte_,
                                  last_chunk * kChunkBytes + InkMap::kBytesPerWord);
  }

  std::uint64_t used_bytes() const { return used_bytes_; }

  // Hands the used_bytes() bytes of row y's bit string to emit, left to right.
  template <typename Emit>
  void for_each_byte(std::uint32_t y, Emit&& emit) const {
    if (used_bytes_ <= kChunkBytes) {
      // The usual glyph, at most 56 bits with its leading blank: one load.
      const std::uint64_t bits = chunk_bits(y, 0);
      for (std::uint64_t i = 0; i < used_bytes_; ++i) {
        const auto byte = static_cast<std::uint8_t>(bits >> (kWordBits - (i + 1) * kBitsPerByte));
        emit(byte);
      }
      return;
    }
    for (std::uint64_t chunk = 0; chunk * kChunkBytes < used_bytes_; ++chunk) {
      const std::uint64_t bits = chunk_bits(y, chunk);
      const std::uint64_t bytes = std::min(kChunkBytes, used_bytes_ - chunk * kChunkBytes);
      for (std::uint64_t i = 0; i < bytes; ++i) {
        const auto byte = static_cast<std::uint8_t>(bits >> (kWordBits - (i + 1) * kBitsPerByte));
        emit(byte);
      }
    }
  }

 private:
  // The bits of chunk chunk_index that carry glyph columns, in the top 56.
  std::uint64_t chunk_mask(std::uint64_t chunk_index) const {
    const std::uint64_t chunk_start = chunk_index * kChunkBits;
    const std::uint64_t from = std::max(glyph_from_, chunk_start);
    const std::uint64_t to = std::min(glyph_to_, chunk_start + kChunkBits);
    if (from >= to) return 0;  // all leading blank, or past the glyph
    return (kAllBits >> (from - chunk_start)) & ~(kAllBits >> (to - chunk_start));
  }

  // Bits chunk_index * 56 ... of row y's bit string, in the top 56 bits. A
  // chunk starts 7 bytes after the one before.
  std::uint64_t chunk_bits(std::uint32_t y, std::uint64_t chunk_index) const {
    const std::uint64_t mask = chunk_index == 0 ? first_mask_ : chunk_mask(chunk_index);
    if (mask == 0) return 0;
    const std::int64_t byte_index =
        first_byte_ + static_cast<std::int64_t>(chunk_index * kChunkBytes);
    const std::uint64_t bytes =
        direct_
            ? picture_.ink_bytes_at(picture_.row_offset(y) + static_cast<std::uint64_t>(byte_index))
            : picture_.ink_bytes_from(y, byte_index);
    return (bytes << shift_) & mask;
  }

  const InkMap& picture_;
  std::uint64_t glyph_from_;  // the line's first bit that carries a glyph column
  std::uint64_t glyph_to_;    // one past its last
  std::uint64_t used_bytes_;  // bytes the bit string fills
  std::int64_t first_byte_;   // the picture byte holding the line's first bit
  std::uint32_t shift_;       // that bit's place in it, from the most significant
  std::uint64_t first_mask_;  // chunk_mask(0), which nearly every line needs
  bool direct_;               // every load lies in its row and the delivered bytes
};

// Inlined into the record writer's line loop, where it is most of the work:
// left to itself the compiler makes it a call per line.
#if defined(__GNUC__) || defined(__clang__)
[[gnu::always_inline]]
#endif
inline char*
put_bitmap_line(char* place, const RecordFigures& figures, const LineReader& reader,
                std::uint32_t y) {
  const auto padding =
      static_cast<std::size_t>(figures.hex_digits - reader.used_bytes() * kHexDigitsPerByte);
  reader.for_each_byte(y, [&place](std::uint8_t byte) {
    TextSink::put_hex_byte(byte, place);
    place += kHexDigitsPerByte;
  });
  put_zeros(place, padding);
  place[padding] = kLineEnd.front();
  return place + padding + kLineEnd.size();
}

// The row's bit string, then '0' digits up to the line's hex width.
void write_bitmap_line(TextSink& sink, const RecordFigures& figures, const LineReader& reader,
                       std::uint32_t y) {
  const std::uint64_t line_size = figures.hex_digits + kLineEnd.size();
  char* const start = reserve_line(sink, line_size);
  if (start == nullptr) {
    reader.for_each_byte(y, [&](std::uint8_t byte) { sink.hex_byte(byte); });
    sink.repeat('0', figures.hex_digits - reader.used_bytes() * kHexDigitsPerByte);
    sink.text(kLineEnd);
    return;
  }
  sink.advance(static_cast<std::size_t>(put_bitmap_line(start, figures, reader, y) - start));
}

// The most a record of these figures can take, with the zero block after it.
std::uint64_t record_room(const RecordFigures& figures) {
  return kOpeningLinesMost + figures.box_height * (figures.hex_digits + kLineEnd.size()) +
         kEndChar.size() + kZeroBlock;
}

}  // namespace

ResultCode write_glyph_record(OutputFile& file, const InkMap& picture,
                              const ConversionOptions& options, const FontFrame& frame,
                              const GlyphBox& glyph, const RecordLabel* label) {
  const RecordFigures figures = record_figures(options, frame, glyph, label);
  const LineReader reader(picture, glyph, glyph.placed ? 0 : options.leading_blank);
  // The usual record fits one reservation and is written line after line
  // without asking for room again.
  if (record_room(figures) <= TextSink::kMostReserved) {
    char* const start = file.reserve(static_cast<std::size_t>(record_room(figures)));
    if (start != nullptr) {
      char* place = put_opening_lines(start, figures);
      place = put_blank_lines(place, figures, figures.lines_before);
      for (std::uint32_t y = glyph.top; y <= glyph.bottom; ++y) {
        place = put_bitmap_line(place, figures, reader, y);
      }
      place = put_blank_lines(place, figures, figures.lines_after);
      place = put_text(place, kEndChar);
      file.advance(static_cast<std::size_t>(place - start));
      return file.ok() ? ResultCode::kOk : ResultCode::kFileAccess;
    }
  }
  TextSink sink(file);
  write_opening_lines(sink, figures);
  write_blank_lines(sink, figures, figures.lines_before);
  for (std::uint32_t y = glyph.top; y <= glyph.bottom && sink.ok(); ++y) {
    write_bitmap_line(sink, figures, reader, y);
  }
  write_blank_lines(sink, figures, figures.lines_after);
  sink.text(kEndChar);
  // The record stays in the file's buffer, which goes out whenever it is full.
  return sink.finish();
}

namespace {

// The box and numbers of a record, its lines all blank.
void start_bitmap(const RecordFigures& figures, GlyphBitmap& bitmap) {
  bitmap.width = figures.box_width;
  bitmap.height = figures.box_height;
  bitmap.x_offset = figures.placed ? figures.x_offset : 0;
  bitmap.y_offset =
      figures.placed ? figures.y_offset : -static_cast<std::int64_t>(figures.box_descent);
  bitmap.advance = figures.advance;
  bitmap.scalable_width = figures.scalable_width;
  bitmap.stride = (figures.box_width + kBitsPerByte - 1) / kBitsPerByte;
  bitmap.lines.assign(static_cast<std::size_t>(bitmap.stride * bitmap.height), 0);
}

}  // namespace

void glyph_bitmap(const InkMap& picture, const ConversionOptions& options, const FontFrame& frame,
                  const GlyphBox& glyph, GlyphBitmap& bitmap) {
  const RecordFigures figures = record_figures(options, frame, glyph, nullptr);
  start_bitmap(figures, bitmap);
  const LineReader reader(picture, glyph, glyph.placed ? 0 : options.leading_blank);
  std::uint8_t* line = bitmap.lines.data() + figures.lines_before * bitmap.stride;
  for (std::uint32_t y = glyph.top; y <= glyph.bottom; ++y, line += bitmap.stride) {
    std::uint8_t* byte = line;
    reader.for_each_byte(y, [&byte](std::uint8_t bits) { *byte++ = bits; });
  }
}

void blank_bitmap(const FontFrame& frame, std::uint32_t advance, GlyphBitmap& bitmap) {
  const RecordLabel label{};
  start_bitmap(blank_figures_for(frame, label, advance, true), bitmap);
}

std::uint64_t glyph_record_size(const ConversionOptions& options, const FontFrame& frame,
                                const GlyphBox& glyph, const RecordLabel* label) {
  const RecordFigures figures = record_figures(options, frame, glyph, label);
  // Every bitmap line, blank or not, holds hex_digits digits and its line end;
  // box_height is the record's line count. Neither factor reaches 2^34, so the
  // product fits.
  return opening_lines_size(figures) + figures.box_height * (figures.hex_digits + kLineEnd.size()) +
         kEndChar.size();
}

ResultCode write_blank_record(OutputFile& file, const FontFrame& frame, const RecordLabel& label,
                              std::uint32_t advance, bool unicode_name) {
  const RecordFigures figures = blank_figures_for(frame, label, advance, unicode_name);
  TextSink sink(file);
  write_opening_lines(sink, figures);
  write_blank_lines(sink, figures, figures.box_height);
  sink.text(kEndChar);
  return sink.finish();
}

std::uint64_t blank_record_size(const FontFrame& frame, const RecordLabel& label,
                                std::uint32_t advance, bool unicode_name) {
  const RecordFigures figures = blank_figures_for(frame, label, advance, unicode_name);
  return opening_lines_size(figures) + figures.box_height * (figures.hex_digits + kLineEnd.size()) +
         kEndChar.size();
}

std::string glyph_name(std::uint64_t code, bool unicode_name) {
  RecordFigures figures{};
  figures.code = code;
  figures.unicode_name = unicode_name;
  std::array<char, kStartChar.size() + kBasicPlaneNamePrefix.size() + kMostHexDigits> line{};
  char* const end = put_start_line(line.data(), figures);
  constexpr std::size_t kKeyword = std::string_view("STARTCHAR ").size();
  return std::string(line.data() + kKeyword, end);
}

std::uint64_t glyph_records_size_bound(const ConversionOptions& options, const FontMeasure& measure,
                                       const FontFrame& frame) {
  if (measure.glyph_count == 0) return 0;
  const std::uint64_t font_width = frame.width;
  const std::uint64_t font_height = frame.height;
  // Every number of a record grows with what it counts, and so does its
  // digit count: the largest record has the last code, the font's full
  // width and the most lines any glyph can need. A glyph's lines reach at
  // most one below its last ink row past the blank lines (figures_for).
  RecordFigures most{};
  most.code = std::uint64_t{options.first_glyph} + measure.glyph_count - 1;
  most.advance = font_width;
  most.box_width = font_width;
  most.scalable_width = frame.scalable_width(font_width);
  most.hex_digits = (font_width + kBitsPerByte - 1) / kBitsPerByte * kHexDigitsPerByte;
  const std::uint64_t deepest_lines =
      std::uint64_t{options.upper_blank} + measure.deepest + 1 + options.lower_blank;
  most.box_height = std::max(deepest_lines, font_height);
  most.box_descent = options.descent + (most.box_height - font_height);
  const std::uint64_t record = opening_lines_size(most) +
                               most.box_height * (most.hex_digits + kLineEnd.size()) +
                               kEndChar.size();
  constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
  return record > kMost / measure.glyph_count ? kMost : record * measure.glyph_count;
}

}  // namespace vellicor
