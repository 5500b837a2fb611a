// The About box: program name, version, copyright and the web-site address,
// which opens in the desktop's default handler when clicked.
#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

#include "dialog/control_set.hpp"

namespace vellicor::dialog {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens an address outside the program; its outcome is not reported.
  using AddressOpener = std::function<void(const QUrl& address)>;

  explicit AboutDialog(QWidget* parent = nullptr, AddressOpener opener = open_in_desktop);

  // The control with this identifier, or null.
  QWidget* control(int id) const { return controls_.find(id); }

  // Hands address to the desktop's default handler.
  static void open_in_desktop(const QUrl& address);

 private:
  void open_web_site();

  ControlSet controls_;
  AddressOpener open_address_;
};

}  // namespace vellicor::dialog
