// Polls the event loop of a modal window for that window and closes it.
#include "modal_watcher.hpp"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace vellicor::dialog::test {

ModalWatcher::ModalWatcher(Handler handler) : handler_(std::move(handler)) {
  // A zero interval runs whenever the (nested) event loop is idle: no waiting.
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &ModalWatcher::poll);
  timer_.start();
}

void ModalWatcher::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible()) return;
  last_title_ = modal->windowTitle();
  last_class_ = QString::fromLatin1(modal->metaObject()->className());
  last_text_.clear();
  last_plain_ok_box_ = false;
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    last_text_ = box->text();
    last_plain_ok_box_ =
        box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok;
  }
  ++closed_count_;
  if (handler_) {
    handler_(modal);
  } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

}  // namespace vellicor::dialog::test
