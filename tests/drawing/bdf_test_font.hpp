// A small BDF reader for the drawing's tests: it reads the fonts cvellicor
// writes (and hand-made ones like them) into a LoadedFont, so the drawing can
// be tested apart from the real readers.
#pragma once

#include <string>

#include "engine/fontfile/loaded_font.hpp"

namespace vellicor::test {

// The font in text; fails the current test on a line it cannot read.
LoadedFont bdf_test_font(const std::string& text);

}  // namespace vellicor::test
