// Placeholder until the output-name rule lands.
#include "engine/output_name.hpp"

namespace vellicor {

ResultCode derive_bdf_name(const char*, char*, ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kNameTooLong, ResultCode::kFileAccess);
}

}  // namespace vellicor
