/* What the engine's stb_image_png.c adds to stb_image. */
#ifndef VELLICOR_STB_IMAGE_PNG_H
#define VELLICOR_STB_IMAGE_PNG_H

#ifdef __cplusplus
extern "C" {
#endif

/* Inflates the zlib stream in the len bytes at buffer, as stb_image inflates
   a PNG's image data, into a new block of at least initial_size bytes (freed
   with stbi_image_free); *out_len is the inflated size, *stream_len the
   bytes the stream took before its Adler-32. When the bytes end before the
   stream does, *ran_out is 1 and the block holds what was inflated (*out_len
   bytes); otherwise it is 0. NULL when the bytes are broken. The stream's
   Adler-32 is not checked. */
char *vellicor_stb_inflate(const char *buffer, int len, int initial_size, int *out_len,
                           int *stream_len, int *ran_out);

#ifdef __cplusplus
}
#endif

#endif
