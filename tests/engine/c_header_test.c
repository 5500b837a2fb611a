/* The public header as a C99 compiler sees it: it must compile cleanly and
 * describe the object exactly as hosts written in C lay it out. */
#include <stddef.h>

#include "vellicor/vellicor.h"

int vellicor_c_header_check(void);

int vellicor_c_header_check(void) {
  int faults = 0;
  ConversionPaths paths = {0, 0};
  ConversionOptions options = {0, 0, 0, 0, 0, 0, 0, 0, 0};
  CodeUnitLoaderFn factory = NULL; /* the type a host casts dlsym's answer to */
  if (offsetof(Converter, ref_count) != sizeof(void *)) ++faults;
  if (offsetof(Converter, slots) != 2 * sizeof(void *)) ++faults;
  if (sizeof(Converter) != 6 * sizeof(void *)) ++faults;
  if (sizeof(ConverterOps) != 4 * sizeof(void *)) ++faults;
  if (IidConverter != 0x83726781u || IidBase != 0x83726780u) ++faults;
  if (sizeof(ResultCode) != 4 || sizeof(ErrorDetail) != 4) ++faults;
  if (paths.input_path != NULL || options.first_glyph != 0 || factory != NULL) ++faults;
  return faults;
}
