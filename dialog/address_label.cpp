// Click reporting for the About box's address.
#include "dialog/address_label.hpp"

#include <QMouseEvent>

namespace vellicor::dialog {

AddressLabel::AddressLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  // Plain text, no link colour, underline or hand cursor: it only looks like a
  // sunken, bordered box of centred text.
  setTextFormat(Qt::PlainText);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void AddressLabel::mousePressEvent(QMouseEvent* event) {
  press_pending_ = event->button() == Qt::LeftButton;
  event->accept();
}

void AddressLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click arrives here instead of as a press and
  // must not open the address a second time.
  press_pending_ = false;
  event->accept();
}

void AddressLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool was_click = press_pending_ && event->button() == Qt::LeftButton;
  press_pending_ = false;
  event->accept();
  if (was_click) Q_EMIT clicked();
}

}  // namespace vellicor::dialog
