// PCF tables in the order and formats the X font compiler writes them. A
// first pass over the glyphs measures every table, so the table of contents
// can lead the file; the second writes. Only the per-glyph figures the
// tables need up front are kept, and one glyph's bitmap at a time.
#include "engine/font/pcf_writer.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/font/bdf_header.hpp"
#include "engine/font/font_glyph_bitmap.hpp"
#include "engine/font/glyph_record.hpp"

namespace vellicor {

namespace {

// Table types, as the table of contents names them.
constexpr std::uint32_t kPropertiesTable = 1U << 0;
constexpr std::uint32_t kAcceleratorsTable = 1U << 1;
constexpr std::uint32_t kMetricsTable = 1U << 2;
constexpr std::uint32_t kBitmapsTable = 1U << 3;
constexpr std::uint32_t kEncodingsTable = 1U << 5;
constexpr std::uint32_t kScalableWidthsTable = 1U << 6;
constexpr std::uint32_t kGlyphNamesTable = 1U << 7;
constexpr std::uint32_t kBdfAcceleratorsTable = 1U << 8;
constexpr std::size_t kTableCount = 8;

// Every table's format: glyph lines padded to 1 << 2 bytes, bytes and bits
// most significant first, scan unit 1 byte.
constexpr std::uint32_t kGlyphPadIndex = 2;
constexpr std::uint32_t kMostSignificantByteFirst = 1U << 2;
constexpr std::uint32_t kMostSignificantBitFirst = 1U << 3;
constexpr std::uint32_t kFormat =
    kGlyphPadIndex | kMostSignificantByteFirst | kMostSignificantBitFirst;
// Metrics of one byte a figure, each stored plus 0x80.
constexpr std::uint32_t kCompressedMetrics = 0x100;
constexpr std::int64_t kCompressedBias = 0x80;

constexpr std::size_t kGlyphPads = 4;  // the bitmap sizes for lines of 1, 2, 4 and 8 bytes
constexpr std::uint64_t kPaddedLineBytes = std::uint64_t{1} << kGlyphPadIndex;
constexpr std::uint64_t kBitsPerByte = 8;
constexpr std::uint16_t kNoGlyph = 0xFFFF;  // an encoding without a glyph
constexpr std::uint64_t kMostEncoded = 0xFFFF;
constexpr unsigned kRowShift = 8;  // a code's row is its high byte, its column the low one
constexpr std::uint32_t kColumnMask = 0xFF;

constexpr std::uint64_t kHeaderBytes = 8 + kTableCount * 16;  // magic, count, contents
constexpr std::uint64_t kAcceleratorBytes = 4 + 8 + 3 * 4 + 2 * 12;
constexpr std::uint64_t kMetricBytes = 12;
constexpr std::uint64_t kCompressedMetricBytes = 5;
constexpr std::uint64_t kPropertyBytes = 9;

std::uint64_t padded(std::uint64_t bytes) { return (bytes + 3) / 4 * 4; }

// A glyph's figures as PCF states them.
struct Metric {
  std::int64_t left = 0;   // left side bearing: the box's x offset
  std::int64_t right = 0;  // right side bearing: offset plus width
  std::int64_t advance = 0;
  std::int64_t ascent = 0;   // rows above the baseline
  std::int64_t descent = 0;  // rows below it

  std::uint64_t columns() const { return static_cast<std::uint64_t>(right - left); }
  std::uint64_t rows() const { return static_cast<std::uint64_t>(ascent + descent); }
  std::uint64_t line_bytes(std::uint64_t pad) const {
    return (columns() + pad * kBitsPerByte - 1) / (pad * kBitsPerByte) * pad;
  }
};

struct GlyphEntry {
  std::array<std::int16_t, 5> figures{};  // left, right, advance, ascent, descent
  std::int32_t scalable_width = 0;
  std::uint64_t code = 0;

