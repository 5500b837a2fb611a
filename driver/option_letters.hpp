// The console's option letters and the fields they answer, as the console
// reads its command line and as the Preview window reads back a command line
// the drawing of a font prints.
#pragma once

#include "driver/host_callbacks.hpp"

namespace vellicor {

struct OptionLetter {
  char letter;  // lower case; the console takes either case
  FieldId id;
};

inline constexpr OptionLetter kOptionLetterFields[] = {
    {'o', FieldOutputPath},          {'f', FieldFontName},   {'v', FieldFirstGlyph},
    {'a', FieldAllowedBlankColumns}, {'d', FieldDescent},    {'w', FieldFixedWidth},
    {'u', FieldUpperBlank},          {'b', FieldLowerBlank}, {'l', FieldLeadingBlank},
    {'r', FieldTrailingBlank},
};

}  // namespace vellicor
