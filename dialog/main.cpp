// The dialog program vellicor: one window, open until it is closed.
#include <QApplication>

#include "dialog/app_resources.hpp"
#include "dialog/main_dialog.hpp"
#include "vellicor/internal/product.hpp"

int main(int argc, char* argv[]) {
  // The application name stays the program file's base name: it titles every
  // message box. Arguments are left to Qt; the program itself reads none.
  QApplication app(argc, argv);
  QApplication::setApplicationVersion(QString::fromLatin1(vellicor::kProductVersion));
  QApplication::setWindowIcon(vellicor::dialog::application_icon());

  vellicor::dialog::MainDialog dialog;
  dialog.exec();
  // However the window was closed, the program ends; nothing is saved.
  return 0;
}