  Metric metric() const {
    return Metric{figures[0], figures[1], figures[2], figures[3], figures[4]};
  }
};

// What the first pass finds.
struct Plan {
  std::vector<GlyphEntry> glyphs;
  Metric least;                   // each figure's least over all glyphs
  Metric most;                    // and its greatest
  std::int64_t most_overlap = 0;  // right side bearing past the advance
  bool compressed = true;
  std::array<std::uint64_t, kGlyphPads> bitmap_bytes{};
  std::uint64_t name_bytes = 0;
  std::uint32_t first_column = kColumnMask, last_column = 0, first_row = kColumnMask, last_row = 0;
  bool encoded_any = false;
};

bool fits_int16(std::int64_t value) {
  return value >= std::numeric_limits<std::int16_t>::min() &&
         value <= std::numeric_limits<std::int16_t>::max();
}

bool encodable(const GlyphEntry& entry, std::size_t index) {
  return entry.code <= kMostEncoded && index < kMostEncoded;
}

void take_bounds(Plan& plan, const Metric& metric, bool first) {
  const auto lesser = [first](std::int64_t& least, std::int64_t value) {
    least = first ? value : std::min(least, value);
  };
  const auto greater = [first](std::int64_t& most, std::int64_t value) {
    most = first ? value : std::max(most, value);
  };
  lesser(plan.least.left, metric.left);
  lesser(plan.least.right, metric.right);
  lesser(plan.least.advance, metric.advance);
  lesser(plan.least.ascent, metric.ascent);
  lesser(plan.least.descent, metric.descent);
  greater(plan.most.left, metric.left);
  greater(plan.most.right, metric.right);
  greater(plan.most.advance, metric.advance);
  greater(plan.most.ascent, metric.ascent);
  greater(plan.most.descent, metric.descent);
  greater(plan.most_overlap, metric.right - metric.advance);
}

// The first pass. kGlyphTooLarge when a glyph's figure leaves 16 bits,
// kFontTooLarge when a table leaves 32.
ErrorDetail measure(const FontModel& font, const InkMap& map, Plan& plan) {
  const bool unicode_names = font.uses_list();
  GlyphBitmap bitmap;
  ErrorDetail problem = ErrorDetail::kNone;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    font_glyph_bitmap(font, map, glyph, bitmap);
    const std::int64_t height = static_cast<std::int64_t>(bitmap.height);
    const Metric metric{bitmap.x_offset, bitmap.x_offset + static_cast<std::int64_t>(bitmap.width),
                        static_cast<std::int64_t>(bitmap.advance), bitmap.y_offset + height,
                        -bitmap.y_offset};
    GlyphEntry entry;
    const std::array<std::int64_t, 5> figures = {metric.left, metric.right, metric.advance,
                                                 metric.ascent, metric.descent};
    for (std::size_t i = 0; i < figures.size(); ++i) {
      if (!fits_int16(figures[i])) {
        problem = ErrorDetail::kGlyphTooLarge;
        return false;
      }
      entry.figures[i] = static_cast<std::int16_t>(figures[i]);
    }
    if (bitmap.scalable_width > std::numeric_limits<std::int32_t>::max() ||
        !fits_int16(metric.right - metric.left) || !fits_int16(metric.ascent + metric.descent)) {
      problem = ErrorDetail::kGlyphTooLarge;
      return false;
    }
    entry.scalable_width = static_cast<std::int32_t>(bitmap.scalable_width);
    entry.code = glyph.code;
    take_bounds(plan, metric, plan.glyphs.empty());
    for (std::size_t pad = 0; pad < kGlyphPads; ++pad) {
      plan.bitmap_bytes[pad] += metric.line_bytes(std::uint64_t{1} << pad) * metric.rows();
    }
    plan.name_bytes += glyph_name(glyph.code, unicode_names).size() + 1;
    if (encodable(entry, plan.glyphs.size())) {
      const auto row = static_cast<std::uint32_t>(entry.code >> kRowShift);
      const auto column = static_cast<std::uint32_t>(entry.code) & kColumnMask;
      plan.first_row = std::min(plan.first_row, row);
      plan.last_row = std::max(plan.last_row, row);
      plan.first_column = std::min(plan.first_column, column);
      plan.last_column = std::max(plan.last_column, column);
      plan.encoded_any = true;
    }
    plan.glyphs.push_back(entry);
    return true;
  });
  if (problem != ErrorDetail::kNone) return problem;
  if (!plan.encoded_any) plan.first_row = plan.first_column = 0;
  const auto fits_byte = [](std::int64_t value) {
    return value >= -kCompressedBias && value < kCompressedBias;
  };
  constexpr std::size_t kMostCompressed = 0xFFFF;  // their count has 16 bits
  plan.compressed = plan.glyphs.size() <= kMostCompressed && fits_byte(plan.least.left) &&
                    fits_byte(plan.most.left) && fits_byte(plan.least.right) &&
                    fits_byte(plan.most.right) && fits_byte(plan.least.advance) &&
                    fits_byte(plan.most.advance) && fits_byte(plan.least.ascent) &&
                    fits_byte(plan.most.ascent) && fits_byte(plan.least.descent) &&
                    fits_byte(plan.most.descent);
  for (const std::uint64_t bytes : plan.bitmap_bytes) {
    if (bytes > std::numeric_limits<std::uint32_t>::max()) return ErrorDetail::kFontTooLarge;
  }
  if (plan.name_bytes > std::numeric_limits<std::uint32_t>::max()) {
    return ErrorDetail::kFontTooLarge;
  }
  return ErrorDetail::kNone;
}

