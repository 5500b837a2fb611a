// The file-open dialog behind the Browse button.
#pragma once

#include <QString>
#include <QWidget>

namespace vellicor::dialog {

// Lets the user pick an existing file, bitmaps listed first; the full path of
// the chosen file, or an empty text when the user cancelled.
QString choose_bitmap_file(QWidget* parent);

}  // namespace vellicor::dialog
