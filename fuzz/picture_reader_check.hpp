// The properties every picture reader must keep on any input, shared by the
// PNG and BMP reader fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>

#include "engine/io/file_system.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/ink_rule.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor::fuzz {

using PictureReader = ResultCode (*)(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                                     ErrorDetail* detail);

// Reads the input as a picture file under the rule its length picks (so
// seeds need no prefix), then checks: on success a map within the size
// limit whose padding bits are paper; on failure one of the allowed details
// and no map; every file closed.
void check_picture_reader(PictureReader reader, const std::uint8_t* data, std::size_t size,
                          const std::set<ErrorDetail>& allowed_details);

}  // namespace vellicor::fuzz