// Bytes in the tables' order, gathered and handed to the file in blocks.
class TableWriter {
 public:
  explicit TableWriter(OutputFile& file) : file_(file) {}

  void little32(std::uint32_t value) {
    for (unsigned shift = 0; shift < 32; shift += 8)
      byte(static_cast<std::uint8_t>(value >> shift));
  }
  void big16(std::uint16_t value) {
    byte(static_cast<std::uint8_t>(value >> 8));
    byte(static_cast<std::uint8_t>(value));
  }
  void big32(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) byte(static_cast<std::uint8_t>(value >> shift));
  }
  // The characters and a closing zero byte.
  void text(std::string_view characters) {
    bytes(reinterpret_cast<const std::uint8_t*>(characters.data()), characters.size());
    byte(0);
  }
  void byte(std::uint8_t value) {
    block_[used_++] = value;
    if (used_ == block_.size()) drain();
  }
  void bytes(const std::uint8_t* values, std::size_t count) {
    while (count > 0) {
      const std::size_t part = std::min(count, block_.size() - used_);
      std::copy(values, values + part, block_.begin() + static_cast<std::ptrdiff_t>(used_));
      used_ += part;
      values += part;
      count -= part;
      if (used_ == block_.size()) drain();
    }
  }
  void zeros(std::uint64_t count) {
    for (; count > 0; --count) byte(0);
  }
  // Zeros up to the next multiple of four bytes, where every table starts.
  void align() { zeros(padded(position()) - position()); }
  std::uint64_t position() const { return drained_ + used_; }

  ResultCode finish(ErrorDetail* detail) {
    drain();
    if (!ok_) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    return ResultCode::kOk;
  }

 private:
  static constexpr std::size_t kBlockBytes = std::size_t{64} * 1024;

  void drain() {
    if (ok_ && used_ > 0) ok_ = succeeded(file_.write_exact(block_.data(), used_, nullptr));
    drained_ += used_;
    used_ = 0;
  }

  OutputFile& file_;
  std::vector<std::uint8_t> block_ = std::vector<std::uint8_t>(kBlockBytes);
  std::size_t used_ = 0;
  std::uint64_t drained_ = 0;  // bytes handed on before the block's
  bool ok_ = true;
};

void put_metric(TableWriter& out, const Metric& metric) {
  for (const std::int64_t figure :
       {metric.left, metric.right, metric.advance, metric.ascent, metric.descent}) {
    out.big16(static_cast<std::uint16_t>(figure));
  }
  out.big16(0);  // attributes
}

// The accelerators: flags and bounds as the X font library computes them.
void put_accelerators(TableWriter& out, const Plan& plan, const FontFrame& frame) {
  const Metric& least = plan.least;
  const Metric& most = plan.most;
  const auto ascent = frame.ascent;
  const auto descent = static_cast<std::int64_t>(frame.descent);
  const bool constant_metrics = least.left == most.left && least.right == most.right &&
                                least.advance == most.advance && least.ascent == most.ascent &&
                                least.descent == most.descent;
  const bool terminal = constant_metrics && most.left == 0 && most.right == most.advance &&
                        most.ascent == ascent && most.descent == descent;
  const bool ink_inside = least.left >= 0 && plan.most_overlap <= 0 && least.ascent >= -descent &&
                          most.ascent <= ascent && -least.descent <= ascent &&
                          most.descent <= descent;
  out.little32(kFormat);
  out.byte(plan.most_overlap <= least.left ? 1 : 0);  // no overlap
  out.byte(constant_metrics ? 1 : 0);
  out.byte(terminal ? 1 : 0);
  out.byte(least.advance == most.advance ? 1 : 0);  // constant width
  out.byte(ink_inside ? 1 : 0);
  out.byte(0);  // no ink metrics of their own
  out.byte(0);  // left to right
  out.byte(0);
  out.big32(static_cast<std::uint32_t>(ascent));
  out.big32(static_cast<std::uint32_t>(descent));
  out.big32(static_cast<std::uint32_t>(plan.most_overlap));
  put_metric(out, least);
  put_metric(out, most);
}

struct Table {
  std::uint32_t type = 0;
  std::uint32_t format = kFormat;
  std::uint64_t size = 0;  // unpadded
};

