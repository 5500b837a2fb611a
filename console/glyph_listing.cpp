// Listing lines: index, code, character, first and last column, width and
// advance, in columns that line up.
#include "console/glyph_listing.hpp"

#include <cstdio>
#include <string>

#include "console/invisible_characters.hpp"
#include "console/usage.hpp"
#include "driver/conversion_driver.hpp"

namespace vellicor::console {

namespace {

// Every buffer below holds the longest text its format can give, so the
// lengths snprintf returns are not needed.
constexpr std::size_t kCodeColumn = 8;
// "U+10FFFF", the longest character text.
constexpr std::size_t kCharacterColumn = 8;
constexpr char kNoCharacter[] = "  (no character)";
constexpr char kNoGlyph[] = "  (no glyph)";
constexpr char kHeading[] = "index  code      char      first   last  width  advance";
constexpr char kPlacesHeading[] = "  place";

// text followed by blanks up to width characters (UTF-8 counted by characters).
std::string padded(const std::string& text, std::size_t width) {
  std::size_t characters = 0;
  for (const char byte : text) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++characters;
  }
  return characters >= width ? text : text + std::string(width - characters, ' ');
}

std::string unicode_name(std::uint32_t code_point) {
  char code[16];
  static_cast<void>(std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(code_point)));
  return code;
}

std::string code_text(const ListingStyle& style, const GlyphInfo& glyph) {
  if (!style.with_list) return std::to_string(glyph.code);
  if (glyph.character == nullptr) return "none";  // past the end of the list
  return unicode_name(glyph.code);
}

// The character quoted; its code when it would not show as itself; "-"
// without one.
std::string character_text(std::uint32_t code_point, const char* character) {
  if (character == nullptr) return "-";
  if (is_invisible_character(code_point)) return unicode_name(code_point);
  return std::string("'") + character + "'";
}

// The index, code and character columns and the two blanks after them.
std::string leading_columns(std::uint32_t index, const std::string& code,
                            const std::string& character) {
  char number[16];
  static_cast<void>(std::snprintf(number, sizeof number, "%5u", static_cast<unsigned>(index)));
  return std::string(number) + "  " + padded(code, kCodeColumn) + "  " +
         padded(character, kCharacterColumn) + "  ";
}

}  // namespace

ListingStyle listing_style_of(const ExtendedCommandLine& request) {
  ListingStyle style;
  style.with_list = request.chars != nullptr || request.charset != nullptr;
  std::uint32_t rows = 0;
  const bool several_rows =
      request.rows != nullptr && succeeded(parse_number(request.rows, &rows)) && rows > 1;
  style.with_places = request.layout != nullptr || several_rows;
  return style;
}

void print_listing_heading(const ListingStyle& style) {
  print_line(style.with_places ? (std::string(kHeading) + kPlacesHeading).c_str() : kHeading);
}

std::int32_t VELLICOR_CALL print_glyph_line(void* context, const GlyphInfo* glyph) {
  if (glyph == nullptr) return 0;
  const ListingStyle no_style;
  const ListingStyle& style =
      context != nullptr ? *static_cast<const ListingStyle*>(context) : no_style;
  // The heading comes with the first glyph, so a refused run prints only its message.
  if (glyph->index == 0) print_listing_heading(style);
  char columns[64];
  const bool without_glyph = glyph->unpaired != 0 && glyph->character != nullptr;
  if (without_glyph) {
    static_cast<void>(
        std::snprintf(columns, sizeof columns, "%5s  %5s  %5s  %7s", "-", "-", "-", "-"));
  } else if (glyph->is_blank != 0) {
    static_cast<void>(
        std::snprintf(columns, sizeof columns, "%5s  %5s  %5u  %7u", "-", "-", 0u, glyph->advance));
  } else {
    static_cast<void>(std::snprintf(columns, sizeof columns, "%5u  %5u  %5u  %7u",
                                    glyph->first_column, glyph->first_column + glyph->width - 1,
                                    glyph->width, glyph->advance));
  }
  std::string line = leading_columns(glyph->index, code_text(style, *glyph),
                                     character_text(glyph->code, glyph->character)) +
                     columns;
  if (style.with_places && !without_glyph) {
    // The API counts from 0; people count rows and cells from 1.
    line += "  row " + std::to_string(std::uint64_t{glyph->band} + 1) + ", cell " +
            std::to_string(std::uint64_t{glyph->cell} + 1);
  }
  if (without_glyph) line += kNoGlyph;
  if (style.with_list && glyph->character == nullptr) line += kNoCharacter;
  print_line(line.c_str());
  return 0;
}

}  // namespace vellicor::console
