// The message table: one row per message, in the order of the Message enum.
#include "driver/messages.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <vector>

#include "driver/ink_rule_names.hpp"

namespace vellicor {
namespace {

struct MessageRow {
  Message message;
  const char* text;
};

constexpr MessageRow kMessages[] = {
    {Message::kBadCallbackTable, "Bad input VTable"},
    {Message::kBadInputFileName, "Bad input file name"},
    {Message::kInputNameTooLong, "BMP file name exceeds max length"},
    {Message::kOutputNameTooLong, "BDF file name exceeds max length"},
    {Message::kInvalidAllowedBlank, "Invalid Blank Pixels Value"},
    {Message::kInvalidFirstGlyph, "Invalid 1st Glyph Value"},
    {Message::kInvalidDescent, "Invalid Descent Pixels Value"},
    {Message::kInvalidUpperBlank, "Invalid Upper Blank Value"},
    {Message::kInvalidLeadingBlank, "Invalid Leading Blank Value"},
    {Message::kInvalidTrailingBlank, "Invalid Trailing Blank Value"},
    {Message::kInvalidLowerBlank, "Invalid Lower Blank Value"},
    {Message::kInvalidFontName, "Invalid Font Name Value"},
    {Message::kInvalidInputFileType, "Invalid Input File Type"},
    {Message::kFileAccessFailed, "Error in File Access During Operation"},
    {Message::kFileNameTooLong, "File Name Length is too long"},
    {Message::kDataNotSupported, "File Data not supported at this time"},
    {Message::kUnusableContents, "Invalid or Unusable Input File Contents"},
    {Message::kOutOfMemory, "Out of memory for this operation"},
    {Message::kNoGlyphGenerated, "Failed to generate font from bitmap bits"},
    {Message::kConversionFailed, "Error converting BMP to BDF"},
    {Message::kCharsTooLong, "Character list is too long"},
    {Message::kInvalidBlankAdvance, "Invalid Blank Advance Value"},
    {Message::kInvalidInkRule, "Invalid Ink Rule Value"},
    {Message::kCharsInvalid, "The character list is not valid UTF-8 text"},
    {Message::kCharsDuplicate, "The character list names a character twice"},
    {Message::kCharsEmpty, "The character list is empty"},
    {Message::kCharsOnlyBlanks, "The character list names only blank characters"},
    {Message::kCharsCount, "The picture and the character list differ in number of glyphs"},
    {Message::kCharsFileUnreadable, "Cannot read the character list file:"},
    // "Damaged"/"broken" say the file breaks its format; "too large" says
    // only that it is past this program's limit.
    {Message::kPictureTooLarge,
     "Picture too large to read: over 16777216 pixels a side, or more than its file size allows"},
    {Message::kPngTruncated, "PNG file ends too early: it is cut short"},
    {Message::kPngChecksum, "PNG file is damaged: a chunk fails its checksum"},
    {Message::kPngBadData, "PNG file is damaged: its compressed image data is broken"},
    {Message::kPngBadHeader, "PNG file is broken: impossible header values or chunk layout"},
    {Message::kBmpBadData, "BMP file is damaged: its RLE codes jump past the picture"},
    {Message::kFontTooLarge, "Font too large for its picture"},
    {Message::kCharsNulByte, "The character list holds a NUL byte"},
    {Message::kOutputIsCharsFile, "The font would overwrite the character list file:"},
    {Message::kTooManyGlyphs, "The picture holds more than 65536 glyphs, more than a font takes"},
    {Message::kLayoutSettings, "The layout settings do not fit together"},
    {Message::kInvalidLayout, "Invalid Layout Value: strip, grid or marks"},
    {Message::kInvalidRows, "Invalid Rows Value: the number of rows of glyphs, 1 to 65536"},
    {Message::kInvalidGridCell,
     "Invalid Grid Cell Value: the cell's width and height in pixels, each 1 or more, as in 8x16"},
    {Message::kInvalidGridOrigin,
     "Invalid Grid Origin Value: the first cell's left and top pixel, as in 0,0"},
    {Message::kInvalidGridGap,
     "Invalid Grid Gap Value: the pixels between cells across and down, as in 1,1"},
    // The keywords of charset_names(), which a test holds to this text.
    {Message::kInvalidCharset, "Invalid Character Set Value: ascii, latin1, cp437 or cp1252"},
    // The keywords of format_names(), which a test holds to this text.
    {Message::kInvalidFormat, "Invalid Format Value: bdf, pcf, psf, otb, fon or ttf"},
    {Message::kPsfGlyphCount, "The font has more glyphs than the Linux console loads: at most 512"},
    {Message::kPsfCellSize,
     "The font's cell is larger than the Linux console loads: at most 64 pixels wide and 128 tall"},
    {Message::kFonNothingLeft,
     "A FON holds the characters of Windows-1252 (codes 0 to 255 without a list), and the font "
     "has none of them"},
    {Message::kOutlineTooComplex,
     "A glyph's outline needs more than the 32756 points or 4094 contours a TrueType glyph "
     "holds that FreeType loads"},
    {Message::kUnknownFormat, "The format names no font format"},
    {Message::kGlyphTooLarge,
     "A glyph is larger than the format's metrics hold: OTB and TTF bitmaps at most 255 pixels "
     "across and down, PCF glyphs 32767 and FON cells 65535"},
    {Message::kFontUnknown,
     "Not a font file that can be drawn: BDF and PSF, and where FreeType is built in PCF, OTB, "
     "TTF and FON, each also gzip-compressed"},
    {Message::kFontDamaged, "The font file is damaged: it breaks the rules of its format"},
    {Message::kFontNoBitmap,
     "The font holds outlines only: it has no bitmap at any size, so no pixels to draw"},
    {Message::kFontTooLargeToDraw,
     "The font is too large to draw: at most 65536 glyphs of at most 4096 pixels a side, from a "
     "file of at most 256 MiB"},
    {Message::kFontNoGlyph, "The font holds no glyph with a code to draw"},
    {Message::kInvalidColumns, "Invalid Columns Value: glyphs a row, 1 to 65536"},
    {Message::kFontNotAGrid,
     "The font does not fit a grid: its glyphs differ in advance or reach out of their cells; "
     "draw it with --marks"},
    {Message::kFontFileUnreadable, "Cannot read the font file:"},
    {Message::kPictureUnwritable, "Cannot write the picture or its character list:"},
};

// The rows are indexed by the enum's value; this keeps the two in step.
constexpr bool rows_follow_enum() {
  for (std::size_t index = 0; index < std::size(kMessages); ++index) {
    if (static_cast<std::size_t>(kMessages[index].message) != index) return false;
  }
  return true;
}
static_assert(rows_follow_enum(), "message rows must follow the Message enum order");
static_assert(std::size(kMessages) == static_cast<std::size_t>(Message::kPictureUnwritable) + 1,
              "every message needs a row");

struct DetailRow {
  ErrorDetail detail;
  Message message;
};

constexpr DetailRow kDetailMessages[] = {
    {ErrorDetail::kNotBmp, Message::kInvalidInputFileType},
    {ErrorDetail::kFileAccess, Message::kFileAccessFailed},
    {ErrorDetail::kNameTooLong, Message::kFileNameTooLong},
    {ErrorDetail::kUnsupported, Message::kDataNotSupported},
    {ErrorDetail::kUnusableContent, Message::kUnusableContents},
    {ErrorDetail::kOutOfMemory, Message::kOutOfMemory},
    {ErrorDetail::kNoGlyph, Message::kNoGlyphGenerated},
    {ErrorDetail::kFontTooLarge, Message::kFontTooLarge},
};

// Details only the extended conversion gives; the plain one's table above
// keeps answering them with its general message.
constexpr DetailRow kExtendedDetailMessages[] = {
    {ErrorDetail::kCharsInvalid, Message::kCharsInvalid},
    {ErrorDetail::kCharsDuplicate, Message::kCharsDuplicate},
    {ErrorDetail::kCharsEmpty, Message::kCharsEmpty},
    {ErrorDetail::kCharsOnlyBlanks, Message::kCharsOnlyBlanks},
    {ErrorDetail::kCharsCount, Message::kCharsCount},
    {ErrorDetail::kPictureTooLarge, Message::kPictureTooLarge},
    {ErrorDetail::kPngTruncated, Message::kPngTruncated},
    {ErrorDetail::kPngChecksum, Message::kPngChecksum},
    {ErrorDetail::kPngBadData, Message::kPngBadData},
    {ErrorDetail::kPngBadHeader, Message::kPngBadHeader},
    {ErrorDetail::kBmpBadData, Message::kBmpBadData},
    {ErrorDetail::kTooManyGlyphs, Message::kTooManyGlyphs},
    {ErrorDetail::kLayoutSettings, Message::kLayoutSettings},
    {ErrorDetail::kPsfGlyphCount, Message::kPsfGlyphCount},
    {ErrorDetail::kPsfCellSize, Message::kPsfCellSize},
    {ErrorDetail::kFonNothingLeft, Message::kFonNothingLeft},
    {ErrorDetail::kOutlineTooComplex, Message::kOutlineTooComplex},
    {ErrorDetail::kUnknownFormat, Message::kUnknownFormat},
    {ErrorDetail::kGlyphTooLarge, Message::kGlyphTooLarge},
    {ErrorDetail::kFontUnknown, Message::kFontUnknown},
    {ErrorDetail::kFontDamaged, Message::kFontDamaged},
    {ErrorDetail::kFontNoBitmap, Message::kFontNoBitmap},
    {ErrorDetail::kFontTooLargeToDraw, Message::kFontTooLargeToDraw},
    {ErrorDetail::kFontNoGlyph, Message::kFontNoGlyph},
};

// "1 glyph", "94 glyphs".
std::string count_of(std::uint32_t count, const char* noun) {
  std::string text = std::to_string(count) + " " + noun;
  if (count != 1) text += "s";
  return text;
}

// "U+00E9 'é'" for a code point, its UTF-8 text quoted when printable.
std::string character_name(std::uint32_t code_point) {
  char hex[16];
  static_cast<void>(std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code_point)));
  std::string name = hex;
  constexpr std::uint32_t kFirstPrintable = 0x20;
  constexpr std::uint32_t kDelete = 0x7F;
  constexpr std::uint32_t kLastControl = 0x9F;
  if (code_point < kFirstPrintable || (code_point >= kDelete && code_point <= kLastControl)) {
    return name;
  }
  char text[5] = {};
  if (code_point < 0x80) {
    text[0] = static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    text[0] = static_cast<char>(0xC0 | (code_point >> 6));
    text[1] = static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    text[0] = static_cast<char>(0xE0 | (code_point >> 12));
    text[1] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    text[2] = static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    text[0] = static_cast<char>(0xF0 | (code_point >> 18));
    text[1] = static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    text[2] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    text[3] = static_cast<char>(0x80 | (code_point & 0x3F));
  }
  return name + " '" + text + "'";
}

