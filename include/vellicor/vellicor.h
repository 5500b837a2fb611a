/* vellicor: turns a picture of a bitmap font (a row of glyphs in a BMP or PNG)
 * into a BDF 2.1 font.
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
#define VELLICOR_E_UNUSABLE_INPUT (-1) /* not a usable picture; query on a null object */
#define VELLICOR_E_BAD_ARGUMENT (-2)   /* null record, missing/empty/too long path */
#define VELLICOR_E_OUT_OF_MEMORY (-5)
#define VELLICOR_E_FILE_ACCESS (-6)   /* file access failed, picture not one-bit, name too long */
#define VELLICOR_E_NO_GLYPH (-10)     /* the picture holds no glyph */
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

/* ------------------------------------------------------------------------ *
 * The extended interface (version 1).
 *
 * CodeUnitLoader(0, IidConverterEx, &p) makes a ConverterEx. Its first four
 * slots are those of a Converter, so a ConverterEx pointer may be used as a
 * Converter pointer, and its query answers IidBase, IidConverter and
 * IidConverterEx with the object itself. A plain Converter's query refuses
 * IidConverterEx (-14): hosts ask the factory, not an old object.
 *
 * The plain convert keeps its exact behaviour. convert_ex adds what goes
 * beyond it: a character list with real blank glyphs and Unicode code points,
 * pictures in more formats (PNG, BMP of any depth) and a choice of what counts
 * as ink. cut reports the glyphs a conversion would write without writing.
 * Both frame the glyphs by their ink: every row and column of the picture
 * may hold glyphs, the font's box runs from the first to the last row
 * holding ink (with the upper and lower blanks), the descent counts its
 * lines below the baseline, and every glyph lies inside it.
 * ------------------------------------------------------------------------ */

#define IidConverterEx ((ConverterIid)0x83726782u)

/* Further reasons of a failed conversion (details -8 and below). */
#define VELLICOR_DETAIL_FONT_TOO_LARGE (-8)      /* the font would be far larger than its picture */
#define VELLICOR_DETAIL_CHARS_INVALID (-9)       /* the character list is not valid UTF-8 */
#define VELLICOR_DETAIL_CHARS_DUPLICATE (-10)    /* a character is listed twice */
#define VELLICOR_DETAIL_CHARS_EMPTY (-11)        /* the character list is empty */
#define VELLICOR_DETAIL_CHARS_ONLY_BLANKS (-12)  /* the list names no character with ink */
#define VELLICOR_DETAIL_CHARS_COUNT (-13)        /* the list and the picture disagree in number */
#define VELLICOR_DETAIL_PICTURE_TOO_LARGE (-14)  /* the picture exceeds the reader's size limit */
#define VELLICOR_DETAIL_PNG_TRUNCATED (-15)      /* the PNG file ends before its image does */
#define VELLICOR_DETAIL_PNG_CHECKSUM (-16)       /* a PNG chunk fails its CRC */
#define VELLICOR_DETAIL_PNG_BAD_DATA (-17)       /* the compressed image data is broken */
#define VELLICOR_DETAIL_PNG_BAD_HEADER (-18)     /* impossible header values or chunk layout */
#define VELLICOR_DETAIL_BMP_BAD_DATA (-19)       /* broken BMP pixel data (e.g. RLE runs) */
#define VELLICOR_DETAIL_NO_INK (-20)             /* no pixel counts as ink under the ink rule */
#define VELLICOR_DETAIL_ALL_INK (-21)            /* every pixel counts as ink under the ink rule */
#define VELLICOR_DETAIL_DESCENT_TOO_LARGE (-22)  /* no line of the font's box above the baseline */
#define VELLICOR_DETAIL_ROWS_DO_NOT_DIVIDE (-23) /* the height does not divide into the bands */
#define VELLICOR_DETAIL_BAND_COUNT (-24)      /* a band and its line of the list differ in number */
#define VELLICOR_DETAIL_LIST_LINES (-25)      /* the list's lines are neither one nor the bands */
#define VELLICOR_DETAIL_NO_CELL (-26)         /* not one whole cell of the grid fits the picture */
#define VELLICOR_DETAIL_TOO_MANY_GLYPHS (-27) /* a sheet of more than 65,536 glyphs */
#define VELLICOR_DETAIL_LAYOUT_SETTINGS (-28) /* layout settings that do not fit together */
#define VELLICOR_DETAIL_PSF_GLYPH_COUNT (-29) /* more glyphs than the Linux console loads (512) */
#define VELLICOR_DETAIL_PSF_CELL_SIZE (-30)   /* a cell the Linux console does not load */
#define VELLICOR_DETAIL_FON_NOTHING_LEFT (-31)    /* no glyph has a Windows-1252 character */
#define VELLICOR_DETAIL_OUTLINE_TOO_COMPLEX (-32) /* an outline past TrueType's limits */
#define VELLICOR_DETAIL_UNKNOWN_FORMAT (-33)      /* a format number that names no format */
#define VELLICOR_DETAIL_GLYPH_TOO_LARGE (-34)     /* a glyph past the format's metrics */

