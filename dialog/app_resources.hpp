// The program's pictures, compiled into it: the application icon and the
// sample glyph shown among the blank-pixel fields.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vellicor::dialog {

// Sides of the two images of the application icon.
inline constexpr int kLargeIconPx = 32;
inline constexpr int kSmallIconPx = 16;

// Icon 128: a 32 x 32 and a 16 x 16 image.
QIcon application_icon();
// Bitmap 132: a 22 x 24 letter A in a two-pixel frame.
QPixmap sample_glyph_picture();

}  // namespace vellicor::dialog
