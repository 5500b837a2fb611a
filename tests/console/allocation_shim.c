/* Preloaded into cvellicor by the out-of-memory test: array allocations that
 * may fail (new (std::nothrow) T[n]) of at least a chosen size fail, as they
 * would when memory runs out; all others are served as usual.
 *
 *   VELLICOR_SHIM_FAIL_FROM_BYTES  the smallest request that fails (0: none)
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stddef.h>
#include <stdlib.h>

typedef void* (*array_new_function)(size_t, const void*);

/* operator new[](std::size_t, const std::nothrow_t&), by its mangled name. */
void* _ZnamRKSt9nothrow_t(size_t bytes, const void* tag) {
  static array_new_function real_new;
  const char* text = getenv("VELLICOR_SHIM_FAIL_FROM_BYTES");
  const unsigned long long fail_from = text == NULL ? 0 : strtoull(text, NULL, 10);
  if (fail_from != 0 && bytes >= fail_from) return NULL;
  if (real_new == NULL) real_new = (array_new_function)dlsym(RTLD_NEXT, "_ZnamRKSt9nothrow_t");
  return real_new(bytes, tag);
}
