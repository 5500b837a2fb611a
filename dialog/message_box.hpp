// The program's message box: modal, owned by a window, OK only, no icon.
#pragma once

#include <QString>
#include <QWidget>

namespace vellicor::dialog {

// Shows text in a modal box over owner titled with the application name, and
// returns once the user has closed it.
void show_message_box(QWidget* owner, const QString& text);

}  // namespace vellicor::dialog
