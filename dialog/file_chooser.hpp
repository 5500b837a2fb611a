// The file dialogs: open behind the Browse button, save behind the Preview
// window's Save picture.
#pragma once

#include <QString>
#include <QWidget>

namespace vellicor::dialog {

// Lets the user pick an existing file, bitmaps listed first; the full path of
// the chosen file, or an empty text when the user cancelled.
QString choose_bitmap_file(QWidget* parent);

// Lets the user name a file to write, suggested offered first and filters
// ("PNG picture (*.png);;...") listed; the path, or an empty text when the
// user cancelled.
QString choose_file_to_save(QWidget* parent, const QString& title, const QString& suggested,
                            const QString& filters);

}  // namespace vellicor::dialog
