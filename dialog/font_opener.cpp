// Drawing a font for the Preview window through the drawing job.
#include "dialog/font_opener.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "driver/messages.hpp"

namespace vellicor::dialog {
namespace {

// The name of the font's file without its folder, its compression and its
// extension: "/fonts/term.pcf.gz" gives "term".
QString font_stem(const QFileInfo& font) {
  QString name = font.fileName();
  if (name.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive)) name.chop(3);
  const qsizetype last_dot = name.lastIndexOf(QLatin1Char('.'));
  // A name that is all extension (".bdf") keeps it, so it is never empty.
  return last_dot > 0 ? name.left(last_dot) : name;
}

}  // namespace

ResultCode draw_font_to(const QString& font_path, const QString& picture_path,
                        FontDrawingOutcome& outcome, FontRefusal& refusal) {
  const QByteArray font = QFile::encodeName(font_path);
  const QByteArray picture = QFile::encodeName(picture_path);
  FontDrawingRequest request;
  request.font_path = font.constData();
  request.picture_path = picture.constData();
  const ResultCode result = draw_font_file(request, outcome, &refusal.detail);
  if (failed(result)) {
    refusal.line = outcome.damaged_line;
    refusal.failed_path = QFile::decodeName(outcome.failed_path.c_str());
    refusal.failed_writing = outcome.failed_writing;
  }
  return result;
}

QString font_refusal_text(const FontRefusal& refusal) {
  if (refusal.detail == ErrorDetail::kFileAccess && !refusal.failed_path.isEmpty()) {
    const Message message =
        refusal.failed_writing ? Message::kPictureUnwritable : Message::kFontFileUnreadable;
    return QStringLiteral("%1 %2").arg(QString::fromUtf8(message_text(message)),
                                       refusal.failed_path);
  }
  return QString::fromStdString(drawing_failure_text(refusal.detail, refusal.line));
}

QString drawn_picture_beside(const QString& font_path) {
  const QFileInfo font(font_path);
  return QDir::toNativeSeparators(
      font.dir().filePath(font_stem(font) + QStringLiteral("-drawn.png")));
}

}  // namespace vellicor::dialog
