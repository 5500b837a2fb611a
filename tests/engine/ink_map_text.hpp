// Reading a picture through the any-format readers, and its ink back as text
// rows the way the glyph cutter sees them.
#pragma once

#include <string>
#include <vector>

#include "engine/picture/ink_map.hpp"
#include "engine/picture/ink_rule.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor::test {

struct ReadPicture {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = ErrorDetail::kNone;
  InkMap map;
};

// read_picture_ink on the file at path.
ReadPicture read_ink(const std::string& path, InkRule rule);
// Writes bytes to a fresh folder as picture.<extension> and reads it.
ReadPicture read_ink_bytes(const std::vector<std::uint8_t>& bytes, InkRule rule);

// The map's ink, top row first, '#' ink and '.' paper, read through the
// accessors the layout uses.
std::vector<std::string> ink_map_rows(const InkMap& map);

}  // namespace vellicor::test
