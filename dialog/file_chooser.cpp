// Browse: a modal file-open dialog over the main window; Save picture: a
// modal file-save dialog over the Preview.
#include "dialog/file_chooser.hpp"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace vellicor::dialog {

QString choose_bitmap_file(QWidget* parent) {
  QFileDialog chooser(parent);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setFileMode(QFileDialog::ExistingFile);
  chooser.setDefaultSuffix(QStringLiteral("bmp"));
  const QStringList filters{QObject::tr("Bitmap File (*.bmp)"), QObject::tr("All Files (*.*)")};
  chooser.setNameFilters(filters);
  chooser.selectNameFilter(filters.front());
  if (chooser.exec() != QDialog::Accepted) return {};
  const QStringList chosen = chooser.selectedFiles();
  return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.front());
}

QString choose_file_to_save(QWidget* parent, const QString& title, const QString& suggested,
                            const QString& filters) {
  const QString chosen = QFileDialog::getSaveFileName(parent, title, suggested, filters);
  return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

}  // namespace vellicor::dialog
