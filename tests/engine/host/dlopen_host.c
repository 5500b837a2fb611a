/* A host built apart from the engine: it loads the shared library at run time
 * (dlopen, or LoadLibrary on Windows), finds CodeUnitLoader by name and uses
 * the Converter only through its slots.
 *
 * usage: dlopen_host LIBRARY objects
 *        dlopen_host LIBRARY layout
 *        dlopen_host LIBRARY convert WORK_DIR_TEMPLATE   (template ends in XXXXXX)
 * Prints one line per failed check and exits with 1 when any check failed. */
#define _POSIX_C_SOURCE 200809L

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include "tests/support/worked_example.h"
#include "vellicor/vellicor.h"

static int failures = 0;

#define CHECK(condition)                                                            \
  do {                                                                              \
    if (!(condition)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                                   \
    }                                                                               \
  } while (0)

/* Any non-null value, to see that a call really stores null. */
static Converter *not_null(void) {
  static int marker;
  return (Converter *)(void *)&marker;
}

/* The object as the interface lays it out, read from the bytes of a real one:
 * six pointer-sized words (24 bytes on 32-bit x86), ops pointing at the third,
 * the count in the second, the four operations in slot order after it. */
static void check_layout(CodeUnitLoaderFn factory) {
  const size_t word = sizeof(void *);
  Converter *p = NULL;
  unsigned char *bytes;
  void *ops;
  int32_t count;
  int32_t(VELLICOR_CALL * retain)(Converter *) = NULL;
  int32_t(VELLICOR_CALL * release)(Converter *) = NULL;
  ResultCode(VELLICOR_CALL * query)(Converter *, ConverterIid, Converter **) = NULL;
  ResultCode(VELLICOR_CALL * convert)(Converter *, const ConversionPaths *,
                                      const ConversionOptions *, ErrorDetail *) = NULL;
  Converter *same = NULL;
  ErrorDetail detail = 0;
  CHECK(sizeof(Converter) == 6 * word);
  CHECK(offsetof(Converter, ops) == 0);
  CHECK(offsetof(Converter, ref_count) == word);
  CHECK(offsetof(Converter, slots) == 2 * word);
  CHECK(offsetof(ConverterOps, retain) == 0);
  CHECK(offsetof(ConverterOps, release) == word);
  CHECK(offsetof(ConverterOps, query) == 2 * word);
  CHECK(offsetof(ConverterOps, convert) == 3 * word);
  if (word == 4) CHECK(sizeof(Converter) == 24);
  CHECK(factory(0, IidConverter, &p) == VELLICOR_OK);
  if (p == NULL) {
    ++failures;
    return;
  }
  bytes = (unsigned char *)p;
  memcpy(&ops, bytes, word);
  CHECK(ops == (void *)(bytes + 2 * word));
  memcpy(&count, bytes + word, sizeof count);
  CHECK(count == 1);
  /* Each operation is called through the word of its place, as a host that
   * knows only the layout would: the word must hold that operation. */
  memcpy(&retain, bytes + 2 * word, word);
  memcpy(&release, bytes + 3 * word, word);
  memcpy(&query, bytes + 4 * word, word);
  memcpy(&convert, bytes + 5 * word, word);
  if (retain == NULL || release == NULL || query == NULL || convert == NULL) {
    ++failures;
    return;
  }
  CHECK(retain(p) == 2);
  memcpy(&count, bytes + word, sizeof count);
  CHECK(count == 2);
  CHECK(query(p, IidBase, &same) == VELLICOR_OK);
  CHECK(same == p);
  memcpy(&count, bytes + word, sizeof count);
  CHECK(count == 3);
  CHECK(release(p) == 2);
  CHECK(convert(p, NULL, NULL, &detail) == VELLICOR_E_BAD_ARGUMENT);
  CHECK(detail == 0);
  CHECK(release(p) == 1);
  CHECK(p->ops->release(p) == 0);
  printf("Converter: %u bytes, words of %u bytes\n", (unsigned)sizeof(Converter), (unsigned)word);
}

