// The layout table and the lookup of a keyword.
#include "driver/layout_names.hpp"

#include <cstring>

namespace vellicor {
namespace {

constexpr LayoutName kLayoutNames[] = {
    {"strip", "Strip", VELLICOR_LAYOUT_STRIP},
    {"grid", "Grid", VELLICOR_LAYOUT_GRID},
    {"marks", "Marks", VELLICOR_LAYOUT_MARKS},
};

}  // namespace

std::span<const LayoutName> layout_names() { return kLayoutNames; }

const char* layout_keyword(std::uint32_t layout) {
  for (const LayoutName& row : kLayoutNames) {
    if (row.layout == layout) return row.keyword;
  }
  return kLayoutNames[0].keyword;
}

ResultCode parse_layout(const char* text, std::uint32_t& layout) {
  if (text == nullptr) return ResultCode::kBadArgument;
  for (const LayoutName& row : kLayoutNames) {
    if (std::strcmp(row.keyword, text) == 0) {
      layout = row.layout;
      return ResultCode::kOk;
    }
  }
  return ResultCode::kBadArgument;
}

}  // namespace vellicor
