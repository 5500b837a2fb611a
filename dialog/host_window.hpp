// What the conversion callbacks need from the window that hosts a conversion.
#pragma once

#include <QString>
#include <QWidget>

namespace vellicor::dialog {

class HostWindow {
 public:
  // The control with this identifier, or null.
  virtual QWidget* control(int id) const = 0;
  // Shows one message to the user and returns when it has been dismissed.
  virtual void show_message(const QString& text) = 0;
  // Counted: the wait cursor shows until every begin has had its end.
  virtual void begin_wait_cursor() = 0;
  virtual void end_wait_cursor() = 0;

 protected:
  ~HostWindow() = default;
};

}  // namespace vellicor::dialog
