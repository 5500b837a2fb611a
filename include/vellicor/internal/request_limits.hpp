// The limits of a conversion request that the programs check before asking
// the engine: the length of a path or field text, the widest blank advance.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellicor {

// Every path and field text lives in a buffer of this many bytes, terminator
// included, so a text holds at most 259 characters.
inline constexpr std::size_t kPathBufferSize = 260;
inline constexpr std::size_t kMaxPathLength = kPathBufferSize - 1;

// The longest character list, in bytes of UTF-8 text: 65,536 characters of
// any plane (four bytes each beyond U+FFFF) fit four times over. A list file
// is refused once it holds more bytes than this, line breaks included.
inline constexpr std::size_t kMostCharsBytes = std::size_t{1024} * 1024;

// The widest blank advance a conversion accepts, in pixels.
inline constexpr std::uint32_t kMostBlankAdvance = 1024;

// The most glyphs a sheet (bands, grid or marks) may hold, and the most
// bands it may be cut into: every band keeps its frame until the font is
// written.
inline constexpr std::uint32_t kMostSheetGlyphs = 65536;

}  // namespace vellicor
