// Listing lines: index, code, character, first and last column, width and
// advance, in columns that line up.
#include "console/glyph_listing.hpp"

#include <cstdio>
#include <string>

#include "console/invisible_characters.hpp"
#include "console/usage.hpp"

namespace vellicor::console {

namespace {

// Every buffer below holds the longest text its format can give, so the
// lengths snprintf returns are not needed.
constexpr std::size_t kCodeColumn = 8;
// "U+10FFFF", the longest character text.
constexpr std::size_t kCharacterColumn = 8;
constexpr char kNoCharacter[] = "  (no character)";
constexpr char kNoGlyph[] = "  (no glyph)";

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

struct ListCharacter {
  std::uint32_t code_point = 0;
  std::string text;  // its UTF-8 bytes
};

// The character that starts at text, moving text past it. The cut accepted
// the list, so it is valid UTF-8; should it not be, a stray byte is a
// character of its own and the walk still ends at the terminator.
ListCharacter next_character(const char*& text) {
  constexpr unsigned kContinuationMask = 0xC0;
  constexpr unsigned kContinuationTag = 0x80;
  constexpr unsigned kContinuationBits = 0x3F;
  constexpr int kBitsPerContinuation = 6;
  const auto lead = static_cast<unsigned char>(*text);
  int following = 0;
  std::uint32_t value = lead;
  if ((lead & 0xE0u) == 0xC0u) {
    following = 1;
    value = lead & 0x1Fu;
  } else if ((lead & 0xF0u) == 0xE0u) {
    following = 2;
    value = lead & 0x0Fu;
  } else if ((lead & 0xF8u) == 0xF0u) {
    following = 3;
    value = lead & 0x07u;
  }
  ListCharacter character;
  character.text.push_back(*text++);
  for (; following > 0; --following, ++text) {
    const auto byte = static_cast<unsigned char>(*text);
    if ((byte & kContinuationMask) != kContinuationTag) break;
    value = (value << kBitsPerContinuation) | (byte & kContinuationBits);
    character.text.push_back(*text);
  }
  character.code_point = value;
  return character;
}

}  // namespace

void print_listing_heading() {
  print_line("index  code      char      first   last  width  advance");
}

std::int32_t VELLICOR_CALL print_glyph_line(void* context, const GlyphInfo* glyph) {
  if (glyph == nullptr) return 0;
  ListingStyle no_style;
  ListingStyle& style = context != nullptr ? *static_cast<ListingStyle*>(context) : no_style;
  // The heading comes with the first glyph, so a refused run prints only its message.
  if (glyph->index == 0) print_listing_heading();
  char columns[64];
  if (glyph->is_blank != 0) {
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
  if (style.with_list && glyph->character == nullptr) line += kNoCharacter;
  print_line(line.c_str());
  ++style.lines;
  if (glyph->character != nullptr) ++style.characters;
  return 0;
}

void print_unpaired_characters(ListingStyle& style) {
  if (style.list == nullptr || style.lines == 0) return;
  const char* place = style.list;
  style.list = nullptr;
  for (std::uint32_t shown = 0; shown < style.characters && *place != '\0'; ++shown) {
    static_cast<void>(next_character(place));
  }
  char columns[64];
  static_cast<void>(
      std::snprintf(columns, sizeof columns, "%5s  %5s  %5s  %7s", "-", "-", "-", "-"));
  for (std::uint32_t index = style.lines; *place != '\0'; ++index) {
    const ListCharacter character = next_character(place);
    const std::string line =
        leading_columns(index, unicode_name(character.code_point),
                        character_text(character.code_point, character.text.c_str())) +
        columns + kNoGlyph;
    print_line(line.c_str());
  }
}

}  // namespace vellicor::console
