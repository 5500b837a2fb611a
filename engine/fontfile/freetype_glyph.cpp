// Glyphs of a FreeType face as LoadedGlyphs.
#ifdef VELLICOR_HAVE_FREETYPE

#include "engine/fontfile/freetype_glyph.hpp"

#include FT_BITMAP_H
#include FT_WINFONTS_H

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/fontfile/font_file_reader.hpp"

namespace vellicor {

namespace {

constexpr FT_ULong kLastCodePoint = 0x10FFFF;
constexpr FT_ULong kFirstSurrogate = 0xD800;
constexpr FT_ULong kLastSurrogate = 0xDFFF;
constexpr unsigned kBitsPerByte = 8;
// A grey pixel is ink from half its levels up.
constexpr unsigned kHalf = 2;
// 26.6 fixed point: 64 units a pixel, and half a pixel for rounding.
constexpr int kSubpixelShift = 6;
constexpr FT_Pos kHalfPixel = 32;

bool nameable(FT_ULong code) {
  return code <= kLastCodePoint && (code < kFirstSurrogate || code > kLastSurrogate);
}

ResultCode load_failure(FT_Error error, ErrorDetail* detail) {
  if (error == FT_Err_Out_Of_Memory) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  return fail(detail, ErrorDetail::kFontDamaged, ResultCode::kUnusableInput);
}

// The bitmap's row y, top row first, whichever way its pitch runs: a
// negative pitch stores the rows bottom up.
const std::uint8_t* row_of(const FT_Bitmap& bitmap, unsigned y) {
  const auto pitch = static_cast<std::ptrdiff_t>(bitmap.pitch);
  const std::ptrdiff_t magnitude = pitch < 0 ? -pitch : pitch;
  const std::ptrdiff_t row = pitch < 0 ? static_cast<std::ptrdiff_t>(bitmap.rows - 1 - y) : y;
  return bitmap.buffer + row * magnitude;
}

// Copies a one-bit bitmap, MSB first as FreeType stores it, line by line.
void copy_mono(const FT_Bitmap& bitmap, LoadedGlyph& glyph) {
  const std::size_t stride = glyph.stride();
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    std::memcpy(glyph.lines.data() + y * stride, row_of(bitmap, y), stride);
    // Bits past the width are zero in a LoadedGlyph, whatever the strike held.
    const unsigned spare = static_cast<unsigned>(stride * kBitsPerByte - glyph.width);
    if (spare != 0)
      glyph.lines[y * stride + stride - 1] &= static_cast<std::uint8_t>(0xFFU << spare);
  }
}

// An 8-bit grey bitmap (a grey strike, converted): ink from half its levels up.
void copy_grey(const FT_Bitmap& bitmap, LoadedGlyph& glyph) {
  const unsigned levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 1;
  const std::size_t stride = glyph.stride();
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    const std::uint8_t* const row = row_of(bitmap, y);
    for (unsigned x = 0; x < bitmap.width; ++x) {
      if (row[x] * kHalf >= levels) {
        glyph.lines[y * stride + x / kBitsPerByte] |=
            static_cast<std::uint8_t>(0x80U >> (x % kBitsPerByte));
      }
    }
  }
}

// FT_Bitmap owned here, freed on every path.
class OwnedBitmap {
 public:
  explicit OwnedBitmap(FT_Library library) : library_(library) { FT_Bitmap_Init(&bitmap_); }
  OwnedBitmap(const OwnedBitmap&) = delete;
  OwnedBitmap& operator=(const OwnedBitmap&) = delete;
  ~OwnedBitmap() { FT_Bitmap_Done(library_, &bitmap_); }
  FT_Bitmap& get() { return bitmap_; }

 private:
  FT_Library library_;
  FT_Bitmap bitmap_;
};

}  // namespace

ResultCode list_coded_glyphs(FT_Face face, std::vector<CodedGlyph>& coded, std::uint32_t& uncodable,
                             ErrorDetail* detail) {
  coded.clear();
  uncodable = 0;
  FT_UInt index = 0;
  for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0;
       code = FT_Get_Next_Char(face, code, &index)) {
    if (!nameable(code)) {
      ++uncodable;
      continue;
    }
    if (coded.size() >= kMaxDrawnGlyphs) {
      return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
    }
    coded.push_back({static_cast<std::uint32_t>(code), index});
  }
  std::sort(coded.begin(), coded.end(), [](const CodedGlyph& left, const CodedGlyph& right) {
    return left.index != right.index ? left.index < right.index : left.code < right.code;
  });
  return ResultCode::kOk;
}

