// Reading, drawing and saving a font for the Preview window.
#include "dialog/font_opener.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <utility>

#include "driver/messages.hpp"
#include "engine/draw/picture_writer.hpp"
#include "engine/fontfile/font_file_reader.hpp"
#include "engine/io/file_system.hpp"
#include "vellicor/vellicor.h"

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

bool names_png(const QString& path) {
  return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

ResultCode write_list(const std::string& text, const QString& path, ErrorDetail* detail) {
  // The list appears whole or not at all, as the picture does.
  QSaveFile list(path);
  if (!list.open(QIODevice::WriteOnly) ||
      list.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !list.commit()) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  return ResultCode::kOk;
}

}  // namespace

ResultCode read_and_draw_font(const QString& path, DrawnFont& drawn, FontRefusal& refusal) {
  LoadedFont font;
  const QByteArray name = QFile::encodeName(path);
  FontReadProblem problem;
  ResultCode result =
      read_font_file(system_file_system(), name.constData(), font, &refusal.detail, &problem);
  if (failed(result)) {
    refusal.line = problem.line;
    refusal.failed_path = path;
    return result;
  }
  FontDrawing drawing;
  result = draw_font(font, DrawRequest{}, drawing, &refusal.detail);
  if (failed(result)) return result;
  drawn.drawing = std::move(drawing);
  drawn.kind = font.kind;
  drawn.font_name = std::move(font.font_name);
  return ResultCode::kOk;
}

std::uint32_t format_of_font_kind(FontFileKind kind) {
  switch (kind) {
    case FontFileKind::kBdf:
      return VELLICOR_FORMAT_BDF;
    case FontFileKind::kPcf:
      return VELLICOR_FORMAT_PCF;
    case FontFileKind::kPsf1:
    case FontFileKind::kPsf2:
      return VELLICOR_FORMAT_PSF;
    case FontFileKind::kOtb:
      return VELLICOR_FORMAT_OTB;
    case FontFileKind::kTtf:
      return VELLICOR_FORMAT_TTF;
    case FontFileKind::kFon:
      return VELLICOR_FORMAT_FON;
  }
  return VELLICOR_FORMAT_BDF;
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
  const QString extension = writes_png_pictures() ? QStringLiteral(".png") : QStringLiteral(".bmp");
  return QDir::toNativeSeparators(
      font.dir().filePath(font_stem(font) + QStringLiteral("-drawn") + extension));
}

QString list_path_beside(const QString& picture_path) {
  const QFileInfo picture(picture_path);
  QString name = picture.fileName();
  const qsizetype last_dot = name.lastIndexOf(QLatin1Char('.'));
  if (last_dot > 0) name.truncate(last_dot);
  return QDir::toNativeSeparators(picture.dir().filePath(name + QStringLiteral(".txt")));
}

ResultCode save_drawing(const FontDrawing& drawing, const QString& picture_path,
                        FontRefusal& refusal) {
  const QByteArray name = QFile::encodeName(picture_path);
  ResultCode written = names_png(picture_path)
                           ? write_png_picture(system_file_system(), name.constData(),
                                               drawing.picture, &refusal.detail)
                           : write_bmp_picture(system_file_system(), name.constData(),
                                               drawing.picture, &refusal.detail);
  QString failed_path = picture_path;
  if (succeeded(written) && !drawing.list_text.empty()) {
    failed_path = list_path_beside(picture_path);
    written = write_list(drawing.list_text, failed_path, &refusal.detail);
  }
  if (failed(written)) {
    refusal.failed_path = failed_path;
    refusal.failed_writing = true;
  }
  return written;
}

}  // namespace vellicor::dialog
