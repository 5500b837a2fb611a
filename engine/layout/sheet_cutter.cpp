// Bands, grids and marks.
#include "engine/layout/sheet_cutter.hpp"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/layout/glyph_cutter.hpp"
#include "engine/layout/row_ink.hpp"

namespace vellicor {

namespace {

// Rows [range) of map as a picture of their own.
InkMap band_picture(const InkMap& map, RowRange range) {
  InkMap band;
  band.width_px = map.width_px;
  band.height_px = range.end - range.begin;
  band.stride_bytes = map.stride_bytes;
  band.held_columns = map.held_columns;
  const std::uint32_t held_from = std::max(range.begin, map.held_rows.begin);
  const std::uint32_t held_to = std::min(range.end, map.held_rows.end);
  if (held_from < held_to) {
    band.held_rows = {held_from - range.begin, held_to - range.begin};
    const std::size_t bytes = std::size_t{held_to - held_from} * map.stride_bytes;
    band.pixels.bytes = std::make_unique<std::uint8_t[]>(bytes);
    std::memcpy(band.pixels.bytes.get(), map.pixels.bytes.get() + map.row_offset(held_from), bytes);
    band.pixels.delivered_bytes = static_cast<std::uint32_t>(bytes);
  }
  return band;
}

ResultCode check_count(std::size_t glyphs, ErrorDetail* detail) {
  if (glyphs > kMostSheetGlyphs) {
    return fail(detail, ErrorDetail::kTooManyGlyphs, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

ResultCode cut_bands(const InkMap& map, const ConversionOptions& options,
                     const LayoutSettings& layout, Framing framing, GlyphBoxes& boxes,
                     ErrorDetail* detail) {
  const std::uint32_t rows = map.height_px / layout.bands;
  boxes.band_count = layout.bands;
  for (std::uint32_t band = 0; band < layout.bands; ++band) {
    const std::uint32_t first_row = band * rows;
    const InkMap picture = band_picture(map, {first_row, first_row + rows});
    GlyphBoxes cut;
    const ResultCode result = cut_strip(picture, options.allowed_blank_columns, framing, cut);
    if (failed(result)) return fail(detail, ErrorDetail::kNoGlyph, result);
    StripBand strip{first_row, rows, static_cast<std::uint32_t>(cut.boxes.size()), cut.totals};
    boxes.bands.push_back(strip);
    std::uint32_t cell = 0;
    for (GlyphBox box : cut.boxes) {
      box.top += first_row;
      box.bottom += first_row;
      box.band = band;
      box.cell = cell++;
      box.number = static_cast<std::uint32_t>(boxes.boxes.size()) + 1;
      boxes.boxes.push_back(box);
    }
    boxes.totals.tallest = std::max(boxes.totals.tallest, cut.totals.tallest);
    boxes.totals.widest = std::max(boxes.totals.widest, cut.totals.widest);
    if (!cut.boxes.empty()) {
      const bool first = boxes.totals.glyph_count == 0;
      boxes.totals.deepest = std::max(boxes.totals.deepest, cut.totals.deepest + first_row);
      boxes.totals.topmost = first ? cut.totals.topmost + first_row
                                   : std::min(boxes.totals.topmost, cut.totals.topmost + first_row);
      boxes.totals.glyph_count += cut.totals.glyph_count;
    }
    const ResultCode counted = check_count(boxes.boxes.size(), detail);
    if (failed(counted)) return counted;
  }
  return ResultCode::kOk;
}

// The BBX y offset of ink whose last row is bottom, in a cell or band whose
// last row is cell_bottom: the baseline lies descent rows above its bottom.
std::int32_t y_offset_of(std::uint32_t bottom, std::uint32_t cell_bottom, std::uint32_t descent) {
  return static_cast<std::int32_t>(std::int64_t{cell_bottom} - descent - bottom);
}

// Keeps the widest and tallest ink of placed glyphs; the layouts count
// their glyphs when the cut ends.
void count_placed(GlyphBoxes& boxes, const GlyphBox& box) {
  if (box.width == 0) return;
  FontMeasure& totals = boxes.totals;
  totals.widest = std::max(totals.widest, box.width);
  totals.tallest = std::max(totals.tallest, box.bottom - box.top + 1);
}

ResultCode cut_grid(const InkMap& map, const ConversionOptions& options,
                    const LayoutSettings& layout, GlyphBoxes& boxes, ErrorDetail* detail) {
  const std::uint64_t step_x = std::uint64_t{layout.cell_width} + layout.gap_x;
  const std::uint64_t step_y = std::uint64_t{layout.cell_height} + layout.gap_y;
  // Whole cells from the origin: the last one needs no gap after it.
  const auto whole = [](std::uint32_t side, std::uint32_t origin, std::uint32_t cell,
                        std::uint64_t step) -> std::uint64_t {
    if (origin >= side || side - origin < cell) return 0;
    return (std::uint64_t{side} - origin - cell) / step + 1;
  };
  const std::uint64_t columns = whole(map.width_px, layout.origin_x, layout.cell_width, step_x);
  const std::uint64_t rows = whole(map.height_px, layout.origin_y, layout.cell_height, step_y);
  if (columns == 0 || rows == 0)
    return fail(detail, ErrorDetail::kNoCell, ResultCode::kBadArgument);
  boxes.place_height = layout.cell_height;
  if (options.descent >= layout.cell_height) {
    return fail(detail, ErrorDetail::kDescentTooLarge, ResultCode::kBadArgument);
  }
  boxes.one_per_place = true;
  boxes.grid_columns = static_cast<std::uint32_t>(columns);
  boxes.band_count = static_cast<std::uint32_t>(rows);
  boxes.empty_advance = layout.proportional ? 0 : layout.cell_width;
  const std::uint64_t cells = columns * rows;
  boxes.places = static_cast<std::uint32_t>(std::min<std::uint64_t>(cells, kMostSheetGlyphs + 1));
  const std::uint32_t sides = std::uint32_t{options.leading_blank} + options.trailing_blank;

  std::size_t inked_places = 0;  // boxes up to and with the last inked cell
  for (std::uint64_t index = 0; index < cells; ++index) {
    const auto row = static_cast<std::uint32_t>(index / columns);
    const auto column = static_cast<std::uint32_t>(index % columns);
    const auto left = static_cast<std::uint32_t>(layout.origin_x + column * step_x);
    const auto top = static_cast<std::uint32_t>(layout.origin_y + row * step_y);
    const std::uint32_t cell_bottom = top + layout.cell_height - 1;
    const InkBox ink = ink_box_of(map, left, left + layout.cell_width, top, cell_bottom + 1);
    if (ink.width != 0 && index >= kMostSheetGlyphs) {
      return fail(detail, ErrorDetail::kTooManyGlyphs, ResultCode::kUnusableInput);
    }
    GlyphBox box;
    box.number = static_cast<std::uint32_t>(index) + 1;
    box.band = row;
    box.cell = column;
    box.placed = true;
    box.start = ink.width != 0 ? ink.start : left;
    box.width = ink.width;
    box.top = ink.width != 0 ? ink.first : top;
    box.bottom = ink.width != 0 ? ink.last : cell_bottom;
    if (ink.width != 0) {
      box.x_offset = layout.proportional ? std::int32_t{options.leading_blank}
                                         : static_cast<std::int32_t>(ink.start - left);
      box.y_offset = y_offset_of(ink.last, cell_bottom, options.descent);
    }
    // An empty cell of a proportional grid takes the font's blank advance.
    box.advance = !layout.proportional ? layout.cell_width : ink.width != 0 ? ink.width + sides : 0;
    if (index < kMostSheetGlyphs) boxes.boxes.push_back(box);
    if (ink.width != 0) {
      inked_places = boxes.boxes.size();
      count_placed(boxes, box);
    }
  }
  // Trailing empty cells are no glyphs; a list may still run over them.
  boxes.boxes.resize(inked_places);
  boxes.totals.glyph_count = static_cast<std::uint32_t>(inked_places);
  return ResultCode::kOk;
}

// One band of marks: the runs of ink in its top row are the advance boxes;
// each glyph's ink lies below them in its box and the nearer half of the
// gaps beside it.
ResultCode cut_marked_band(const InkMap& map, std::uint32_t band, std::uint32_t first_row,
                           std::uint32_t rows, const ConversionOptions& options, GlyphBoxes& boxes,
                           ErrorDetail* detail) {
  const std::uint32_t width = map.width_px;
  const std::uint32_t band_bottom = first_row + rows - 1;
  std::uint32_t count = 0;
  std::uint32_t region_start = 0;
  std::uint32_t mark = next_column_of(map, first_row, 0, width, true);
  while (mark < width) {
    const std::uint32_t mark_end = next_column_of(map, first_row, mark, width, false);
    const std::uint32_t next_mark = next_column_of(map, first_row, mark_end, width, true);
    // The gap up to the next mark is split in the middle; a middle column
    // goes to the left.
    const std::uint32_t region_end =
        next_mark >= width ? width : mark_end + (next_mark - mark_end + 1) / 2;
    const InkBox ink = ink_box_of(map, region_start, region_end, first_row + 1, band_bottom + 1);
    GlyphBox box;
    box.number = static_cast<std::uint32_t>(boxes.boxes.size()) + 1;
    box.band = band;
    box.cell = count++;
    box.placed = true;
    box.advance = mark_end - mark;
    box.start = ink.width != 0 ? ink.start : mark;
    box.width = ink.width;
    box.top = ink.width != 0 ? ink.first : first_row + 1;
    box.bottom = ink.width != 0 ? ink.last : band_bottom;
    if (ink.width != 0) {
      box.x_offset = static_cast<std::int32_t>(std::int64_t{ink.start} - mark);
      box.y_offset = y_offset_of(ink.last, band_bottom, options.descent);
    }
    const ResultCode counted = check_count(boxes.boxes.size() + 1, detail);
    if (failed(counted)) return counted;
    boxes.boxes.push_back(box);
    count_placed(boxes, box);
    region_start = region_end;
    mark = next_mark;
  }
  boxes.band_places.push_back(count);
  return ResultCode::kOk;
}

ResultCode cut_marks(const InkMap& map, const ConversionOptions& options,
                     const LayoutSettings& layout, GlyphBoxes& boxes, ErrorDetail* detail) {
  const std::uint32_t rows = map.height_px / layout.bands;
  boxes.place_height = rows - 1;
  // The marks' row and at least one row of the glyphs above the baseline.
  if (rows < 2 || options.descent >= rows - 1) {
    return fail(detail, ErrorDetail::kDescentTooLarge, ResultCode::kBadArgument);
  }
  boxes.one_per_place = true;
  boxes.band_count = layout.bands;
  for (std::uint32_t band = 0; band < layout.bands; ++band) {
    const ResultCode result = cut_marked_band(map, band, band * rows, rows, options, boxes, detail);
    if (failed(result)) return result;
  }
  boxes.places = static_cast<std::uint32_t>(boxes.boxes.size());
  boxes.totals.glyph_count = boxes.places;
  return ResultCode::kOk;
}

}  // namespace

ResultCode cut_sheet(const InkMap& map, const ConversionOptions& options,
                     const LayoutSettings& layout, Framing framing, GlyphBoxes& boxes,
                     ErrorDetail* detail) {
  boxes = GlyphBoxes{};
  if (layout.is_single_strip()) {
    const ResultCode result = cut_strip(map, options.allowed_blank_columns, framing, boxes);
    if (failed(result)) return fail(detail, ErrorDetail::kNoGlyph, result);
    return ResultCode::kOk;
  }
  if (layout.kind != LayoutKind::kGrid &&
      (layout.bands == 0 || map.height_px % layout.bands != 0)) {
    return fail(detail, ErrorDetail::kRowsDoNotDivide, ResultCode::kBadArgument);
  }
  // A failed growth throws std::bad_alloc, which the converter's entry
  // points report as out of memory.
  switch (layout.kind) {
    case LayoutKind::kStrip:
      return cut_bands(map, options, layout, framing, boxes, detail);
    case LayoutKind::kGrid:
      return cut_grid(map, options, layout, boxes, detail);
    case LayoutKind::kMarks:
      return cut_marks(map, options, layout, boxes, detail);
  }
  return fail(detail, ErrorDetail::kLayoutSettings, ResultCode::kBadArgument);
}

}  // namespace vellicor
