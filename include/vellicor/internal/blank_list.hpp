// Whether a character list names blank characters only, by the engine's own
// rule of what is blank.
#pragma once

namespace vellicor {

// True when text (NUL-terminated) is one or more well-formed UTF-8 characters,
// every one a space separator. Such a list is refused as blanks only, whatever
// else is wrong with it ("   " names the space three times as well); any
// other text is left to the conversion's checks.
bool lists_only_blanks(const char* text);

}  // namespace vellicor
