// A .fon file in two passes over the glyphs: the first finds each code's
// glyph and cell, so that the header, the character table and every offset
// are known before the first byte is written; the second writes the bitmaps.
#include "engine/font/fon_writer.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "engine/font/charsets.hpp"
#include "engine/font/fnt_font.hpp"
#include "engine/font/fon_names.hpp"
#include "engine/font/font_glyph_bitmap.hpp"
#include "engine/font/glyph_record.hpp"
#include "engine/font/ne_wrapper.hpp"

namespace vellicor {

namespace {

constexpr std::size_t kCodes = 256;
constexpr std::uint64_t kMostCode = kCodes - 1;
constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kQuestionMark = 0x3F;

// The glyph a code holds.
struct Slot {
  bool used = false;
  bool inked = false;         // a glyph of the picture, not a blank character
  std::uint64_t ordinal = 0;  // its place in font order
  std::int64_t left = 0;      // the cell's left edge, from the origin
  std::uint64_t width = 0;
  std::uint64_t bits = 0;  // its columns' offset from the first bitmap byte
};

struct Plan {
  std::array<Slot, kCodes> slots;
  std::int64_t top = 0;                  // the cell's rows above the baseline
  std::int64_t bottom = 0;               // and its lowest row, from the baseline (negative below)
  std::vector<std::uint8_t> by_ordinal;  // the used codes in font order
};

std::optional<std::uint8_t> byte_of(const FontModel& font, const FontGlyph& glyph) {
  if (font.uses_list()) return cp1252_byte(static_cast<std::uint32_t>(glyph.code));
  if (glyph.code > kMostCode) return std::nullopt;
  return static_cast<std::uint8_t>(glyph.code);
}

// The first pass: which glyph each code holds and how large its cell is.
void plan_glyphs(const FontModel& font, const InkMap& map, Plan& plan,
                 std::vector<std::uint32_t>* left_out) {
  const FontFrame& frame = font.frame();
  plan.top = frame.ascent;
  plan.bottom = -static_cast<std::int64_t>(frame.descent);
  GlyphBitmap bitmap;
  std::uint64_t ordinal = 0;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    const std::uint64_t place = ordinal++;
    if (font.uses_list() && glyph.character == nullptr) return true;
    const std::optional<std::uint8_t> code = byte_of(font, glyph);
    if (!code || plan.slots[*code].used) {
      if (left_out != nullptr) left_out->push_back(static_cast<std::uint32_t>(glyph.code));
      return true;
    }
    font_glyph_bitmap(font, map, glyph, bitmap);
    Slot& slot = plan.slots[*code];
    slot.used = true;
    slot.inked = !glyph.is_blank;
    slot.ordinal = place;
    std::int64_t right = static_cast<std::int64_t>(bitmap.advance);
    if (bitmap.width != 0 && bitmap.height != 0) {
      const std::int64_t box_right = bitmap.x_offset + static_cast<std::int64_t>(bitmap.width);
      slot.left = std::min<std::int64_t>(0, bitmap.x_offset);
      right = std::max(right, box_right);
      plan.top = std::max(plan.top, bitmap.y_offset + static_cast<std::int64_t>(bitmap.height));
      plan.bottom = std::min(plan.bottom, bitmap.y_offset);
    }
    slot.width = static_cast<std::uint64_t>(right - slot.left);
    plan.by_ordinal.push_back(*code);
    return true;
  });
  // dfAscent has no sign, and FreeType refuses a font of no rows.
  plan.top = std::max<std::int64_t>(plan.top, 0);
  plan.bottom = std::min(plan.bottom, plan.top - 1);
}

// The character Windows draws for codes outside the font: the BDF's
// DEFAULT_CHAR where it has a byte here, else as the BDF picks it: '?', or
// the first glyph of the picture, or the first code.
std::uint8_t default_code(const FontModel& font, const Plan& plan) {
  if (font.uses_list()) {
    const std::optional<std::uint8_t> code = cp1252_byte(font.unicode_figures().default_char);
    if (code && plan.slots[*code].used) return *code;
  }
  if (plan.slots[kQuestionMark].used) return kQuestionMark;
  for (const std::uint8_t code : plan.by_ordinal) {
    if (plan.slots[code].inked) return code;
  }
  return plan.by_ordinal.front();
}

