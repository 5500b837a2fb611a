// Loads the pictures compiled in from resources/vellicor.qrc.
#include "dialog/app_resources.hpp"

namespace vellicor::dialog {

QIcon application_icon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/vellicor/icon-32.png"), QSize(kLargeIconPx, kLargeIconPx));
  icon.addFile(QStringLiteral(":/vellicor/icon-16.png"), QSize(kSmallIconPx, kSmallIconPx));
  return icon;
}

QPixmap sample_glyph_picture() { return QPixmap(QStringLiteral(":/vellicor/sample-glyph.png")); }

}  // namespace vellicor::dialog
