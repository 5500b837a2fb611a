// Placeholder until the convert operation lands.
#include "engine/convert.hpp"

namespace vellicor {

ResultCode convert_file(FileSystem&, const ConversionPaths*, const ConversionOptions*,
                        ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kNone, ResultCode::kBadArgument);
}

}  // namespace vellicor
