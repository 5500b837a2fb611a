// The shared library's one export.
#include "engine/converter.hpp"
#include "vellicor/vellicor.h"

extern "C" VELLICOR_API ResultCode VELLICOR_CALL CodeUnitLoader(uint32_t reserved, ConverterIid iid,
                                                                Converter** out) {
  *out = nullptr;
  if (iid != IidConverter) return vellicor::to_int(vellicor::ResultCode::kNoInterface);
  return vellicor::to_int(vellicor::create_converter(reserved, IidConverter, out));
}