ResultCode load_glyph(FT_Face face, const CodedGlyph& coded, LoadedGlyph& glyph,
                      ErrorDetail* detail) {
  // The strike's bitmap, never an outline drawn in its place: a TTF that
  // has both is drawn as its strike.
  constexpr FT_Int32 kLoadFlags = FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_NO_HINTING;
  if (const FT_Error error = FT_Load_Glyph(face, coded.index, kLoadFlags); error != 0) {
    return load_failure(error, detail);
  }
  const FT_GlyphSlot slot = face->glyph;
  if (slot->bitmap.width > kMaxDrawnGlyphSide || slot->bitmap.rows > kMaxDrawnGlyphSide) {
    return fail(detail, ErrorDetail::kFontTooLargeToDraw, ResultCode::kUnusableInput);
  }
  glyph.code = coded.code;
  if (FT_HAS_GLYPH_NAMES(face)) {
    // An sfnt's post table: names up to 63 bytes as FreeType hands them out.
    constexpr std::size_t kNameBytes = 64;
    char name[kNameBytes] = {};
    if (FT_Get_Glyph_Name(face, coded.index, name, kNameBytes) == 0) glyph.name = name;
  }
  glyph.width = slot->bitmap.width;
  glyph.height = slot->bitmap.rows;
  glyph.x_offset = slot->bitmap_left;
  glyph.y_offset = slot->bitmap_top - static_cast<std::int32_t>(slot->bitmap.rows);
  // A strike's advance is whole pixels; an outline's is rounded to them.
  glyph.advance = static_cast<std::int32_t>((slot->advance.x + kHalfPixel) >> kSubpixelShift);
  glyph.lines.assign(glyph.stride() * glyph.height, 0);
  if (glyph.lines.empty()) return ResultCode::kOk;
  if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
    copy_mono(slot->bitmap, glyph);
    return ResultCode::kOk;
  }
  // Grey and colour strikes: one byte a pixel first.
  OwnedBitmap grey(face->glyph->library);
  if (const FT_Error error = FT_Bitmap_Convert(slot->library, &slot->bitmap, &grey.get(), 1);
      error != 0) {
    return load_failure(error, detail);
  }
  copy_grey(grey.get(), glyph);
  return ResultCode::kOk;
}

std::uint32_t count_unreached_glyphs(FT_Face face, const std::vector<CodedGlyph>& coded,
                                     bool made_up_zero) {
  if (face->num_glyphs <= 0) return 0;
  std::vector<bool> reached(static_cast<std::size_t>(face->num_glyphs), false);
  for (const CodedGlyph& glyph : coded) {
    if (glyph.index < reached.size()) reached[glyph.index] = true;
  }
  if (made_up_zero) reached[0] = true;
  return static_cast<std::uint32_t>(std::count(reached.begin(), reached.end(), false));
}

void drop_fon_fillers(FT_Face face, std::vector<LoadedGlyph>& glyphs) {
  FT_WinFNT_HeaderRec header{};
  if (FT_Get_WinFNT_Header(face, &header) != 0 || glyphs.empty()) return;
  // The header counts the default character from the first one.
  const std::int64_t default_code = std::int64_t{header.first_char} + header.default_char;
  const auto default_glyph =
      std::find_if(glyphs.begin(), glyphs.end(),
                   [&](const LoadedGlyph& glyph) { return glyph.code == default_code; });
  if (default_glyph == glyphs.end()) return;
  const LoadedGlyph model = *default_glyph;
  // The first and last bytes stay: they hold the range that the copies fill.
  const std::int64_t first = glyphs.front().code;
  const std::int64_t last = glyphs.back().code;
  std::erase_if(glyphs, [&](const LoadedGlyph& glyph) {
    return glyph.code != model.code && glyph.code != first && glyph.code != last &&
           glyph.width == model.width && glyph.height == model.height &&
           glyph.x_offset == model.x_offset && glyph.y_offset == model.y_offset &&
           glyph.advance == model.advance && glyph.lines == model.lines;
  });
}

}  // namespace vellicor

#endif
