/* The small strip that the byte-for-byte tests convert, and what it must give.
 * Plain C, so that the separately built C host checks the same bytes as the
 * C++ tests.
 *
 * Converted with first code 0x41, one allowed blank column, descent 1 and one
 * leading and one trailing blank column: columns 1-3, 6-8 (a tolerated gap at
 * 7) and 11-12 are glyphs; column 15 reaches the right edge and is dropped. */
#ifndef VELLICOR_TESTS_SUPPORT_WORKED_EXAMPLE_H
#define VELLICOR_TESTS_SUPPORT_WORKED_EXAMPLE_H

enum { kWorkedExampleWidth = 16, kWorkedExampleHeight = 6 };

/* Rows top row first: '#' is ink. */
static const char *const kWorkedExampleRows[kWorkedExampleHeight] = {
    "................", ".#....#.#.......", ".#....#.#..##..#",
    ".###........#..#", ".###.......##...", "................",
};

/* Header lines 5 to 11, after the FONT line. */
#define VELLICOR_WORKED_EXAMPLE_FIGURES                                         \
  "SIZE 5 75 75\nFONTBOUNDINGBOX 5 4 0 -1\nSTARTPROPERTIES 2\nFONT_DESCENT 1\n" \
  "FONT_ASCENT 3\nENDPROPERTIES\nCHARS 3\n"

/* The three glyph records, in order. */
#define VELLICOR_WORKED_EXAMPLE_RECORDS                                               \
  "STARTCHAR char0041\nENCODING 65\nSWIDTH 960 0\nDWIDTH 5 0\nBBX 5 4 0 -1\nBITMAP\n" \
  "40\n40\n70\n70\nENDCHAR\n"                                                         \
  "STARTCHAR char0042\nENCODING 66\nSWIDTH 960 0\nDWIDTH 5 0\nBBX 5 4 0 -1\nBITMAP\n" \
  "50\n50\n00\n00\nENDCHAR\n"                                                         \
  "STARTCHAR char0043\nENCODING 67\nSWIDTH 768 0\nDWIDTH 4 0\nBBX 4 4 0 -1\nBITMAP\n" \
  "00\n60\n20\n60\nENDCHAR\n"

#endif /* VELLICOR_TESTS_SUPPORT_WORKED_EXAMPLE_H */
