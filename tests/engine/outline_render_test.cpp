// Traced outlines through FreeType's monochrome rasteriser, scaled the way
// its TrueType loader scales glyph coordinates: at one pixel = u whole font
// units every pixel of the bitmap comes back and nothing else. Each edge lies
// on a pixel boundary, so every pixel centre is half a pixel from every edge
// (a scale that is not exact in 16.16 fixed point moves an edge by at most a
// 64th of a pixel) and the centre rule fills exactly the squares; every span
// between edges is at least a pixel wide and holds a centre, so dropout
// control never adds a pixel either.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/font/outline_tracer.hpp"

namespace vellicor::test {
namespace {

struct LibraryCloser {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;

GlyphBitmap random_bitmap(std::mt19937& random, std::int64_t x_offset, std::int64_t y_offset) {
  GlyphBitmap bitmap;
  bitmap.width = 1 + random() % 20;
  bitmap.height = 1 + random() % 20;
  bitmap.stride = (bitmap.width + 7) / 8;
  bitmap.x_offset = x_offset;
  bitmap.y_offset = y_offset;
  bitmap.lines.assign(bitmap.stride * bitmap.height, 0);
  const auto density = random() % 101;
  for (std::uint64_t row = 0; row < bitmap.height; ++row) {
    for (std::uint64_t column = 0; column < bitmap.width; ++column) {
      if (random() % 100 < density) {
        bitmap.lines[row * bitmap.stride + column / 8] |=
            static_cast<std::uint8_t>(0x80U >> (column % 8));
      }
    }
  }
  return bitmap;
}

// The bitmap's lines as text, '#' for ink, framed by a pixel of paper.
std::vector<std::string> framed_text(const GlyphBitmap& bitmap) {
  std::vector<std::string> text(bitmap.height + 2, std::string(bitmap.width + 2, '.'));
  for (std::uint64_t row = 0; row < bitmap.height; ++row) {
    for (std::uint64_t column = 0; column < bitmap.width; ++column) {
      if (((bitmap.lines[row * bitmap.stride + column / 8] >> (7 - column % 8)) & 1) != 0) {
        text[row + 1][column + 1] = '#';
      }
    }
  }
  return text;
}

// FreeType's rendering of contours whose units are scaled by scale (16.16,
// font units to 26.6 pixels), in the frame of framed_text.
std::vector<std::string> rendered_text(FT_Library library, const std::vector<Contour>& contours,
                                       const GlyphBitmap& bitmap, FT_Fixed scale) {
  std::vector<FT_Vector> points;
  std::vector<char> tags;
  std::vector<short> ends;
  for (const Contour& contour : contours) {
    for (const OutlinePoint& point : contour.points) {
      points.push_back({FT_MulFix(point.x, scale), FT_MulFix(point.y, scale)});
      tags.push_back(FT_CURVE_TAG_ON);
    }
    ends.push_back(static_cast<short>(points.size() - 1));
  }
  FT_Outline outline{};
  outline.n_points = static_cast<short>(points.size());
  outline.n_contours = static_cast<short>(ends.size());
  outline.points = points.data();
  outline.tags = tags.data();
  outline.contours = ends.data();
  // FreeType's own judgement of the direction, from the outermost contour.
  if (!contours.empty()) {
    EXPECT_EQ(FT_Outline_Get_Orientation(&outline), FT_ORIENTATION_TRUETYPE);
  }
  // The frame's bottom-left corner to the origin, as a renderer moves the
  // glyph's box.
  FT_Outline_Translate(&outline, -64 * (bitmap.x_offset - 1), -64 * (bitmap.y_offset - 1));
  const unsigned width = static_cast<unsigned>(bitmap.width + 2);
  const unsigned rows = static_cast<unsigned>(bitmap.height + 2);
  const int pitch = static_cast<int>((width + 7) / 8);
  std::vector<unsigned char> buffer(static_cast<std::size_t>(pitch) * rows, 0);
  FT_Bitmap target{};
  target.width = width;
  target.rows = rows;
  target.pitch = pitch;
  target.buffer = buffer.data();
  target.pixel_mode = FT_PIXEL_MODE_MONO;
  target.num_grays = 2;
  std::vector<std::string> text(rows, std::string(width, '.'));
  if (FT_Error error = FT_Outline_Get_Bitmap(library, &outline, &target); error != 0) {
    ADD_FAILURE() << "FT_Outline_Get_Bitmap failed with " << error;
    return text;
  }
  for (unsigned row = 0; row < rows; ++row) {
    for (unsigned column = 0; column < width; ++column) {
      if (((buffer[row * static_cast<unsigned>(pitch) + column / 8] >> (7 - column % 8)) & 1) !=
          0) {
        text[row][column] = '#';
      }
    }
  }
  return text;
}

TEST(OutlineRender, MonochromeRasterFillsExactlyTheInk) {
  FT_Library raw = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&raw), 0);
  const LibraryPtr library(raw);
  std::mt19937 random(8122026);
  // Units per pixel, exact and inexact in 16.16, and the pixel size the em
  // holds.
  for (const FT_Long units : {1L, 3L, 7L, 64L, 100L, 1000L}) {
    for (const FT_Long pixel_size : {8L, 13L, 16L, 29L}) {
      // As FT_Set_Pixel_Sizes scales a face whose em is pixel_size * units.
      const FT_Fixed scale = FT_DivFix(pixel_size * 64, pixel_size * units);
      for (int round = 0; round < 40; ++round) {
        const GlyphBitmap bitmap = random_bitmap(random, static_cast<int>(random() % 9) - 4,
                                                 static_cast<int>(random() % 9) - 4);
        std::vector<Contour> contours;
        trace_outline(bitmap, contours);
        for (Contour& contour : contours) {
          for (OutlinePoint& point : contour.points) {
            point.x *= static_cast<std::int32_t>(units);
            point.y *= static_cast<std::int32_t>(units);
          }
        }
        ASSERT_EQ(rendered_text(library.get(), contours, bitmap, scale), framed_text(bitmap))
            << units << " units per pixel, " << pixel_size << " pixels per em";
      }
    }
  }
}

}  // namespace
}  // namespace vellicor::test
