// Reads a PSF 1 or PSF 2 console font into a LoadedFont: every glyph is the
// whole cell, blank rows and columns included, and its code comes from the
// Unicode table when the font has one, else from its position.
#include <algorithm>
#include <cstdint>
#include <new>
#include <span>
#include <utility>
#include <vector>

#include "engine/core/byte_order.hpp"
#include "engine/core/checked_size.hpp"
#include "engine/fontfile/font_file_reader.hpp"
#include "engine/fontfile/psf_format.hpp"
#include "engine/fontfile/psf_unicode_table.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kBitsPerByte = 8;
// PSF states no baseline. A quarter of the cell lies below it: 4 rows of the
// usual 8 x 16 cell, where the VGA text font's baseline lies.
constexpr std::uint32_t kCellRowsPerDescentRow = 4;

// The layout of a PSF file as its header states it.
struct PsfLayout {
  FontFileKind kind = FontFileKind::kPsf2;
  std::uint32_t glyphs = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint64_t glyph_bytes = 0;  // of one glyph: height rows of whole bytes
  std::uint64_t glyphs_at = 0;    // offset of the first glyph
  bool has_table = false;
};

template <std::size_t kSize>
bool starts_with(const std::uint8_t* data, std::size_t size,
                 const std::array<std::uint8_t, kSize>& magic) {
  return size >= kSize && std::equal(magic.begin(), magic.end(), data);
}

ResultCode refuse(ErrorDetail* detail, ErrorDetail why) {
  return fail(detail, why, ResultCode::kUnusableInput);
}

// The glyphs' bytes must be in the file, after the header.
bool glyphs_fit(const PsfLayout& layout, std::size_t size) {
  std::uint64_t bytes = 0, end = 0;
  return checked_multiply(layout.glyphs, layout.glyph_bytes, bytes) &&
         checked_add(layout.glyphs_at, bytes, end) && end <= size;
}

ResultCode read_psf1_layout(const std::uint8_t* data, std::size_t size, PsfLayout& layout,
                            ErrorDetail* detail) {
  if (size < kPsf1HeaderSize) return refuse(detail, ErrorDetail::kFontDamaged);
  const std::uint8_t mode = data[kPsf1ModeAt];
  const std::uint8_t glyph_bytes = data[kPsf1GlyphBytesAt];
  if (mode > kPsf1MaxMode || glyph_bytes == 0) return refuse(detail, ErrorDetail::kFontDamaged);
  layout.kind = FontFileKind::kPsf1;
  layout.glyphs = (mode & kPsf1Mode512) != 0 ? kPsf1LargeCount : kPsf1SmallCount;
  layout.width = kPsf1Width;
  layout.height = glyph_bytes;
  layout.glyph_bytes = glyph_bytes;
  layout.glyphs_at = kPsf1HeaderSize;
  layout.has_table = (mode & (kPsf1ModeHasTab | kPsf1ModeHasSeq)) != 0;
  return ResultCode::kOk;
}

ResultCode read_psf2_layout(const std::uint8_t* data, std::size_t size, PsfLayout& layout,
                            ErrorDetail* detail) {
  if (size < kPsf2HeaderSize) return refuse(detail, ErrorDetail::kFontDamaged);
  const LittleEndianBytes header(std::span<const std::uint8_t>(data, kPsf2HeaderSize));
  const std::uint32_t header_size = header.u32(kPsf2HeaderSizeAt);
  const std::uint32_t glyphs = header.u32(kPsf2LengthAt);
  const std::uint32_t glyph_bytes = header.u32(kPsf2GlyphBytesAt);
  const std::uint32_t height = header.u32(kPsf2HeightAt);
  const std::uint32_t width = header.u32(kPsf2WidthAt);
  if (header.u32(kPsf2VersionAt) > kPsf2MaxVersion || header_size < kPsf2HeaderSize || width == 0 ||
      height == 0) {
    return refuse(detail, ErrorDetail::kFontDamaged);
  }
  if (width > kMaxDrawnGlyphSide || height > kMaxDrawnGlyphSide || glyphs > kMaxDrawnGlyphs) {
    return refuse(detail, ErrorDetail::kFontTooLargeToDraw);
  }
  const std::uint64_t stride = (std::uint64_t{width} + kBitsPerByte - 1) / kBitsPerByte;
  if (glyph_bytes != stride * height) return refuse(detail, ErrorDetail::kFontDamaged);
  layout.kind = FontFileKind::kPsf2;
  layout.glyphs = glyphs;
  layout.width = width;
  layout.height = height;
  layout.glyph_bytes = glyph_bytes;
  layout.glyphs_at = header_size;
  layout.has_table = (header.u32(kPsf2FlagsAt) & kPsf2HasUnicodeTable) != 0;
  return ResultCode::kOk;
}