// "No pixel of the picture counts as ink under --ink black; try --ink dark,
// opaque or auto": the rule applied, and the others to try.
std::string ink_rule_text(const char* what, std::uint32_t rule) {
  std::string applied = "?";
  std::vector<const char*> others;
  for (const InkRuleName& name : ink_rule_names()) {
    if (name.rule == rule) {
      applied = name.keyword;
    } else {
      others.push_back(name.keyword);
    }
  }
  std::string text =
      std::string(what) + " pixel of the picture counts as ink under --ink " + applied + "; try";
  for (std::size_t i = 0; i < others.size(); ++i) {
    text += i == 0 ? " --ink " : i + 1 == others.size() ? " or " : ", ";
    text += others[i];
  }
  return text;
}

}  // namespace

const char* message_text(Message message) {
  const auto index = static_cast<std::size_t>(message);
  if (index >= std::size(kMessages))
    return kMessages[static_cast<std::size_t>(Message::kConversionFailed)].text;
  return kMessages[index].text;
}

Message message_for_detail(ErrorDetail detail) {
  for (const DetailRow& row : kDetailMessages) {
    if (row.detail == detail) return row.message;
  }
  // A detail of 0, or one this table does not know, still gets a message.
  return Message::kConversionFailed;
}

std::string failure_text(ErrorDetail detail, const ConversionReport& report) {
  switch (detail) {
    case ErrorDetail::kCharsCount: {
      // A grid pairs every character with a cell, blank ones included.
      if (report.grid_columns != 0) {
        const std::uint64_t cells = std::uint64_t{report.grid_columns} * report.bands;
        if (report.characters_listed > cells) {
          return "The character list names " + count_of(report.characters_listed, "character") +
                 " but the grid holds " + count_of(static_cast<std::uint32_t>(cells), "cell");
        }
        return "The picture's cells hold glyphs up to cell " + std::to_string(report.glyphs_cut) +
               " but the character list names " + count_of(report.characters_listed, "character");
      }
      std::string text = "The picture holds " + count_of(report.glyphs_cut, "glyph") +
                         " but the character list names " +
                         std::to_string(report.characters_listed);
      if (report.blanks_listed != 0) {
        text += " (besides " + count_of(report.blanks_listed, "blank character") +
                (report.blanks_listed == 1 ? ", which takes no glyph)" : ", which take no glyph)");
      }
      return text;
    }
    case ErrorDetail::kCharsDuplicate:
      return "The character list names " + character_name(report.problem_character) + " twice";
    case ErrorDetail::kNoInk:
      return ink_rule_text("No", report.ink_rule);
    case ErrorDetail::kAllInk:
      return ink_rule_text("Every", report.ink_rule);
    case ErrorDetail::kDescentTooLarge:
      return "The descent leaves no line above the baseline: it must be less than the font's "
             "height of " +
             count_of(report.font_height, "line");
    case ErrorDetail::kRowsDoNotDivide:
      return "The picture's height of " + count_of(report.picture_height, "pixel") +
             " does not divide into " + count_of(report.bands, "row") + " of glyphs";
    case ErrorDetail::kBandCount:
      return "Row " + std::to_string(report.problem_band) + " of the picture holds " +
             count_of(report.band_glyphs, "glyph") + " but line " +
             std::to_string(report.problem_band) + " of the character list names " +
             std::to_string(report.band_characters);
    case ErrorDetail::kListLines:
      return "The character list has " + count_of(report.list_lines, "line") + " but the picture " +
             count_of(report.bands, "row") + " of glyphs: give one line, or one line for each row";
    case ErrorDetail::kNoCell:
      return "Not one whole cell of the grid fits in the picture of " +
             std::to_string(report.picture_width) + " x " + std::to_string(report.picture_height) +
             " pixels from the grid's origin";
    case ErrorDetail::kPsfGlyphCount:
      return "The font has " + count_of(report.glyph_count, "glyph") +
             ", more than the Linux console loads: at most 512";
    case ErrorDetail::kCharsInvalid:
      return "The character list is not valid UTF-8 text (at byte " +
             std::to_string(report.problem_offset) + ")";
    default:
      for (const DetailRow& row : kExtendedDetailMessages) {
        if (row.detail == detail) return message_text(row.message);
      }
      return message_text(message_for_detail(detail));
  }
}

