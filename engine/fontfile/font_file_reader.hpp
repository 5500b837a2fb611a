// Reading a font file back into a LoadedFont: the file's first bytes tell
// its kind. BDF and PSF (1 and 2) are read by vellicor's own readers on every
// build; PCF, OpenType/TrueType bitmap strikes (OTB, TTF) and FON through
// FreeType where the build has it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/fontfile/loaded_font.hpp"
#include "engine/io/file_system.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Bounds every reader keeps, so that no file makes it work or allocate
// without end: a font file of at most kMaxFontFileBytes, at most
// kMaxDrawnGlyphs glyphs (a sheet's limit) of at most kMaxDrawnGlyphSide
// pixels a side.
inline constexpr std::uint64_t kMaxFontFileBytes = std::uint64_t{256} << 20;
inline constexpr std::uint32_t kMaxDrawnGlyphs = 65536;
inline constexpr std::uint32_t kMaxDrawnGlyphSide = 4096;

// Where a reader stopped when it refused a file.
struct FontReadProblem {
  std::uint64_t line = 0;  // BDF: the line (from 1) that breaks the format; 0 elsewhere
};

// Reads the font at path. Refusals: kFontUnknown (no reader knows its first
// bytes), kFontDamaged (the file breaks its format's rules; problem says
// where when it can), kFontNoBitmap (an outline font without a bitmap
// strike), kFontTooLargeToDraw (past the bounds above), kFontNoGlyph (not one
// glyph with a code), kFileAccess, kOutOfMemory.
ResultCode read_font_file(FileSystem& files, const char* path, LoadedFont& font,
                          ErrorDetail* detail, FontReadProblem* problem);

// The same from bytes in memory, for each reader.
ResultCode read_font_bytes(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                           ErrorDetail* detail, FontReadProblem* problem);
ResultCode read_bdf_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                         ErrorDetail* detail, FontReadProblem* problem);
ResultCode read_psf_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                         ErrorDetail* detail);
// kFontUnknown on a build without FreeType.
ResultCode read_freetype_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                              ErrorDetail* detail);
// Whether this build reads fonts through FreeType.
bool reads_fonts_through_freetype();

}  // namespace vellicor
