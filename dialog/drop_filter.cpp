// The drop rule: one local file, named *.bmp in any letter case; and the
// names of pictures and of font files.
#include "dialog/drop_filter.hpp"

#include <QDir>

namespace vellicor::dialog {

bool has_bitmap_extension(const QString& name) {
  const qsizetype last_dot = name.lastIndexOf(QLatin1Char('.'));
  if (last_dot < 0) return false;
  return QStringView(name).sliced(last_dot).compare(QLatin1String(".bmp"), Qt::CaseInsensitive) ==
         0;
}

bool has_picture_extension(const QString& name) {
  return name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

bool has_font_extension(const QString& name) {
  // The compressed forms are those X11 font folders hold.
  static const char* const kFontEndings[] = {".bdf",    ".pcf", ".pcf.gz", ".psf",
                                             ".psf.gz", ".otb", ".ttf",    ".fon"};
  for (const char* ending : kFontEndings) {
    if (name.endsWith(QLatin1String(ending), Qt::CaseInsensitive)) return true;
  }
  return false;
}

std::optional<QString> dropped_input_path(const QList<QUrl>& urls) {
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  const QString name = QDir::toNativeSeparators(urls.front().toLocalFile());
  if (!has_bitmap_extension(name)) return std::nullopt;
  return name;
}

}  // namespace vellicor::dialog
