// Field-by-field copies bounded by the size a host gave.
#include "engine/api/versioned_records.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vellicor {

namespace {

// True when a field at offset of field_size bytes lies wholly within size.
constexpr bool covers(std::uint32_t size, std::size_t offset, std::size_t field_size) {
  return offset + field_size <= size;
}

}  // namespace

// The offsets are taken with offsetof so that a field is only touched when
// the host's record is known to hold all of it.
#define VELLICOR_COPY_IF_COVERED(Record, size, to, from, field)           \
  do {                                                                    \
    if (covers((size), offsetof(Record, field), sizeof(Record::field))) { \
      (to).field = (from).field;                                          \
    }                                                                     \
  } while (false)

ConversionSettings read_settings(const ConversionSettings* given) {
  ConversionSettings full{};
  full.size = sizeof full;
  if (given == nullptr) return full;
  const std::uint32_t size = given->size;
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, chars);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, blank_advance);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, ink_rule);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, layout);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, rows);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, cell_width);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, cell_height);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, grid_origin_x);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, grid_origin_y);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, grid_gap_x);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, grid_gap_y);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, proportional);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, charset);
  VELLICOR_COPY_IF_COVERED(ConversionSettings, size, full, *given, format);
  return full;
}

ConversionReport empty_report() {
  ConversionReport report{};
  report.size = sizeof report;
  return report;
}

void write_report(const ConversionReport& full, ConversionReport* given) {
  if (given == nullptr) return;
  const std::uint32_t size = given->size;
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, glyph_count);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, glyphs_cut);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, characters_listed);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, picture_width);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, picture_height);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, tallest);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, widest);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, problem_character);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, problem_offset);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, blanks_listed);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, ink_rule);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, font_height);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, bands);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, grid_columns);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, list_lines);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, problem_band);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, band_glyphs);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, band_characters);
  VELLICOR_COPY_IF_COVERED(ConversionReport, size, *given, full, left_out);
  if (covers(size, offsetof(ConversionReport, left_out_codes), sizeof full.left_out_codes)) {
    std::memcpy(given->left_out_codes, full.left_out_codes, sizeof full.left_out_codes);
  }
}

#undef VELLICOR_COPY_IF_COVERED

}  // namespace vellicor
