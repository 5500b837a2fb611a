// Listing lines: index, code, character, first and last column, width and
// advance, in columns that line up.
#include "console/glyph_listing.hpp"

#include <cstdio>
#include <string>

#include "console/usage.hpp"

namespace vellicor::console {

namespace {

// Every buffer below holds the longest text its format can give, so the
// lengths snprintf returns are not needed.
constexpr std::uint32_t kFirstPrintable = 0x20;
constexpr std::uint32_t kDelete = 0x7F;
constexpr std::uint32_t kLastControl = 0x9F;
constexpr std::size_t kCodeColumn = 8;
constexpr std::size_t kCharacterColumn = 4;

// text followed by blanks up to width characters (UTF-8 counted by characters).
std::string padded(const std::string& text, std::size_t width) {
  std::size_t characters = 0;
  for (const char byte : text) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++characters;
  }
  return characters >= width ? text : text + std::string(width - characters, ' ');
}

std::string code_text(const ListingStyle& style, const GlyphInfo& glyph) {
  char code[16];
  if (!style.with_list) {
    static_cast<void>(std::snprintf(code, sizeof code, "%u", static_cast<unsigned>(glyph.code)));
  } else if (glyph.character == nullptr) {
    static_cast<void>(std::snprintf(code, sizeof code, "none"));  // past the end of the list
  } else {
    static_cast<void>(
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(glyph.code)));
  }
  return code;
}

// The character quoted; "-" for none and for control characters.
std::string character_text(const GlyphInfo& glyph) {
  const bool printable = glyph.character != nullptr && glyph.code >= kFirstPrintable &&
                         !(glyph.code >= kDelete && glyph.code <= kLastControl);
  if (!printable) return "-";
  return std::string("'") + glyph.character + "'";
}

}  // namespace

void print_listing_heading() { print_line("index  code      char  first   last  width  advance"); }

std::int32_t VELLICOR_CALL print_glyph_line(void* context, const GlyphInfo* glyph) {
  if (glyph == nullptr) return 0;
  const ListingStyle no_style;
  const ListingStyle& style =
      context != nullptr ? *static_cast<const ListingStyle*>(context) : no_style;
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
  char index[16];
  static_cast<void>(std::snprintf(index, sizeof index, "%5u", glyph->index));
  const std::string line = std::string(index) + "  " +
                           padded(code_text(style, *glyph), kCodeColumn) + "  " +
                           padded(character_text(*glyph), kCharacterColumn) + "  " + columns;
  print_line(line.c_str());
  return 0;
}

}  // namespace vellicor::console
