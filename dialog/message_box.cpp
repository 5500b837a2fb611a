// A plain message box in the style of the window system's default one.
#include "dialog/message_box.hpp"

#include <QApplication>
#include <QMessageBox>

namespace vellicor::dialog {

void show_message_box(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                  owner);
  // A message can arrive while the wait cursor is up; over the box itself the
  // user needs the ordinary pointer to press OK.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy) QApplication::restoreOverrideCursor();
}

}  // namespace vellicor::dialog
