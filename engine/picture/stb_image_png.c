/* stb_image's implementation for the PNG reader of builds without libspng:
   PNG only, from memory, none of the optional conversions (no flipping, no
   unpremultiplying, no iPhone channel order; the reader never turns them
   on). Compiled on its own, without the engine's warning flags, as the
   third-party code it is. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>