// The header's figures and the character table. kGlyphTooLarge when a
// figure passes 16 bits, kFontTooLarge when the resource passes 32.
ErrorDetail describe_font(const FontModel& font, Plan& plan, const FonNames& names, FntFont& fnt) {
  const auto height = static_cast<std::uint64_t>(plan.top - plan.bottom);
  if (height > kFntMostFigure || static_cast<std::uint64_t>(plan.top) > kFntMostFigure) {
    return ErrorDetail::kGlyphTooLarge;
  }
  std::uint64_t widths = 0;
  std::uint64_t bits = 0;
  std::optional<std::uint64_t> common_width;
  bool fixed = true;
  for (const std::uint8_t code : plan.by_ordinal) {
    Slot& slot = plan.slots[code];
    if (slot.width > kFntMostFigure) return ErrorDetail::kGlyphTooLarge;
    slot.bits = bits;
    bits += fnt_glyph_bytes(slot.width, height);
    widths += slot.width;
    fnt.max_width = std::max(fnt.max_width, static_cast<std::uint16_t>(slot.width));
    if (common_width && *common_width != slot.width) fixed = false;
    common_width = slot.width;
  }
  const std::uint64_t count = plan.by_ordinal.size();
  fnt.average_width = static_cast<std::uint16_t>((widths + count / 2) / count);
  fnt.pixel_width = fixed ? fnt.max_width : 0;
  fnt.pixel_height = static_cast<std::uint16_t>(height);
  fnt.ascent = static_cast<std::uint16_t>(plan.top);
  // Rows past the BDF's pixel size lie inside the cell, above the em.
  fnt.internal_leading =
      static_cast<std::uint16_t>(height > names.pixel_size ? height - names.pixel_size : 0);
  fnt.points = fon_points(names.pixel_size);
  fnt.weight = names.weight;
  fnt.italic = names.italic;
  fnt.face = names.face;

  const auto used = [&plan](std::size_t code) { return plan.slots[code].used; };
  std::size_t first = 0;
  while (!used(first)) ++first;
  std::size_t last = kMostCode;
  while (!used(last)) --last;
  fnt.first_char = static_cast<std::uint8_t>(first);
  fnt.last_char = static_cast<std::uint8_t>(last);
  fnt.default_char = default_code(font, plan);
  // Windows widens the break character to justify text; a font without a
  // space names its first character.
  fnt.break_char = plan.slots[kSpace].used ? kSpace : fnt.first_char;

  // A code of the range without a glyph shows the default character's.
  const Slot& fallback = plan.slots[fnt.default_char];
  for (std::size_t code = first; code <= last; ++code) {
    const Slot& slot = used(code) ? plan.slots[code] : fallback;
    fnt.entries.push_back({static_cast<std::uint32_t>(slot.width), slot.bits});
  }
  // The table holds one entry more than the range, as the format asks: a
  // blank of the average width, with bits of its own.
  fnt.entries.push_back({fnt.average_width, bits});
  fnt.bitmap_bytes = bits + fnt_glyph_bytes(fnt.average_width, height);
  if (fnt_size(fnt) > std::numeric_limits<std::uint32_t>::max()) return ErrorDetail::kFontTooLarge;
  return ErrorDetail::kNone;
}

ResultCode write_zeros(OutputFile& file, std::uint64_t count, std::vector<std::uint8_t>& scratch,
                       ErrorDetail* detail) {
  constexpr std::uint64_t kChunk = std::uint64_t{64} * 1024;
  scratch.assign(static_cast<std::size_t>(std::min(count, kChunk)), 0);
  while (count > 0) {
    const std::uint64_t part = std::min(count, kChunk);
    const ResultCode result =
        file.write_exact(scratch.data(), static_cast<std::size_t>(part), detail);
    if (failed(result)) return result;
    count -= part;
  }
  return ResultCode::kOk;
}

// The second pass: the planned glyphs' bitmaps, in font order.
ResultCode write_bitmaps(OutputFile& file, const FontModel& font, const InkMap& map,
                         const Plan& plan, std::uint64_t height, ErrorDetail* detail) {
  GlyphBitmap bitmap;
  std::vector<std::uint8_t> columns;
  std::uint64_t ordinal = 0;
  std::size_t next = 0;
  ResultCode result = ResultCode::kOk;
  font.for_each_glyph([&](const FontGlyph& glyph) {
    if (next == plan.by_ordinal.size()) return false;
    const Slot& slot = plan.slots[plan.by_ordinal[next]];
    if (slot.ordinal != ordinal++) return true;
    ++next;
    font_glyph_bitmap(font, map, glyph, bitmap);
    fnt_glyph_columns(bitmap, FntCell{slot.left, plan.top, slot.width, height}, columns);
    result = file.write_exact(columns.data(), columns.size(), detail);
    return succeeded(result);
  });
  return result;
}

}  // namespace

ResultCode write_fon_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          std::vector<std::uint32_t>* left_out, ErrorDetail* detail) {
  if (left_out != nullptr) left_out->clear();
  Plan plan;
  plan_glyphs(font, map, plan, left_out);
  if (plan.by_ordinal.empty()) {
    return fail(detail, ErrorDetail::kFonNothingLeft, ResultCode::kUnusableInput);
  }
  const FonNames names = fon_names(font);
  FntFont fnt;
  const ErrorDetail problem = describe_font(font, plan, names, fnt);
  if (problem != ErrorDetail::kNone) return fail(detail, problem, ResultCode::kBadArgument);

  std::vector<std::uint8_t> fnt_head;
  put_fnt_head(fnt_head, fnt);
  NeFontFile wrapper;
  wrapper.module_name = names.module_name;
  wrapper.description = fon_description(names.face, fnt.points);
  wrapper.directory_entry.assign(fnt_head.begin(), fnt_head.begin() + kFntDirectoryHeaderBytes);
  wrapper.directory_entry.push_back(0);  // no device name
  wrapper.directory_entry.insert(wrapper.directory_entry.end(), fnt.face.begin(), fnt.face.end());
  wrapper.directory_entry.push_back(0);
  wrapper.font_bytes = fnt_size(fnt);
  NeLayout layout;
  if (!lay_out_ne(wrapper, layout)) {
    return fail(detail, ErrorDetail::kFontTooLarge, ResultCode::kBadArgument);
  }

  std::vector<std::uint8_t> head;
  put_ne_head(head, wrapper, layout);
  head.insert(head.end(), fnt_head.begin(), fnt_head.end());
  ResultCode result = file.write_exact(head.data(), head.size(), detail);
  if (failed(result)) return result;
  const std::uint64_t height = fnt.pixel_height;
  result = write_bitmaps(file, font, map, plan, height, detail);
  if (failed(result)) return result;
  std::vector<std::uint8_t> scratch;
  result = write_zeros(file, fnt_glyph_bytes(fnt.average_width, height), scratch, detail);
  if (failed(result)) return result;
  result = file.write_exact(fnt.face.c_str(), fnt.face.size() + 1, detail);
  if (failed(result)) return result;
  return write_zeros(file, layout.end - layout.font_offset - wrapper.font_bytes, scratch, detail);
}

}  // namespace vellicor