std::string left_out_text(const ConversionReport& report, std::uint32_t format, bool listed) {
  if (report.left_out == 0) return {};
  std::string text;
  if (format == VELLICOR_FORMAT_FON) {
    text = listed ? "Left out of the FON, which holds Windows-1252 only: "
                  : "Left out of the FON, which holds the codes 0 to 255 only: ";
  } else {
    text = "Left out of the font, which holds at most 65534 glyphs: ";
  }
  text += count_of(report.left_out, listed ? "character" : "glyph") + (listed ? " (" : " (codes ");
  const std::uint32_t named = std::min(report.left_out, VELLICOR_LEFT_OUT_SHOWN);
  for (std::uint32_t index = 0; index < named; ++index) {
    if (index != 0) text += ", ";
    text += listed ? character_name(report.left_out_codes[index])
                   : std::to_string(report.left_out_codes[index]);
  }
  if (named < report.left_out) text += ", and " + std::to_string(report.left_out - named) + " more";
  return text + ")";
}

std::string drawing_failure_text(ErrorDetail detail, std::uint64_t line) {
  const ConversionReport none{};
  std::string text = failure_text(detail, none);
  if (detail == ErrorDetail::kFontDamaged && line != 0) {
    text += " (line " + std::to_string(line) + ")";
  }
  return text;
}

std::string nul_byte_text(std::size_t offset) {
  return std::string(message_text(Message::kCharsNulByte)) + " (at byte " + std::to_string(offset) +
         ")";
}

}  // namespace vellicor
