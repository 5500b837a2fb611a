/* vellicor: turns a one-bit BMP strip of glyphs into a BDF 2.1 font.
 *
 * The public C interface of the shared library. A host loads the library, calls
 * CodeUnitLoader for a Converter, reaches its operations through p->ops and
 * passes the object itself as their first argument. Plain C99; also valid C++. */
#ifndef VELLICOR_VELLICOR_H
#define VELLICOR_VELLICOR_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Calling convention of every function reached through this header: cdecl on
 * 32-bit x86 Windows, the platform's C convention elsewhere. */
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
#define VELLICOR_CALL __cdecl
#else
#define VELLICOR_CALL
#endif

/* VELLICOR_BUILDING_LIBRARY is set only while the shared library itself is
 * compiled; hosts see an import declaration. */
#if defined(_WIN32)
#if defined(VELLICOR_BUILDING_LIBRARY)
#define VELLICOR_API __declspec(dllexport)
#else
#define VELLICOR_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define VELLICOR_API __attribute__((visibility("default")))
#else
#define VELLICOR_API
#endif

/* Result of every operation: 0 is success, a negative value a failure. */
typedef int32_t ResultCode;
#define VELLICOR_OK 0                  /* success */
#define VELLICOR_E_UNUSABLE_INPUT (-1) /* not a usable one-bit BMP; query on a null object */
#define VELLICOR_E_BAD_ARGUMENT (-2)   /* null record, missing/empty/too long path */
#define VELLICOR_E_OUT_OF_MEMORY (-5)
#define VELLICOR_E_FILE_ACCESS (-6) /* file access failed, picture not one-bit, name too long */
#define VELLICOR_E_NO_GLYPH (-10)   /* the picture holds no glyph */
#define VELLICOR_E_NO_INTERFACE (-14) /* interface identifier not supported */

/* Why convert failed; written through its optional out-parameter on failure only. */
typedef int32_t ErrorDetail;
#define VELLICOR_DETAIL_NOT_BMP (-1)          /* the file does not begin with "BM" */
#define VELLICOR_DETAIL_FILE_ACCESS (-2)      /* opening, reading, seeking or writing failed */
#define VELLICOR_DETAIL_NAME_TOO_LONG (-3)    /* the derived output name is too long */
#define VELLICOR_DETAIL_UNSUPPORTED (-4)      /* more than one bit per pixel, or compressed */
#define VELLICOR_DETAIL_UNUSABLE_CONTENT (-5) /* header values, palette, no ink */
#define VELLICOR_DETAIL_OUT_OF_MEMORY (-6)
#define VELLICOR_DETAIL_NO_GLYPH (-7) /* the picture could not be cut into glyphs */

/* Interface identifiers. Both name the one interface of a Converter; only
 * IidConverter is accepted by CodeUnitLoader. */
typedef uint32_t ConverterIid;
#define IidConverter ((ConverterIid)0x83726781u)
#define IidBase ((ConverterIid)0x83726780u)

/* Where to read the picture and write the font. output_path may be null: the
 * name is then the input name with its extension replaced by ".bdf". */
typedef struct ConversionPaths {
  const char *input_path;
  const char *output_path;
} ConversionPaths;

/* How to cut the picture and shape the font. */
typedef struct ConversionOptions {
  const char *font_name;         /* null or empty: "No-Name-Font" */
  uint16_t first_glyph;          /* code of the leftmost glyph */
  uint8_t allowed_blank_columns; /* blank columns that may stand inside a glyph */
  uint8_t descent;               /* pixels below the baseline */
  uint8_t fixed_width;           /* 0 or 1 */
  uint8_t upper_blank;           /* blank rows added above every glyph */
  uint8_t lower_blank;           /* blank rows added below every glyph */
  uint8_t leading_blank;         /* blank columns added before every glyph */
  uint8_t trailing_blank;        /* blank columns added after every glyph */
} ConversionOptions;

typedef struct Converter Converter;

/* The four operations, in slot order. */
typedef struct ConverterOps {
  /* Adds one reference; returns the new count. */
  int32_t(VELLICOR_CALL *retain)(Converter *self);
  /* Drops one reference and frees the object at 0; returns the new count. */
  int32_t(VELLICOR_CALL *release)(Converter *self);
  /* Hands back self, retained, for IidConverter or IidBase. */
  ResultCode(VELLICOR_CALL *query)(Converter *self, ConverterIid iid, Converter **out);
  /* Converts one BMP file into one BDF file. detail may be null. */
  ResultCode(VELLICOR_CALL *convert)(Converter *self, const ConversionPaths *paths,
                                     const ConversionOptions *options, ErrorDetail *detail);
} ConverterOps;

/* The object. ops points at slots inside the same object; hosts never touch
 * ref_count and never free the block: only release does. On 32-bit x86 this
 * is the 24-byte layout of word-sized fields; on 64-bit hosts ref_count is
 * padded to the width of a pointer. */
struct Converter {
  ConverterOps *ops;
  int32_t ref_count;
  ConverterOps slots;
};

/* Makes a Converter with a count of 1 and stores it through out (null on any
 * failure). reserved is not read; pass 0. Returns 0, -14 for any iid but
 * IidConverter, or -5 when memory runs out. out must not be null. */
VELLICOR_API ResultCode VELLICOR_CALL CodeUnitLoader(uint32_t reserved, ConverterIid iid,
                                                     Converter **out);

typedef ResultCode(VELLICOR_CALL *CodeUnitLoaderFn)(uint32_t reserved, ConverterIid iid,
                                                     Converter **out);

#ifdef __cplusplus
}
#endif

#endif /* VELLICOR_VELLICOR_H */
