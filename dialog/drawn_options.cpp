// Reading a drawing's conversion options into field texts.
#include "dialog/drawn_options.hpp"

#include <string_view>

#include "driver/layout_names.hpp"
#include "driver/option_letters.hpp"
#include "vellicor/vellicor.h"

namespace vellicor::dialog {
namespace {

// The long options that carry a value straight into one field.
struct LongField {
  std::string_view name;  // without the leading "--"
  FieldId id;
};

constexpr LongField kLongFields[] = {
    {"chars", FieldChars},
    {"blank-advance", FieldBlankAdvance},
    {"ink", FieldInkRule},
    {"rows", FieldRows},
    {"grid-origin", FieldGridOrigin},
    {"grid-gap", FieldGridGap},
    {"charset", FieldCharset},
    {"format", FieldFormat},
};

constexpr std::string_view kGrid = "grid";
constexpr std::string_view kMarks = "marks";
constexpr std::string_view kProportional = "proportional";

const FieldId* letter_field(char letter) {
  for (const OptionLetter& row : kOptionLetterFields) {
    if (row.letter == letter || row.letter == letter + ('a' - 'A')) return &row.id;
  }
  return nullptr;
}

const FieldId* long_field(std::string_view name) {
  for (const LongField& row : kLongFields) {
    if (row.name == name) return &row.id;
  }
  return nullptr;
}

bool is_option(const std::string& argument) { return !argument.empty() && argument[0] == '-'; }

}  // namespace

std::vector<FieldText> fields_of_options(const std::vector<std::string>& options) {
  std::vector<FieldText> fields;
  const auto text = [](std::string_view value) {
    return QByteArray(value.data(), static_cast<qsizetype>(value.size()));
  };
  std::size_t position = 0;
  while (position < options.size()) {
    const std::string& argument = options[position++];
    if (!is_option(argument)) continue;
    const bool has_next = position < options.size() && !is_option(options[position]);
    if (argument.size() < 2 || argument[1] != '-') {
      const FieldId* id = letter_field(argument.size() > 1 ? argument[1] : '\0');
      if (has_next) {
        if (id != nullptr) fields.emplace_back(*id, text(options[position]));
        ++position;
      } else if (id != nullptr) {
        fields.emplace_back(*id, QByteArray(*id == FieldFixedWidth ? "1" : "0"));
      }
      continue;
    }
    const std::string_view long_text = std::string_view(argument).substr(2);
    const std::size_t equals = long_text.find('=');
    const std::string_view name = long_text.substr(0, equals);
    if (name == kMarks) {
      fields.emplace_back(FieldLayout, QByteArray(layout_keyword(VELLICOR_LAYOUT_MARKS)));
      continue;
    }
    if (name == kProportional) {
      fields.emplace_back(FieldProportional, QByteArray("1"));
      continue;
    }
    const FieldId* id = name == kGrid ? nullptr : long_field(name);
    if (name != kGrid && id == nullptr) continue;
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = long_text.substr(equals + 1);
    } else if (has_next) {
      value = options[position++];
    } else {
      continue;
    }
    if (name == kGrid) {
      fields.emplace_back(FieldLayout, QByteArray(layout_keyword(VELLICOR_LAYOUT_GRID)));
      fields.emplace_back(FieldGridCell, text(value));
    } else {
      fields.emplace_back(*id, text(value));
    }
  }
  return fields;
}

}  // namespace vellicor::dialog
