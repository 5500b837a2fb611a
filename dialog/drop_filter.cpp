// The drop rule: one local file, named *.bmp in any letter case.
#include "dialog/drop_filter.hpp"

#include <QDir>

namespace vellicor::dialog {

bool has_bitmap_extension(const QString& name) {
  const qsizetype last_dot = name.lastIndexOf(QLatin1Char('.'));
  if (last_dot < 0) return false;
  return QStringView(name).sliced(last_dot).compare(QLatin1String(".bmp"), Qt::CaseInsensitive) ==
         0;
}

std::optional<QString> dropped_input_path(const QList<QUrl>& urls) {
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  const QString name = QDir::toNativeSeparators(urls.front().toLocalFile());
  if (!has_bitmap_extension(name)) return std::nullopt;
  return name;
}

}  // namespace vellicor::dialog