static void check_objects(CodeUnitLoaderFn factory) {
  Converter *p = not_null();
  Converter *q = not_null();

  /* The base identifier is only for query; the factory refuses it. */
  CHECK(factory(0, IidBase, &p) == VELLICOR_E_NO_INTERFACE);
  CHECK(p == NULL);
  p = not_null();
  /* The identifier after IidConverter is the extended interface's; the one
   * after that names nothing. */
  CHECK(factory(0, IidConverterEx + 1u, &p) == VELLICOR_E_NO_INTERFACE);
  CHECK(p == NULL);
  CHECK(factory(0, IidConverterEx, &p) == VELLICOR_OK);
  if (p != NULL) {
    /* The extended object answers its own identifier and has its two slots. */
    ConverterEx *ex = (ConverterEx *)(void *)p;
    ConverterEx *same = NULL;
    CHECK(ex->ops->query(ex, IidConverterEx, &same) == VELLICOR_OK);
    CHECK(same == ex);
    CHECK(ex->ops->convert_ex != NULL && ex->ops->cut != NULL);
    CHECK(ex->ops->release(ex) == 1);
    CHECK(p->ops->release(p) == 0);
  } else {
    ++failures;
  }
  p = not_null();
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

/* The worked example as a 16 x 6 one-bit picture, bottom row first, palette
 * entry 0 black. */
enum { kPictureWidth = kWorkedExampleWidth, kPictureHeight = kWorkedExampleHeight };
enum { kRowStride = 4, kPaletteBytes = 8 };
enum { kHeadersBytes = 14 + 40, kPixelOffset = kHeadersBytes + kPaletteBytes };
enum { kFileBytes = kPixelOffset + kRowStride * kPictureHeight };

static const char kExpectedFont[] = VELLICOR_BDF_PREAMBLE
    "FONT Test\n" VELLICOR_WORKED_EXAMPLE_FIGURES VELLICOR_WORKED_EXAMPLE_RECORDS "ENDFONT\n";

static void put_le(unsigned char *at, unsigned long value, int bytes) {
  int index;
  for (index = 0; index < bytes; ++index)
    at[index] = (unsigned char)((value >> (8 * index)) & 0xFFu);
}

static int write_picture(const char *path, int with_ink) {
  unsigned char file[kFileBytes];
  FILE *out;
  int row;
  size_t written;
  memset(file, 0, sizeof file);
  file[0] = 'B';
  file[1] = 'M';
  put_le(file + 2, kFileBytes, 4);
  put_le(file + 10, kPixelOffset, 4);
  put_le(file + 14, 40, 4);
  put_le(file + 18, kPictureWidth, 4);
  put_le(file + 22, kPictureHeight, 4);
  put_le(file + 26, 1, 2); /* planes */
  put_le(file + 28, 1, 2); /* bits per pixel */
  put_le(file + 34, kRowStride * kPictureHeight, 4);
  /* palette: entry 0 black, entry 1 white */
  memset(file + kHeadersBytes + 4, 0xFF, 3);
  memset(file + kPixelOffset, 0xFF, kRowStride * kPictureHeight);
  for (row = 0; with_ink && row < kPictureHeight; ++row) {
    unsigned char *line = file + kPixelOffset + kRowStride * (kPictureHeight - 1 - row);
    int column;
    for (column = 0; column < kPictureWidth; ++column) {
      if (kWorkedExampleRows[row][column] != '#') continue;
      line[column / 8] &= (unsigned char)~(0x80u >> (column % 8));
    }
  }
  out = fopen(path, "wb");
  if (out == NULL) return 0;
  written = fwrite(file, 1, sizeof file, out);
  return fclose(out) == 0 && written == sizeof file;
}

/* The whole file as text, or NULL; the caller frees it. */
static char *read_text(const char *path) {
  FILE *in = fopen(path, "rb");
  char *text;
  size_t length;
  if (in == NULL) return NULL;
  text = (char *)calloc(4096, 1);
  length = text == NULL ? 0 : fread(text, 1, 4095, in);
  fclose(in);
  if (text != NULL) text[length] = '\0';
  return text;
}

#ifdef _WIN32
/* The Windows C runtime has no mkdtemp: _mktemp names it, _mkdir makes it. */
static char *make_work_directory(char *work_template) {
  if (_mktemp_s(work_template, strlen(work_template) + 1) != 0) return NULL;
  return _mkdir(work_template) == 0 ? work_template : NULL;
}
#define remove_directory _rmdir
#else
#define make_work_directory mkdtemp
#define remove_directory rmdir
#endif

static void join(char *out, size_t size, const char *directory, const char *name) {
  snprintf(out, size, "%s/%s", directory, name);
}

static void check_conversion(CodeUnitLoaderFn factory, char *work_template) {
  char picture[1024], blank[1024], output[1024], derived[1024];
  ConversionOptions options;
  ConversionPaths paths;
  ErrorDetail detail = 12345;
  Converter *p = NULL;
  char *text;
  const char *directory = make_work_directory(work_template);

  CHECK(directory != NULL);
  if (directory == NULL) return;
  join(picture, sizeof picture, directory, "strip.bmp");
  join(blank, sizeof blank, directory, "blank.bmp");
  join(output, sizeof output, directory, "out.bdf");
  join(derived, sizeof derived, directory, "strip.bdf");
  CHECK(write_picture(picture, 1));
  CHECK(write_picture(blank, 0));
  CHECK(factory(0, IidConverter, &p) == VELLICOR_OK);
  if (p == NULL) return;

  memset(&options, 0, sizeof options);
  options.font_name = "Test";
  options.first_glyph = 65;
  options.allowed_blank_columns = 1;
  options.descent = 1;
  options.leading_blank = 1;
  options.trailing_blank = 1;

  /* A successful conversion leaves the detail untouched. */
  paths.input_path = picture;
  paths.output_path = output;
  CHECK(p->ops->convert(p, &paths, &options, &detail) == VELLICOR_OK);
  CHECK(detail == 12345);
  text = read_text(output);
  CHECK(text != NULL && strcmp(text, kExpectedFont) == 0);
  free(text);

  /* Without an output name the font is named after the picture. */
  paths.output_path = NULL;
  CHECK(p->ops->convert(p, &paths, &options, NULL) == VELLICOR_OK);
  text = read_text(derived);
  CHECK(text != NULL && strcmp(text, kExpectedFont) == 0);
  free(text);

  /* Refused arguments write no detail. */
  CHECK(p->ops->convert(p, NULL, &options, &detail) == VELLICOR_E_BAD_ARGUMENT);
  CHECK(detail == 12345);
  paths.output_path = "";
  CHECK(p->ops->convert(p, &paths, &options, &detail) == VELLICOR_E_BAD_ARGUMENT);
  CHECK(detail == 12345);

  /* A picture without ink fails before the existing output is touched. */
  paths.input_path = blank;
  paths.output_path = output;
  CHECK(p->ops->convert(p, &paths, &options, &detail) == VELLICOR_E_UNUSABLE_INPUT);
  CHECK(detail == VELLICOR_DETAIL_UNUSABLE_CONTENT);
  text = read_text(output);
  CHECK(text != NULL && strcmp(text, kExpectedFont) == 0);
  free(text);

  /* A missing picture is a file access failure. */
  join(blank, sizeof blank, directory, "missing.bmp");
  paths.input_path = blank;
  detail = 0;
  CHECK(p->ops->convert(p, &paths, &options, &detail) == VELLICOR_E_FILE_ACCESS);
  CHECK(detail == VELLICOR_DETAIL_FILE_ACCESS);

  CHECK(p->ops->release(p) == 0);
  join(blank, sizeof blank, directory, "blank.bmp");
  remove(picture);
  remove(blank);
  remove(output);
  remove(derived);
  CHECK(remove_directory(directory) == 0); /* nothing else was left behind */
}

#ifdef _WIN32
typedef HMODULE Library;
static Library open_library(const char *path) { return LoadLibraryA(path); }
static const char *library_error(void) { return "LoadLibraryA failed"; }
static void *find_symbol(Library library, const char *name) {
  /* GetProcAddress hands back a function pointer of its own type. */
  FARPROC found = GetProcAddress(library, name);
  void *symbol = NULL;
  memcpy(&symbol, &found, sizeof symbol);
  return symbol;
}
static void close_library(Library library) { FreeLibrary(library); }
#else
typedef void *Library;
static Library open_library(const char *path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static const char *library_error(void) { return dlerror(); }
static void *find_symbol(Library library, const char *name) { return dlsym(library, name); }
static void close_library(Library library) { dlclose(library); }
#endif

int main(int argc, char **argv) {
  Library library;
  void *symbol;
  CodeUnitLoaderFn factory;

  if (argc < 3) {
    fprintf(stderr, "usage: dlopen_host LIBRARY objects|layout|convert [WORK_DIR_TEMPLATE]\n");
    return 2;
  }
  library = open_library(argv[1]);
  if (library == NULL) {
    fprintf(stderr, "cannot load %s: %s\n", argv[1], library_error());
    return 1;
  }
  symbol = find_symbol(library, "CodeUnitLoader");
  if (symbol == NULL) {
    fprintf(stderr, "no CodeUnitLoader in %s\n", argv[1]);
    close_library(library);
    return 1;
  }
  /* POSIX hands back a data pointer; copying its bytes is the portable way to
   * turn it into the function pointer it stands for. */
  memcpy(&factory, &symbol, sizeof factory);

  if (strcmp(argv[2], "objects") == 0) {
    check_objects(factory);
  } else if (strcmp(argv[2], "layout") == 0) {
    check_layout(factory);
  } else if (strcmp(argv[2], "convert") == 0 && argc == 4) {
    check_conversion(factory, argv[3]);
  } else {
    fprintf(stderr, "unknown mode %s\n", argv[2]);
    ++failures;
  }

  close_library(library);
  return failures == 0 ? 0 : 1;
}
