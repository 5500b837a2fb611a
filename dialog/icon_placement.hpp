// Where a minimised window draws its icon.
#pragma once

#include <QPoint>
#include <QSize>

namespace vellicor::dialog {

// Top-left corner that centres icon in client: (client - icon + 1) / 2 on each
// axis, the division truncating toward zero (so a client smaller than the icon
// gives a negative corner, rounded up).
constexpr QPoint centred_icon_origin(QSize client, QSize icon) {
  return QPoint((client.width() - icon.width() + 1) / 2, (client.height() - icon.height() + 1) / 2);
}

}  // namespace vellicor::dialog
