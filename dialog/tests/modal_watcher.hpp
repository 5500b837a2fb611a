// Closes the next modal window that opens, after noting what it showed, so a
// test can drive code that runs a modal loop.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace vellicor::dialog::test {

class ModalWatcher : public QObject {
  Q_OBJECT

 public:
  // Called with each modal window instead of the default close; it must end
  // the window itself (accept it, reject it, close it).
  using Handler = std::function<void(QWidget* modal)>;

  // Starts watching at once; every modal window that opens is closed, or
  // handed to handler when one is given.
  explicit ModalWatcher(Handler handler = {});

  int closed_count() const { return closed_count_; }
  // Of the last window closed: its title, its class and, for a message box,
  // its text and whether it had an icon and buttons other than OK.
  const QString& last_title() const { return last_title_; }
  const QString& last_class() const { return last_class_; }
  const QString& last_text() const { return last_text_; }
  bool last_was_plain_ok_box() const { return last_plain_ok_box_; }

 private:
  void poll();

  Handler handler_;
  QTimer timer_;
  int closed_count_ = 0;
  QString last_title_;
  QString last_class_;
  QString last_text_;
  bool last_plain_ok_box_ = false;
};

}  // namespace vellicor::dialog::test
