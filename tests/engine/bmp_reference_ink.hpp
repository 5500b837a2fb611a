// A second, deliberately plain reading of BMP files, written from the format
// alone, to check the any-depth reader against: which pixels are pure black.
#pragma once

#include <string>
#include <vector>

namespace vellicor::test {

// The black pixels of the BMP file at path, top row first, '#' black and '.'
// anything else. Reads palette pictures of 1, 2, 4 and 8 bits, 16- and
// 32-bit bit-field pictures and RLE4/RLE8 data, with the reader's documented
// rules: an index past the palette is black; a pixel with an alpha field is
// black only when fully opaque; pixels the file or the RLE codes leave out are
// paper. Empty when the file is not one of these.
std::vector<std::string> reference_black_rows(const std::string& path);

}  // namespace vellicor::test
