// The Preview window's fonts: a font opened is read, drawn, saved as its
// picture in the window's private folder and shown as that picture, with the
// fields set to convert it back; Save picture writes the drawing where the
// user chooses.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>

#include "dialog/drawn_options.hpp"
#include "dialog/drop_filter.hpp"
#include "dialog/font_opener.hpp"
#include "dialog/preview_window.hpp"
#include "driver/format_names.hpp"

namespace vellicor::dialog {
namespace {

// The picture name Save picture writes: chosen, with ".png" when it names
// neither PNG nor BMP (the drawing job saves BMP where the build writes no
// PNG).
QString picture_name_to_save(const QString& chosen) {
  if (has_picture_extension(chosen)) return chosen;
  return chosen + QStringLiteral(".png");
}

// The format box's row of a VELLICOR_FORMAT_*.
int format_row(std::uint32_t format) {
  const auto names = format_names();
  for (std::size_t index = 0; index < names.size(); ++index) {
    if (names[index].format == format) return static_cast<int>(index);
  }
  return 0;
}

}  // namespace

void PreviewWindow::open_file(const QString& path) {
  // A picture's name is trusted; any other file is a font when a font reader
  // knows its first bytes.
  if (has_picture_extension(path) || path.isEmpty()) {
    open_picture(path);
    return;
  }
  ErrorDetail detail = ErrorDetail::kNone;
  if (!open_font(path, &detail) && detail == ErrorDetail::kFontUnknown) open_picture(path);
}

bool PreviewWindow::open_font(const QString& path, ErrorDetail* detail) {
  // The drawing is saved where no other program writes and shown as any
  // picture is, so that what the window cuts is what a saved drawing gives.
  if (!drawing_folder_ || !drawing_folder_->isValid()) {
    drawing_folder_ = std::make_unique<QTemporaryDir>();
  }
  const QString picture = QDir::toNativeSeparators(
      QDir(drawing_folder_->path()).filePath(QFileInfo(drawn_picture_beside(path)).fileName()));
  FontDrawingOutcome outcome;
  FontRefusal refusal;
  const ResultCode drawn =
      drawing_folder_->isValid()
          ? draw_font_to(path, picture, outcome, refusal)
          : fail(&refusal.detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  if (failed(drawn)) {
    if (detail != nullptr) *detail = refusal.detail;
    set_status(font_refusal_text(refusal));
    return false;
  }
  take_drawing_fields(outcome.arguments);
  if (!outcome.list_path.empty() &&
      !take_characters(QFile::decodeName(outcome.list_path.c_str()))) {
    return false;
  }
  open_picture(QFile::decodeName(outcome.picture_path.c_str()));
  shown_font_ = path;
  save_picture_button_->setEnabled(true);
  return true;
}

QString PreviewWindow::shown_font() const { return shown_font_; }

void PreviewWindow::take_drawing_fields(const std::vector<std::string>& arguments) {
  const std::vector<FieldText> fields = fields_of_options(arguments);
  // Every field the arguments leave out is empty, as a console run without
  // the option leaves it, and the format BDF, as without --format.
  for (const auto& [id, edit] : edits_) {
    if (id == FieldInputPath) continue;
    const QSignalBlocker quiet(edit);
    edit->clear();
  }
  loaded_chars_.reset();
  format_->setCurrentIndex(format_row(VELLICOR_FORMAT_BDF));
  const QSignalBlocker quiet_box(fixed_width_);
  fixed_width_->setChecked(false);
  const QSignalBlocker quiet_rule(ink_rule_);
  ink_rule_->setCurrentIndex(0);
  for (const auto& [id, text] : fields) {
    if (id == FieldFixedWidth) {
      fixed_width_->setChecked(text.toLongLong() != 0);
    } else if (id == FieldInkRule) {
      ink_rule_->setCurrentIndex(std::max(0, ink_rule_->findData(QString::fromLatin1(text))));
    } else if (id == FieldFormat) {
      std::uint32_t format = VELLICOR_FORMAT_BDF;
      if (succeeded(parse_format(text.constData(), format))) {
        format_->setCurrentIndex(format_row(format));
      }
    } else if (id == FieldChars || id == FieldOutputPath) {
      // The list is loaded from its file; the font goes beside the font drawn.
    } else if (QLineEdit* field = edit(id)) {
      const QSignalBlocker quiet(field);
      field->setText(QString::fromUtf8(text));
    }
  }
  sheet_->take_driver_texts(fields);
  enable_list_fields();
}

void PreviewWindow::save_picture() {
  if (shown_font_.isEmpty()) return;
  const QString chosen = choose_save_(this, tr("Save picture"), drawn_picture_beside(shown_font_),
                                      tr("PNG picture (*.png);;BMP picture (*.bmp)"));
  if (chosen.isEmpty()) return;
  // The font is drawn again, straight into the file chosen.
  FontDrawingOutcome outcome;
  FontRefusal refusal;
  if (failed(draw_font_to(shown_font_, picture_name_to_save(chosen), outcome, refusal))) {
    set_status(font_refusal_text(refusal));
    return;
  }
  const QString picture = QFile::decodeName(outcome.picture_path.c_str());
  set_status(outcome.list_path.empty()
                 ? tr("Picture saved to %1").arg(picture)
                 : tr("Picture saved to %1, its characters to %2")
                       .arg(picture, QFile::decodeName(outcome.list_path.c_str())));
}

}  // namespace vellicor::dialog
