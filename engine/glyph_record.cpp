// Glyph records: opening lines, bitmap lines and blank lines.
#include "engine/glyph_record.hpp"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "engine/format_limits.hpp"
#include "engine/text_sink.hpp"

namespace vellicor {

namespace {

constexpr std::uint64_t kBitsPerByte = 8;
constexpr std::uint64_t kHexDigitsPerByte = 2;
constexpr std::size_t kGlyphNameMinDigits = 4;  // "char0041"

// The numbers of one record.
struct RecordFigures {
  std::uint64_t code;            // first glyph code + number - 1, not reduced to 16 bits
  std::uint64_t box_width;       // w
  std::uint64_t scalable_width;  // SWIDTH
  std::uint64_t box_height;      // lines the record holds
  std::uint64_t box_descent;     // minus the BBX y offset
  std::uint64_t hex_digits;      // per bitmap line
  std::uint64_t lines_before;    // blank lines above the first ink row
  std::uint64_t lines_after;     // blank lines below the last ink row
};

RecordFigures figures_for(const ConversionOptions& options, const FontMeasure& measure,
                          const GlyphSpan& glyph) {
  const std::uint64_t side_blanks = std::uint64_t{options.leading_blank} + options.trailing_blank;
  const std::uint64_t font_width = measure.widest + side_blanks;  // the point size too
  const std::uint64_t font_height =
      std::uint64_t{measure.tallest} + options.upper_blank + options.lower_blank;

  RecordFigures figures{};
  figures.code = std::uint64_t{options.first_glyph} + glyph.number - 1;
  figures.box_width = options.fixed_width != 0 ? font_width : glyph.width + side_blanks;
  // w never exceeds the point size, so this is at most the fixed-width 960.
  figures.scalable_width =
      figures.box_width * kBdfScalableUnitsPerPoint / (font_width * kBdfResolutionDpi);
  figures.hex_digits = (figures.box_width + kBitsPerByte - 1) / kBitsPerByte * kHexDigitsPerByte;

  // Picture row r sits on line upper blank + r - 1, so row 1 comes right under
  // the upper blank lines. A glyph inked in row 0 with no upper blank starts
  // with its ink instead of a line above the box.
  const std::uint64_t above = std::uint64_t{options.upper_blank} + glyph.top;
  figures.lines_before = above > 0 ? above - 1 : 0;
  const std::uint64_t needed =
      figures.lines_before + (glyph.bottom - glyph.top + 1) + options.lower_blank;
  // A glyph whose ink reaches below the box grows downward: the box keeps its
  // top line in common with every other glyph and never holds fewer lines
  // than the record has.
  figures.box_height = std::max(needed, font_height);
  figures.box_descent = options.descent + (figures.box_height - font_height);
  figures.lines_after = figures.box_height - figures.lines_before - (glyph.bottom - glyph.top + 1);
  return figures;
}

// The fixed texts of a record, shared by the writer and by record_size.
constexpr std::string_view kStartChar = "STARTCHAR char";
constexpr std::string_view kEncoding = "\nENCODING ";
constexpr std::string_view kScalableWidth = "\nSWIDTH ";
constexpr std::string_view kDeviceWidth = " 0\nDWIDTH ";
constexpr std::string_view kBox = " 0\nBBX ";
constexpr std::string_view kBoxSeparator = " ";
constexpr std::string_view kBoxOffsets = " 0 -";
constexpr std::string_view kBitmap = "\nBITMAP\n";
constexpr std::string_view kLineEnd = "\n";
constexpr std::string_view kEndChar = "ENDCHAR\n";

void write_opening_lines(TextSink& sink, const RecordFigures& figures) {
  sink.text(kStartChar);
  sink.lower_hex(figures.code, kGlyphNameMinDigits);
  sink.text(kEncoding);
  sink.number(figures.code);
  sink.text(kScalableWidth);
  sink.number(figures.scalable_width);
  sink.text(kDeviceWidth);
  sink.number(figures.box_width);
  sink.text(kBox);
  sink.number(figures.box_width);
  sink.text(kBoxSeparator);
  sink.number(figures.box_height);
  sink.text(kBoxOffsets);
  sink.number(figures.box_descent);
  sink.text(kBitmap);
}

std::uint64_t digit_count(std::uint64_t value, std::uint64_t base) {
  std::uint64_t digits = 1;
  for (; value >= base; value /= base) ++digits;
  return digits;
}

// Bytes of the lines write_opening_lines writes.
std::uint64_t opening_lines_size(const RecordFigures& figures) {
  constexpr std::uint64_t kDecimal = 10;
  constexpr std::uint64_t kHexadecimal = 16;
  const std::uint64_t fixed = kStartChar.size() + kEncoding.size() + kScalableWidth.size() +
                              kDeviceWidth.size() + kBox.size() + kBoxSeparator.size() +
                              kBoxOffsets.size() + kBitmap.size();
  return fixed +
         std::max<std::uint64_t>(digit_count(figures.code, kHexadecimal), kGlyphNameMinDigits) +
         digit_count(figures.code, kDecimal) + digit_count(figures.scalable_width, kDecimal) +
         2 * digit_count(figures.box_width, kDecimal) + digit_count(figures.box_height, kDecimal) +
         digit_count(figures.box_descent, kDecimal);
}

void write_blank_lines(TextSink& sink, const RecordFigures& figures, std::uint64_t count) {
  for (; count > 0 && sink.ok(); --count) {
    sink.repeat('0', figures.hex_digits);
    sink.text(kLineEnd);
  }
}

// Eight pixels of row y starting at picture column first_column (which may be
// negative), the leftmost in the most significant bit; pixels outside the
// row are paper.
std::uint8_t ink_window(const PictureView& picture, std::uint32_t y, std::int64_t first_column) {
  constexpr std::int64_t kColumnsPerByte = 8;
  // Rounded down, also for negative columns.
  const std::int64_t byte_index =
      (first_column >= 0 ? first_column : first_column - (kColumnsPerByte - 1)) / kColumnsPerByte;
  const auto shift = static_cast<std::uint32_t>(first_column - byte_index * kColumnsPerByte);
  auto byte_at = [&](std::int64_t index) -> std::uint32_t {
    if (index < 0 || index >= std::int64_t{picture.stride()}) return 0;
    return picture.ink_byte(y, static_cast<std::uint32_t>(index));
  };
  // Two neighbouring bytes, shifted so the wanted eight pixels fill the high byte.
  const std::uint32_t pair = (byte_at(byte_index) << kBitsPerByte) | byte_at(byte_index + 1);
  return static_cast<std::uint8_t>((pair << shift) >> kBitsPerByte);
}

// Bits of output byte byte_index that carry glyph columns: the leading blank
// bits before them and anything past the glyph's last column stay 0.
std::uint8_t glyph_bits_mask(std::uint64_t byte_index, std::uint64_t leading, std::uint64_t width) {
  const std::uint64_t byte_first_bit = byte_index * kBitsPerByte;
  const std::uint64_t from = leading > byte_first_bit ? leading - byte_first_bit : 0;
  const std::uint64_t to = std::min(leading + width - byte_first_bit, kBitsPerByte);
  if (from >= to) return 0;
  const std::uint32_t mask = (0xFFu >> from) & (0xFFu << (kBitsPerByte - to));
  return static_cast<std::uint8_t>(mask);
}

// The row's bit string: leading blank zero bits, one bit per glyph column,
// then '0' digits up to the line's hex width.
void write_bitmap_line(TextSink& sink, const PictureView& picture, const RecordFigures& figures,
                       const GlyphSpan& glyph, std::uint32_t leading, std::uint32_t y) {
  const std::uint64_t used_bits = std::uint64_t{leading} + glyph.width;
  const std::uint64_t used_bytes = (used_bits + kBitsPerByte - 1) / kBitsPerByte;
  for (std::uint64_t index = 0; index < used_bytes && sink.ok(); ++index) {
    const std::int64_t first_column = std::int64_t{glyph.start} - std::int64_t{leading} +
                                      static_cast<std::int64_t>(index * kBitsPerByte);
    const std::uint8_t mask = glyph_bits_mask(index, leading, glyph.width);
    sink.hex_byte(
        mask == 0 ? 0 : static_cast<std::uint8_t>(ink_window(picture, y, first_column) & mask));
  }
  sink.repeat('0', figures.hex_digits - used_bytes * kHexDigitsPerByte);
  sink.text(kLineEnd);
}

}  // namespace

ResultCode write_glyph_record(OutputFile& file, const PictureView& picture,
                              const ConversionOptions& options, const FontMeasure& measure,
                              const GlyphSpan& glyph) {
  const RecordFigures figures = figures_for(options, measure, glyph);
  TextSink sink(file);
  write_opening_lines(sink, figures);
  write_blank_lines(sink, figures, figures.lines_before);
  for (std::uint32_t y = glyph.top; y <= glyph.bottom && sink.ok(); ++y) {
    write_bitmap_line(sink, picture, figures, glyph, options.leading_blank, y);
  }
  write_blank_lines(sink, figures, figures.lines_after);
  sink.text(kEndChar);
  const ResultCode result = sink.finish();
  if (failed(result)) return result;
  // The file layer buffers; this is where the record's bytes are really written.
  return file.flush(nullptr);
}

std::uint64_t glyph_record_size(const ConversionOptions& options, const FontMeasure& measure,
                                const GlyphSpan& glyph) {
  const RecordFigures figures = figures_for(options, measure, glyph);
  // Every bitmap line, blank or not, holds hex_digits digits and its line end;
  // box_height is the record's line count. Neither factor reaches 2^34, so the
  // product fits.
  return opening_lines_size(figures) + figures.box_height * (figures.hex_digits + kLineEnd.size()) +
         kEndChar.size();
}

}  // namespace vellicor
