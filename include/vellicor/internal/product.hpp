// Names, addresses and version of the product, printed by every front end.
#pragma once

#include "vellicor/internal/version.hpp"

namespace vellicor {

inline constexpr char kContactEmail[] = "vellicor@example.org";
inline constexpr char kWebSite[] = "https://example.org/vellicor";
inline constexpr char kCopyright[] = "Copyright (C) 2026 The vellicor authors";
inline constexpr char kProductVersion[] = VELLICOR_VERSION_TEXT;

}  // namespace vellicor
