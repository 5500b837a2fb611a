// The About box, built from its template like the main window.
#include "dialog/about_dialog.hpp"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QLabel>

#include "dialog/address_label.hpp"
#include "dialog/app_resources.hpp"
#include "dialog/dialog_template.hpp"

namespace vellicor::dialog {

AboutDialog::AboutDialog(QWidget* parent, AddressOpener opener)
    : QDialog(parent, kFixedDialogFlags), open_address_(std::move(opener)) {
  const DialogTemplate& layout = about_dialog_template();
  const DialogUnitScale scale = measure_dialog_font(fontMetrics());
  setWindowTitle(QString::fromUtf8(layout.caption));
  setWindowIcon(application_icon());
  setFixedSize(to_pixels(layout.size_dlu, scale));
  controls_ = build_controls(*this, layout, scale);

  if (auto* ok = qobject_cast<QAbstractButton*>(controls_.find(kAboutOkButtonId))) {
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
  }
  if (auto* address = qobject_cast<AddressLabel*>(controls_.find(kWebAddressId))) {
    connect(address, &AddressLabel::clicked, this, &AboutDialog::open_web_site);
  }
}

void AboutDialog::open_in_desktop(const QUrl& address) {
  // A desktop without a handler for the address is not reported: the box
  // simply stays as it is.
  static_cast<void>(QDesktopServices::openUrl(address));
}

void AboutDialog::open_web_site() {
  // The address opened is the very text shown.
  const auto* address = qobject_cast<const QLabel*>(controls_.find(kWebAddressId));
  if (address != nullptr && open_address_) open_address_(QUrl(address->text()));
}

}  // namespace vellicor::dialog