std::uint64_t properties_size(const std::vector<FontProperty>& properties, std::string_view name,
                              std::uint64_t& strings) {
  strings = std::string_view("FONT").size() + 1 + name.size() + 1;
  for (const FontProperty& property : properties) {
    strings += property.name.size() + 1 + (property.is_string ? property.text.size() + 1 : 0);
  }
  const std::uint64_t count = properties.size() + 1;
  return 4 + 4 + padded(count * kPropertyBytes) + 4 + strings;
}

void put_properties(TableWriter& out, const std::vector<FontProperty>& properties,
                    std::string_view name, std::uint64_t strings) {
  out.little32(kFormat);
  const std::uint64_t count = properties.size() + 1;
  out.big32(static_cast<std::uint32_t>(count));
  std::uint32_t offset = 0;
  const auto entry = [&](std::string_view key, bool is_string, std::int64_t number,
                         std::string_view value) {
    out.big32(offset);
    offset += static_cast<std::uint32_t>(key.size() + 1);
    out.byte(is_string ? 1 : 0);
    if (is_string) {
      out.big32(offset);
      offset += static_cast<std::uint32_t>(value.size() + 1);
    } else {
      out.big32(static_cast<std::uint32_t>(number));
    }
  };
  entry("FONT", true, 0, name);
  for (const FontProperty& property : properties) {
    entry(property.name, property.is_string, property.number, property.text);
  }
  out.zeros(padded(count * kPropertyBytes) - count * kPropertyBytes);
  out.big32(static_cast<std::uint32_t>(strings));
  out.text("FONT");
  out.text(name);
  for (const FontProperty& property : properties) {
    out.text(property.name);
    if (property.is_string) out.text(property.text);
  }
}

void put_metrics(TableWriter& out, const Plan& plan) {
  if (plan.compressed) {
    out.little32(kFormat | kCompressedMetrics);
    out.big16(static_cast<std::uint16_t>(plan.glyphs.size()));
    for (const GlyphEntry& entry : plan.glyphs) {
      for (const std::int16_t figure : entry.figures) {
        out.byte(static_cast<std::uint8_t>(figure + kCompressedBias));
      }
    }
    return;
  }
  out.little32(kFormat);
  out.big32(static_cast<std::uint32_t>(plan.glyphs.size()));
  for (const GlyphEntry& entry : plan.glyphs) put_metric(out, entry.metric());
}

void put_bitmaps(TableWriter& out, const Plan& plan, const FontModel& font, const InkMap& map) {
  out.little32(kFormat);
  out.big32(static_cast<std::uint32_t>(plan.glyphs.size()));
  std::uint64_t offset = 0;
  for (const GlyphEntry& entry : plan.glyphs) {
    out.big32(static_cast<std::uint32_t>(offset));
    const Metric metric = entry.metric();
    offset += metric.line_bytes(kPaddedLineBytes) * metric.rows();
  }
  for (const std::uint64_t bytes : plan.bitmap_bytes) out.big32(static_cast<std::uint32_t>(bytes));
  GlyphBitmap bitmap;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    font_glyph_bitmap(font, map, glyph, bitmap);
    const std::uint64_t line_bytes = (bitmap.width + kPaddedLineBytes * kBitsPerByte - 1) /
                                     (kPaddedLineBytes * kBitsPerByte) * kPaddedLineBytes;
    const std::uint8_t* line = bitmap.lines.data();
    for (std::uint64_t row = 0; row < bitmap.height; ++row, line += bitmap.stride) {
      out.bytes(line, static_cast<std::size_t>(bitmap.stride));
      out.zeros(line_bytes - bitmap.stride);
    }
    return true;
  });
}

std::uint64_t encoding_slots(const Plan& plan) {
  return std::uint64_t{plan.last_column - plan.first_column + 1} *
         (plan.last_row - plan.first_row + 1);
}

void put_encodings(TableWriter& out, const Plan& plan, std::uint64_t default_code) {
  out.little32(kFormat);
  out.big16(static_cast<std::uint16_t>(plan.first_column));
  out.big16(static_cast<std::uint16_t>(plan.last_column));
  out.big16(static_cast<std::uint16_t>(plan.first_row));
  out.big16(static_cast<std::uint16_t>(plan.last_row));
  out.big16(static_cast<std::uint16_t>(default_code));
  const std::uint32_t columns = plan.last_column - plan.first_column + 1;
  std::vector<std::uint16_t> slots(static_cast<std::size_t>(encoding_slots(plan)), kNoGlyph);
  for (std::size_t index = 0; index < plan.glyphs.size(); ++index) {
    const GlyphEntry& entry = plan.glyphs[index];
    if (!encodable(entry, index)) continue;
    const auto row = static_cast<std::uint32_t>(entry.code >> kRowShift);
    const auto column = static_cast<std::uint32_t>(entry.code) & kColumnMask;
    std::uint16_t& slot = slots[(row - plan.first_row) * columns + column - plan.first_column];
    if (slot == kNoGlyph) slot = static_cast<std::uint16_t>(index);
  }
  for (const std::uint16_t slot : slots) out.big16(slot);
}

