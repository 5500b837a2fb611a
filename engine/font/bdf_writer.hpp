// The BDF writer: a font model and the ink map its boxes were cut from, as
// BDF 2.1 text.
#pragma once

#include <cstdint>

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// The exact bytes of the font's glyph records (the header and the closing
// line not included), found without writing; saturates instead of wrapping.
std::uint64_t bdf_records_size(const FontModel& font);

// True when the font's glyph records would take more than limit bytes. The
// figures of a font without a list bound its records' size at once; only a
// font that the bound does not clear is sized record by record.
bool bdf_records_exceed(const FontModel& font, std::uint64_t limit);

// Writes the whole font: header, one record per glyph, the closing line.
// kFileAccess (detail kFileAccess) when a write fails.
ResultCode write_bdf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail);

}  // namespace vellicor
