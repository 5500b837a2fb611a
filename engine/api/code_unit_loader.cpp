// The shared library's one export: the factory that hosts find by name.
#include "vellicor/internal/converter_factory.hpp"
#include "vellicor/vellicor.h"

extern "C" VELLICOR_API ResultCode VELLICOR_CALL CodeUnitLoader(uint32_t reserved, ConverterIid iid,
                                                                Converter** out) {
  using vellicor::ResultCode;
  using vellicor::to_int;
  // Nothing here throws. A null result pointer is refused instead of written
  // through.
  if (out == nullptr) return to_int(ResultCode::kBadArgument);
  *out = nullptr;
  // The converter's two identifiers make an object; the base identifier is
  // for query alone.
  if (iid != IidConverter && iid != IidConverterEx) return to_int(ResultCode::kNoInterface);
  return to_int(vellicor::create_converter(reserved, iid, out));
}
