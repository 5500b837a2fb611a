/* Preloaded into cvellicor by the interruption tests: sends the process a
 * chosen signal right after its writes to files (not to standard output or
 * error) have reached a chosen number of bytes, so that a conversion is
 * interrupted at an exact point of its writing rather than at a moment.
 *
 *   VELLICOR_SHIM_SIGNAL       the signal's number
 *   VELLICOR_SHIM_AFTER_BYTES  bytes written to files before it is sent
 *   VELLICOR_SHIM_NO_TMPFILE   when set, opening with O_TMPFILE fails as on a
 *                              file system without unnamed files
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdlib.h>
#include <sys/types.h>
#include <unistd.h>

typedef ssize_t (*write_function)(int, const void*, size_t);
typedef int (*open_function)(const char*, int, ...);
typedef int (*openat_function)(int, const char*, int, ...);

static unsigned long long written_to_files;

static unsigned long long environment_number(const char* name) {
  const char* text = getenv(name);
  return text == NULL ? 0 : strtoull(text, NULL, 10);
}

ssize_t write(int descriptor, const void* bytes, size_t count) {
  static write_function real_write;
  if (real_write == NULL) real_write = (write_function)dlsym(RTLD_NEXT, "write");
  const ssize_t put = real_write(descriptor, bytes, count);
  if (descriptor > STDERR_FILENO && put > 0) {
    const unsigned long long before = written_to_files;
    written_to_files += (unsigned long long)put;
    const int signal_number = (int)environment_number("VELLICOR_SHIM_SIGNAL");
    const unsigned long long after = environment_number("VELLICOR_SHIM_AFTER_BYTES");
    if (signal_number > 0 && before < after && written_to_files >= after) {
      const int saved = errno;
      kill(getpid(), signal_number);
      errno = saved;
    }
  }
  return put;
}

/* The mode argument is there only when the file may be created. */
static int takes_mode(int flags) {
#ifdef O_TMPFILE
  if ((flags & O_TMPFILE) == O_TMPFILE) return 1;
#endif
  return (flags & O_CREAT) != 0;
}

static int refuses(int flags) {
#ifdef O_TMPFILE
  return (flags & O_TMPFILE) == O_TMPFILE && getenv("VELLICOR_SHIM_NO_TMPFILE") != NULL;
#else
  (void)flags;
  return 0;
#endif
}

#define OPEN_WRAPPER(name)                                                     \
  int name(const char* path, int flags, ...) {                                 \
    static open_function real_open;                                            \
    mode_t mode = 0;                                                           \
    va_list arguments;                                                         \
    if (takes_mode(flags)) {                                                   \
      va_start(arguments, flags);                                              \
      mode = (mode_t)va_arg(arguments, int);                                   \
      va_end(arguments);                                                       \
    }                                                                          \
    if (refuses(flags)) {                                                      \
      errno = EOPNOTSUPP;                                                      \
      return -1;                                                               \
    }                                                                          \
    if (real_open == NULL) real_open = (open_function)dlsym(RTLD_NEXT, #name); \
    return real_open(path, flags, mode);                                       \
  }

#define OPENAT_WRAPPER(name)                                                         \
  int name(int directory, const char* path, int flags, ...) {                        \
    static openat_function real_openat;                                              \
    mode_t mode = 0;                                                                 \
    va_list arguments;                                                               \
    if (takes_mode(flags)) {                                                         \
      va_start(arguments, flags);                                                    \
      mode = (mode_t)va_arg(arguments, int);                                         \
      va_end(arguments);                                                             \
    }                                                                                \
    if (refuses(flags)) {                                                            \
      errno = EOPNOTSUPP;                                                            \
      return -1;                                                                     \
    }                                                                                \
    if (real_openat == NULL) real_openat = (openat_function)dlsym(RTLD_NEXT, #name); \
    return real_openat(directory, path, flags, mode);                                \
  }

OPEN_WRAPPER(open)
OPEN_WRAPPER(open64)
OPENAT_WRAPPER(openat)
OPENAT_WRAPPER(openat64)