/* What counts as ink in a picture (ConversionSettings.ink_rule). */
#define VELLICOR_INK_BLACK 0u  /* pure black and opaque: the one-bit BMP's rule (default) */
#define VELLICOR_INK_DARK 1u   /* luminance below one half, opaque */
#define VELLICOR_INK_OPAQUE 2u /* at least half opaque, whatever the colour */
#define VELLICOR_INK_AUTO 3u   /* the most common colour is paper, every other colour ink */

/* How the glyphs stand in the picture (ConversionSettings.layout). */
#define VELLICOR_LAYOUT_STRIP                                                                    \
  0u                             /* rows bands of glyphs side by side, each cut column by column \
                                  */
#define VELLICOR_LAYOUT_GRID 1u  /* cells of one size, one glyph each, read row by row */
#define VELLICOR_LAYOUT_MARKS 2u /* rows bands whose top row marks each glyph's advance */

/* Built-in character lists (ConversionSettings.charset), in place of chars. */
#define VELLICOR_CHARSET_NONE 0u
#define VELLICOR_CHARSET_ASCII 1u  /* U+0020 to U+007E */
#define VELLICOR_CHARSET_LATIN1 2u /* ascii, then U+00A0 to U+00FF */
#define VELLICOR_CHARSET_CP437 3u  /* the 256 characters of the IBM PC code page */
#define VELLICOR_CHARSET_CP1252 4u /* the Windows Western code page, 0x20 to 0xFF */

/* The file format a conversion writes (ConversionSettings.format). */
#define VELLICOR_LEFT_OUT_SHOWN 8u /* left-out glyphs a report names */
#define VELLICOR_FORMAT_BDF 0u     /* BDF 2.1 (default), as convert writes */
#define VELLICOR_FORMAT_PCF 1u     /* X11 Portable Compiled Format */
#define VELLICOR_FORMAT_PSF 2u /* PC Screen Font 2, with a Unicode table, for the Linux console */
#define VELLICOR_FORMAT_OTB 3u /* OpenType with bitmap tables only */
#define VELLICOR_FORMAT_FON 4u /* Windows font resource file of FNT version 3 */
#define VELLICOR_FORMAT_TTF 5u /* TrueType outlines of the pixels, with the bitmap strike */

/* Extra settings of convert_ex and cut. size is sizeof(ConversionSettings) as
 * the host was built; the engine reads only the fields that lie within size
 * and takes the defaults (zero) for the rest, so older and newer hosts both
 * work. A null record means all defaults. */
typedef struct ConversionSettings {
  uint32_t size;
  /* UTF-8 text, one character per glyph, left to right; null: codes count up
   * from first_glyph as in convert. Space separators (U+0020, U+00A0, U+2000
   * to U+200A, ...) become empty glyphs and take no glyph of the picture. */
  const char *chars;
  /* Advance of blank glyphs in pixels; 0: the median advance of the cut
   * glyphs (the fixed width in a fixed-width font). */
  uint32_t blank_advance;
  uint32_t ink_rule; /* VELLICOR_INK_* */
  uint32_t layout;   /* VELLICOR_LAYOUT_* */
  /* STRIP and MARKS: bands of equal height, read top to bottom; 0 and 1 both
   * mean one. In chars a line feed ends one band's characters. */
  uint32_t rows;
  uint32_t cell_width; /* GRID: the cell in pixels */
  uint32_t cell_height;
  uint32_t grid_origin_x; /* GRID: the first cell's top-left pixel */
  uint32_t grid_origin_y;
  uint32_t grid_gap_x; /* GRID: pixels skipped between cells, across and down */
  uint32_t grid_gap_y;
  /* GRID: 1: a glyph advances its ink width and the leading and trailing
   * blanks, as in the strip; 0: the cell width. */
  uint32_t proportional;
  uint32_t charset; /* VELLICOR_CHARSET_*; chars must then be null */
  /* VELLICOR_FORMAT_*; a derived output name takes the format's extension */
  uint32_t format;
} ConversionSettings;

/* What convert_ex and cut found; filled as far as the work got, also on
 * failure (for messages such as "The picture holds 94 glyphs but the
 * character list names 95"). size as in ConversionSettings. */