void put_glyph_names(TableWriter& out, const Plan& plan, bool unicode_names) {
  out.little32(kFormat);
  out.big32(static_cast<std::uint32_t>(plan.glyphs.size()));
  std::uint64_t offset = 0;
  for (const GlyphEntry& entry : plan.glyphs) {
    out.big32(static_cast<std::uint32_t>(offset));
    offset += glyph_name(entry.code, unicode_names).size() + 1;
  }
  out.big32(static_cast<std::uint32_t>(plan.name_bytes));
  for (const GlyphEntry& entry : plan.glyphs) out.text(glyph_name(entry.code, unicode_names));
}

ResultCode write_tables(OutputFile& file, const FontModel& font, const InkMap& map,
                        const Plan& plan, ErrorDetail* detail) {
  UnicodeFontFigures figures;
  if (font.uses_list()) figures = font.unicode_figures();
  const std::vector<FontProperty> properties =
      font_properties(font, font.uses_list() ? &figures : nullptr);
  const std::string_view name = font_name(font);
  std::uint64_t strings = 0;
  const std::uint64_t count = plan.glyphs.size();
  const std::uint64_t metric_bytes =
      plan.compressed ? 4 + 2 + count * kCompressedMetricBytes : 4 + 4 + count * kMetricBytes;
  const std::array<Table, kTableCount> tables = {{
      {kPropertiesTable, kFormat, properties_size(properties, name, strings)},
      {kAcceleratorsTable, kFormat, kAcceleratorBytes},
      {kMetricsTable, plan.compressed ? kFormat | kCompressedMetrics : kFormat, metric_bytes},
      {kBitmapsTable, kFormat, 4 + 4 + count * 4 + kGlyphPads * 4 + plan.bitmap_bytes[2]},
      {kEncodingsTable, kFormat, 4 + 5 * 2 + encoding_slots(plan) * 2},
      {kScalableWidthsTable, kFormat, 4 + 4 + count * 4},
      {kGlyphNamesTable, kFormat, 4 + 4 + count * 4 + 4 + plan.name_bytes},
      {kBdfAcceleratorsTable, kFormat, kAcceleratorBytes},
  }};
  std::uint64_t end = kHeaderBytes;
  for (const Table& table : tables) end += padded(table.size);
  if (end > std::numeric_limits<std::uint32_t>::max()) {
    return fail(detail, ErrorDetail::kFontTooLarge, ResultCode::kBadArgument);
  }

  TableWriter out(file);
  for (const char c : {'\1', 'f', 'c', 'p'}) out.byte(static_cast<std::uint8_t>(c));
  out.little32(kTableCount);
  std::uint64_t offset = kHeaderBytes;
  for (const Table& table : tables) {
    out.little32(table.type);
    out.little32(table.format);
    out.little32(static_cast<std::uint32_t>(padded(table.size)));
    out.little32(static_cast<std::uint32_t>(offset));
    offset += padded(table.size);
  }
  put_properties(out, properties, name, strings);
  out.align();
  put_accelerators(out, plan, font.frame());
  put_metrics(out, plan);
  out.align();
  put_bitmaps(out, plan, font, map);
  out.align();
  // A Unicode font names its default character; without a list the field is
  // 0, as the X font compiler writes it for a BDF without DEFAULT_CHAR.
  const std::uint64_t default_code =
      font.uses_list() && figures.default_char <= kMostEncoded ? figures.default_char : 0;
  put_encodings(out, plan, default_code);
  out.align();
  out.little32(kFormat);
  out.big32(static_cast<std::uint32_t>(count));
  for (const GlyphEntry& entry : plan.glyphs) {
    out.big32(static_cast<std::uint32_t>(entry.scalable_width));
  }
  put_glyph_names(out, plan, font.uses_list());
  out.align();
  put_accelerators(out, plan, font.frame());
  return out.finish(detail);
}

}  // namespace

ResultCode write_pcf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail) {
  Plan plan;
  const ErrorDetail problem = measure(font, map, plan);
  if (problem != ErrorDetail::kNone) return fail(detail, problem, ResultCode::kBadArgument);
  return write_tables(file, font, map, plan, detail);
}

}  // namespace vellicor
