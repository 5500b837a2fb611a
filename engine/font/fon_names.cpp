// Names and figures of a .fon file from the BDF header's properties.
#include "engine/font/fon_names.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/font/bdf_header.hpp"
#include "engine/font/charsets.hpp"
#include "engine/font/fnt_font.hpp"

namespace vellicor {

namespace {

constexpr std::size_t kMostFaceBytes = 31;
constexpr std::size_t kMostModuleBytes = 8;
constexpr std::string_view kNoModuleName = "FONT";
constexpr std::string_view kNoFaceName = "No-Name-Font";

struct WeightName {
  std::string_view name;
  std::uint16_t weight;
};

// X font weight names and Windows' FW_ weights. X fonts call their regular
// weight Medium (-misc-fixed-medium-r-...); Windows calls that weight
// FW_NORMAL, and its FW_MEDIUM a shade heavier.
constexpr std::array<WeightName, 13> kWeights = {{
    {"Thin", 100},
    {"ExtraLight", 200},
    {"UltraLight", 200},
    {"Light", 300},
    {"Book", 400},
    {"Regular", 400},
    {"Normal", 400},
    {"Medium", 400},
    {"DemiBold", 600},
    {"SemiBold", 600},
    {"Bold", 700},
    {"ExtraBold", 800},
    {"Black", 900},
}};

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::uint16_t weight_of(std::string_view name) {
  for (const WeightName& entry : kWeights) {
    if (same_letters(entry.name, name)) return entry.weight;
  }
  return kFntNormalWeight;
}

// The next character of UTF-8 text, advancing past it; none for a broken
// sequence, whose first byte is passed over.
std::optional<std::uint32_t> next_character(std::string_view& text) {
  const auto lead = static_cast<std::uint8_t>(text.front());
  text.remove_prefix(1);
  if (lead < 0x80) return lead;
  std::size_t continuation = 0;
  std::uint32_t code_point = 0;
  if ((lead & 0xE0) == 0xC0) {
    continuation = 1;
    code_point = lead & 0x1FU;
  } else if ((lead & 0xF0) == 0xE0) {
    continuation = 2;
    code_point = lead & 0x0FU;
  } else if ((lead & 0xF8) == 0xF0) {
    continuation = 3;
    code_point = lead & 0x07U;
  } else {
    return std::nullopt;
  }
  if (text.size() < continuation) return std::nullopt;
  for (std::size_t i = 0; i < continuation; ++i) {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;
    code_point = code_point << 6 | (byte & 0x3FU);
  }
  text.remove_prefix(continuation);
  return code_point;
}

// name (UTF-8) in code page 1252, control characters and characters the
// code page lacks dropped.
std::string face_of(std::string_view name) {
  constexpr std::uint32_t kFirstPrintable = 0x20;
  constexpr std::uint32_t kDelete = 0x7F;
  std::string face;
  while (!name.empty() && face.size() < kMostFaceBytes) {
    const std::optional<std::uint32_t> character = next_character(name);
    if (!character || *character < kFirstPrintable || *character == kDelete) continue;
    const std::optional<std::uint8_t> byte = cp1252_byte(*character);
    if (byte) face.push_back(static_cast<char>(*byte));
  }
  return face.empty() ? std::string(kNoFaceName) : face;
}

std::string module_of(std::string_view face) {
  std::string name;
  for (const char c : face) {
    if (name.size() == kMostModuleBytes) break;
    if (c >= 'a' && c <= 'z') name.push_back(static_cast<char>(c - 'a' + 'A'));
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) name.push_back(c);
  }
  return name.empty() ? std::string(kNoModuleName) : name;
}

}  // namespace

FonNames fon_names(const FontModel& font) {
  UnicodeFontFigures figures;
  if (font.uses_list()) figures = font.unicode_figures();
  const std::vector<FontProperty> properties =
      font_properties(font, font.uses_list() ? &figures : nullptr);
  FonNames names;
  names.weight = kFntNormalWeight;
  names.pixel_size = font.frame().height;
  std::string_view family = font_name(font);
  for (const FontProperty& property : properties) {
    if (property.name == "FAMILY_NAME" && property.is_string) family = property.text;
    if (property.name == "WEIGHT_NAME" && property.is_string) {
      names.weight = weight_of(property.text);
    }
    if (property.name == "SLANT" && property.is_string) {
      names.italic = property.text == "I" || property.text == "O";
    }
    if (property.name == "PIXEL_SIZE" && !property.is_string && property.number > 0) {
      names.pixel_size = static_cast<std::uint64_t>(property.number);
    }
  }
  names.face = face_of(family);
  names.module_name = module_of(names.face);
  return names;
}

std::uint16_t fon_points(std::uint64_t pixel_size) {
  constexpr std::uint64_t kPointsPerInch = 72;
  const std::uint64_t points =
      (pixel_size * kPointsPerInch + kFntResolutionDpi / 2) / kFntResolutionDpi;
  return static_cast<std::uint16_t>(std::min<std::uint64_t>(points, kFntMostFigure));
}

std::string fon_description(const std::string& face, std::uint16_t points) {
  return "FONTRES 100,96,96 : " + face + " " + std::to_string(points);
}

}  // namespace vellicor
