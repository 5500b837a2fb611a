// Builds a dialog's controls from its template table and finds them again by
// identifier.
#pragma once

#include <QWidget>
#include <map>
#include <vector>

#include "dialog/dialog_template.hpp"

namespace vellicor::dialog {

class ControlSet {
 public:
  // The control with this identifier, or null when the dialog has none.
  QWidget* find(int id) const;

 private:
  friend ControlSet build_controls(QWidget& parent, const DialogTemplate& layout,
                                   const DialogUnitScale& scale);
  std::map<int, QWidget*> by_id_;
  std::vector<QWidget*> ordered_;  // labels included, in template order: the tab chain
};

// Creates every control of layout as a child of parent (which owns them), at
// its rectangle converted with scale; chains the tab order in template order
// and gives each mnemonic label the next focusable control as its buddy.
ControlSet build_controls(QWidget& parent, const DialogTemplate& layout,
                          const DialogUnitScale& scale);

// The object name a control with this identifier carries.
QString control_object_name(int id);

}  // namespace vellicor::dialog