// The glyph at position as a LoadedGlyph of the whole cell.
LoadedGlyph cell_glyph(const std::uint8_t* cell, const PsfLayout& layout, std::int32_t descent,
                       std::int64_t code) {
  LoadedGlyph glyph;
  glyph.code = code;
  glyph.width = layout.width;
  glyph.height = layout.height;
  glyph.x_offset = 0;
  glyph.y_offset = -descent;
  glyph.advance = static_cast<std::int32_t>(layout.width);
  glyph.lines.assign(cell, cell + layout.glyph_bytes);
  const std::uint32_t used_bits = layout.width % kBitsPerByte;
  if (used_bits != 0) {
    const auto mask = static_cast<std::uint8_t>(0xFFU << (kBitsPerByte - used_bits));
    for (std::size_t end = glyph.stride(); end <= glyph.lines.size(); end += glyph.stride()) {
      glyph.lines[end - 1] &= mask;
    }
  }
  return glyph;
}

// The code of each position: with a table, the first of its single code
// points that no earlier glyph took (a code shown by two glyphs stays with
// the first); -1 for a glyph without one. Without a table, the position.
std::vector<std::int64_t> glyph_codes(const PsfLayout& layout, const PsfUnicodeTable& table) {
  std::vector<std::int64_t> codes(layout.glyphs, -1);
  if (!layout.has_table) {
    for (std::uint32_t position = 0; position < layout.glyphs; ++position)
      codes[position] = position;
    return codes;
  }
  std::vector<bool> taken;
  for (std::uint32_t position = 0; position < layout.glyphs; ++position) {
    for (std::size_t index = table.entry_starts[position]; index < table.entry_starts[position + 1];
         ++index) {
      const std::uint32_t code_point = table.code_points[index];
      if (taken.size() <= code_point) taken.resize(std::size_t{code_point} + 1, false);
      if (taken[code_point]) continue;
      taken[code_point] = true;
      codes[position] = code_point;
      break;
    }
  }
  return codes;
}

ResultCode read_psf(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                    ErrorDetail* detail) {
  PsfLayout layout;
  ResultCode result = ResultCode::kOk;
  if (starts_with(data, size, kPsf2Magic)) {
    result = read_psf2_layout(data, size, layout, detail);
  } else if (starts_with(data, size, kPsf1Magic)) {
    result = read_psf1_layout(data, size, layout, detail);
  } else {
    return refuse(detail, ErrorDetail::kFontUnknown);
  }
  if (failed(result)) return result;
  if (!glyphs_fit(layout, size)) return refuse(detail, ErrorDetail::kFontDamaged);

  const std::uint64_t table_at = layout.glyphs_at + layout.glyphs * layout.glyph_bytes;
  PsfUnicodeTable table;
  if (layout.has_table) {
    const auto read_table =
        layout.kind == FontFileKind::kPsf1 ? read_psf1_unicode_table : read_psf2_unicode_table;
    if (!read_table(data + table_at, size - static_cast<std::size_t>(table_at), layout.glyphs,
                    table)) {
      return refuse(detail, ErrorDetail::kFontDamaged);
    }
  }
  const std::vector<std::int64_t> codes = glyph_codes(layout, table);

  LoadedFont loaded;
  loaded.kind = layout.kind;
  loaded.unicode = layout.has_table;
  loaded.descent = static_cast<std::int32_t>(layout.height / kCellRowsPerDescentRow);
  loaded.ascent = static_cast<std::int32_t>(layout.height) - loaded.descent;
  loaded.glyphs.reserve(layout.glyphs);
  for (std::uint32_t position = 0; position < layout.glyphs; ++position) {
    if (codes[position] < 0) {
      ++loaded.glyphs_without_code;
      continue;
    }
    const std::uint8_t* const cell = data + layout.glyphs_at + position * layout.glyph_bytes;
    loaded.glyphs.push_back(cell_glyph(cell, layout, loaded.descent, codes[position]));
  }
  if (loaded.glyphs.empty()) return refuse(detail, ErrorDetail::kFontNoGlyph);
  font = std::move(loaded);
  return ResultCode::kOk;
}

}  // namespace

ResultCode read_psf_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                         ErrorDetail* detail) {
  if (data == nullptr) return refuse(detail, ErrorDetail::kFontUnknown);
  try {
    return read_psf(data, size, font, detail);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

}  // namespace vellicor
