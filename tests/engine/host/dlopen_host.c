/* A host built apart from the engine: it loads the shared library at run time,
 * finds CodeUnitLoader by name and uses the Converter only through its slots.
 *
 * usage: dlopen_host LIBRARY objects
 *        dlopen_host LIBRARY convert WORK_DIR_TEMPLATE   (template ends in XXXXXX)
 * Prints one line per failed check and exits with 1 when any check failed. */
#define _POSIX_C_SOURCE 200809L

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "vellicor/vellicor.h"

static int failures = 0;

#define CHECK(condition)                                              \
  do {                                                                \
    if (!(condition)) {                                               \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
              #condition);                                            \
      ++failures;                                                     \
    }                                                                 \
  } while (0)

/* Any non-null value, to see that a call really stores null. */
static Converter *not_null(void) {
  static int marker;
  return (Converter *)(void *)&marker;
}

static void check_objects(CodeUnitLoaderFn factory) {
  Converter *p = not_null();
  Converter *q = not_null();

  /* The base identifier is only for query; the factory refuses it. */
  CHECK(factory(0, IidBase, &p) == VELLICOR_E_NO_INTERFACE);
  CHECK(p == NULL);
  p = not_null();
  CHECK(factory(0, IidConverter + 1u, &p) == VELLICOR_E_NO_INTERFACE);
  CHECK(p == NULL);
  CHECK(factory(0, IidConverter, NULL) == VELLICOR_E_BAD_ARGUMENT);

  CHECK(factory(0, IidConverter, &p) == VELLICOR_OK);
  if (p == NULL) {
    ++failures;
    return;
  }
  /* The first word holds the address of the object's own third word. */
  CHECK(*(void **)p == (void *)((char *)p + 2 * sizeof(void *)));
  CHECK(p->ops->retain(p) == 2);
  CHECK(p->ops->release(p) == 1);

  CHECK(p->ops->query(p, IidBase, &q) == VELLICOR_OK);
  CHECK(q == p);
  CHECK(p->ops->retain(p) == 3);
  CHECK(p->ops->release(p) == 2);
  CHECK(q->ops->release(q) == 1);

  q = not_null();
  CHECK(p->ops->query(p, IidConverter + 1u, &q) == VELLICOR_E_NO_INTERFACE);
  CHECK(q == NULL);
  CHECK(p->ops->retain(p) == 2); /* the failed query left the count alone */
  CHECK(p->ops->release(p) == 1);

  CHECK(p->ops->query(p, IidConverter, NULL) == VELLICOR_E_BAD_ARGUMENT);
  q = not_null();
  CHECK(p->ops->query(NULL, IidConverter, &q) == VELLICOR_E_UNUSABLE_INPUT);
  CHECK(q == NULL);

  /* Two objects do not share their count. */
  q = NULL;
  CHECK(factory(0, IidConverter, &q) == VELLICOR_OK);
  if (q != NULL) {
    CHECK(q != p);
    CHECK(q->ops->release(q) == 0);
  }
  CHECK(p->ops->release(p) == 0);
}

int main(int argc, char **argv) {
  void *library;
  void *symbol;
  CodeUnitLoaderFn factory;

  if (argc < 3) {
    fprintf(stderr, "usage: dlopen_host LIBRARY objects|convert [WORK_DIR_TEMPLATE]\n");
    return 2;
  }
  library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) {
    fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
    return 1;
  }
  symbol = dlsym(library, "CodeUnitLoader");
  if (symbol == NULL) {
    fprintf(stderr, "no CodeUnitLoader in %s\n", argv[1]);
    dlclose(library);
    return 1;
  }
  /* POSIX hands back a data pointer; copying its bytes is the portable way to
   * turn it into the function pointer it stands for. */
  memcpy(&factory, &symbol, sizeof factory);

  if (strcmp(argv[2], "objects") == 0) {
    check_objects(factory);
  } else {
    fprintf(stderr, "unknown mode %s\n", argv[2]);
    ++failures;
  }

  dlclose(library);
  return failures == 0 ? 0 : 1;
}
