/* stb_image's implementation for the PNG reader of builds without libspng:
   PNG only, from memory, none of the optional conversions (no flipping, no
   unpremultiplying, no iPhone channel order; the reader never turns them
   on). Compiled on its own, without the engine's warning flags, as the
   third-party code it is. */
#include <stddef.h>

/* Every allocation is counted against the reading's allowance
   (stb_allowance.hpp). */
void *vellicor_stb_malloc(size_t size);
void *vellicor_stb_realloc(void *block, size_t size);
void vellicor_stb_free(void *block);
#define STBI_MALLOC(size) vellicor_stb_malloc(size)
#define STBI_REALLOC(block, size) vellicor_stb_realloc(block, size)
#define STBI_FREE(block) vellicor_stb_free(block)

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>
#include <string.h>

#include "engine/picture/stb_image_png.h"

char *vellicor_stb_inflate(const char *buffer, int len, int initial_size, int *out_len,
                           int *stream_len, int *ran_out) {
  stbi__zbuf z;
  char *out = (char *)stbi__malloc(initial_size);
  *ran_out = 0;
  if (out == NULL) return NULL;
  z.zbuffer = (stbi_uc *)buffer;
  z.zbuffer_end = (stbi_uc *)buffer + len;
  if (!stbi__do_zlib(&z, out, initial_size, 1, 1)) {
    /* A stored block longer than the bytes left, or codes read past the end
       (stb_image reads zeros there). */
    const char *reason = stbi_failure_reason();
    *ran_out =
        z.zbuffer >= z.zbuffer_end || (reason != NULL && strcmp(reason, "read past buffer") == 0);
    if (!*ran_out) {
      STBI_FREE(z.zout_start);
      return NULL;
    }
  }
  *out_len = (int)(z.zout - z.zout_start);
  /* Whole bytes still in the bit buffer were read ahead, not taken. */
  *stream_len = (int)(z.zbuffer - (stbi_uc *)buffer) - z.num_bits / 8;
  return z.zout_start;
}