typedef struct ConversionReport {
  uint32_t size;
  uint32_t glyph_count;       /* glyph records in the font, blank ones included */
  uint32_t glyphs_cut;        /* glyphs cut from the picture */
  uint32_t characters_listed; /* characters of the list that take a picture glyph */
  uint32_t picture_width;     /* in pixels */
  uint32_t picture_height;
  uint32_t tallest;           /* rows from the first to the last holding ink */
  uint32_t widest;            /* widest glyph cut */
  uint32_t problem_character; /* the duplicate code point (DETAIL_CHARS_DUPLICATE) */
  uint32_t problem_offset;    /* byte offset of invalid UTF-8 (DETAIL_CHARS_INVALID) */
  uint32_t blanks_listed;     /* blank characters of the list (they take no picture glyph) */
  uint32_t ink_rule;          /* the rule that classified the pixels (DETAIL_NO_INK, _ALL_INK) */
  uint32_t font_height;       /* lines of the font's box (DETAIL_DESCENT_TOO_LARGE) */
  uint32_t bands;             /* bands of a strip or marks, rows of a grid's cells */
  uint32_t grid_columns;      /* whole cells across a grid */
  uint32_t list_lines;        /* lines of the character list (DETAIL_LIST_LINES) */
  uint32_t problem_band;      /* from 1: the band whose count differs (DETAIL_BAND_COUNT) */
  uint32_t band_glyphs;       /* that band's glyphs */
  uint32_t band_characters;   /* the characters of its line that take a glyph */
  /* Glyphs the format cannot hold, left out of the font (a FON holds
   * Windows-1252 only, an OTB or TTF 65,534 glyphs), and the codes of the
   * first of them: code points in a font made with a list. */
  uint32_t left_out;
  uint32_t left_out_codes[VELLICOR_LEFT_OUT_SHOWN];
} ConversionReport;

/* One glyph as cut reports it, left to right. */
typedef struct GlyphInfo {
  uint32_t index;        /* position in the font, from 0 */
  uint32_t code;         /* the ENCODING of its record */
  uint32_t first_column; /* picture columns of the glyph; both 0 for a blank glyph */
  uint32_t width;        /* glyph columns in the picture; 0 for a blank glyph */
  uint32_t advance;      /* DWIDTH of its record */
  uint32_t top;          /* first and last picture row holding its ink */
  uint32_t bottom;
  uint32_t is_blank;     /* 1 for a blank character of the list */
  const char *character; /* the character as UTF-8 text, or null without a list */
  uint32_t unpaired;     /* 1 when list and picture differ in number: a glyph past
                            the list (no character), or a character past the
                            picture's glyphs (no columns, not in the font) */
  uint32_t band;         /* from 0: the band, or the grid row, the glyph stands in */
  uint32_t cell;         /* from 0: its place in the band, or its grid column */
  int32_t x_offset;      /* the BBX offsets of its record */
  int32_t y_offset;
} GlyphInfo;

/* Called once per glyph; return 0 to go on, anything else to stop the cut
 * (cut then returns 0). glyph is valid only during the call. */
typedef int32_t(VELLICOR_CALL *GlyphCallback)(void *context, const GlyphInfo *glyph);

typedef struct ConverterEx ConverterEx;

typedef struct ConverterExOps {
  /* The four operations of ConverterOps, same order and meaning. */
  int32_t(VELLICOR_CALL *retain)(ConverterEx *self);
  int32_t(VELLICOR_CALL *release)(ConverterEx *self);
  ResultCode(VELLICOR_CALL *query)(ConverterEx *self, ConverterIid iid, ConverterEx **out);
  ResultCode(VELLICOR_CALL *convert)(ConverterEx *self, const ConversionPaths *paths,
                                     const ConversionOptions *options, ErrorDetail *detail);
  /* convert with the extra settings; settings and report may be null. */
  ResultCode(VELLICOR_CALL *convert_ex)(ConverterEx *self, const ConversionPaths *paths,
                                        const ConversionOptions *options,
                                        const ConversionSettings *settings,
                                        ConversionReport *report, ErrorDetail *detail);
  /* Cuts the picture at input_path as convert_ex would and calls callback for
   * every glyph of the font, writing nothing. callback and report may be null.
   * When the list and the picture disagree in number (DETAIL_CHARS_COUNT) the
   * glyphs are still reported, paired with the list's characters as far as
   * both go (the cut glyphs past the list with code 0 and no character), and
   * cut then fails. options may be null (all zero). */
  ResultCode(VELLICOR_CALL *cut)(ConverterEx *self, const char *input_path,
                                 const ConversionOptions *options,
                                 const ConversionSettings *settings, GlyphCallback callback,
                                 void *callback_context, ConversionReport *report,
                                 ErrorDetail *detail);
} ConverterExOps;

/* Laid out as a Converter, with two more slots. */
struct ConverterEx {
  ConverterExOps *ops;
  int32_t ref_count;
  ConverterExOps slots;
};

#ifdef __cplusplus
}
#endif

#endif /* VELLICOR_VELLICOR_H */
