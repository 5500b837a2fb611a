// The naming table of format 0.
#include "engine/font/sfnt/name_table.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellicor {

namespace {

constexpr std::uint16_t kPlatformWindows = 3;
constexpr std::uint16_t kEncodingUnicodeBmp = 1;
constexpr std::uint16_t kLanguageUsEnglish = 0x0409;
constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kRecordBytes = 12;
constexpr std::uint32_t kReplacement = 0xFFFD;
// Code units a name keeps, so that six names stay within the 16-bit lengths
// and offsets of the table.
constexpr std::size_t kMostNameUnits = 4096;

// The next code point of text from at, moving at past it; a byte that
// starts no well-formed sequence reads as U+FFFD.
std::uint32_t next_code_point(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<std::uint8_t>(text[at++]);
  if (lead < 0x80) return lead;
  std::size_t extra = 0;
  std::uint32_t code = 0;
  std::uint32_t least = 0;  // below it the sequence is overlong
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    code = lead & 0x1F;
    least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    code = lead & 0x0F;
    least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    code = lead & 0x07;
    least = 0x10000;
  } else {
    return kReplacement;
  }
  std::size_t taken = 0;
  for (; taken < extra && at + taken < text.size(); ++taken) {
    const auto next = static_cast<std::uint8_t>(text[at + taken]);
    if ((next & 0xC0) != 0x80) break;
    code = (code << 6) | (next & 0x3F);
  }
  if (taken != extra) return kReplacement;
  at += extra;
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < least || code > 0x10FFFF || surrogate ? kReplacement : code;
}

// text (UTF-8) as UTF-16BE, code points past the basic plane as surrogate
// pairs; cut after kMostNameUnits code units.
void put_utf16(SfntBytes& out, std::string_view text) {
  const std::size_t start = out.size();
  for (std::size_t at = 0; at < text.size() && out.size() - start + 4 <= kMostNameUnits * 2;) {
    const std::uint32_t code = next_code_point(text, at);
    if (code < 0x10000) {
      out.u16(static_cast<std::uint16_t>(code));
    } else {
      const std::uint32_t offset = code - 0x10000;
      out.u16(static_cast<std::uint16_t>(0xD800 + (offset >> 10)));
      out.u16(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)));
    }
  }
}

}  // namespace

SfntBytes make_name(const SfntNames& names) {
  const std::string full = names.family + " " + names.style;
  const std::array<std::string, 6> texts = {
      names.family, names.style,     "1.000;NONE;" + names.postscript,
      full,         "Version 1.000", names.postscript};
  SfntBytes strings;
  SfntBytes out;
  out.u16(0);  // format
  out.u16(static_cast<std::uint16_t>(texts.size()));
  out.u16(static_cast<std::uint16_t>(kHeaderBytes + kRecordBytes * texts.size()));
  for (std::size_t index = 0; index < texts.size(); ++index) {
    const std::size_t start = strings.size();
    put_utf16(strings, texts[index]);
    out.u16(kPlatformWindows);
    out.u16(kEncodingUnicodeBmp);
    out.u16(kLanguageUsEnglish);
    out.u16(static_cast<std::uint16_t>(index + 1));  // name ids 1 to 6
    out.u16(static_cast<std::uint16_t>(strings.size() - start));
    out.u16(static_cast<std::uint16_t>(start));
  }
  out.append(strings.bytes().data(), strings.size());
  return out;
}

}  // namespace vellicor
