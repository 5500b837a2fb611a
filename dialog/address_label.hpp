// The About box's web-site address: plain centred text in a sunken box that
// reports single clicks.
#pragma once

#include <QLabel>

namespace vellicor::dialog {

class AddressLabel : public QLabel {
  Q_OBJECT

 public:
  explicit AddressLabel(const QString& text, QWidget* parent = nullptr);

 Q_SIGNALS:
  // One per single click; the second click of a double click does not count.
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool press_pending_ = false;
};

}  // namespace vellicor::dialog
