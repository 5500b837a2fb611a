// The Preview window's fonts: a font opened is read, drawn, saved as its
// picture in the window's private folder and shown as that picture, with the
// fields set to convert it back; Save picture writes the drawing where the
// user chooses.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>

#include "dialog/drawn_options.hpp"
#include "dialog/drop_filter.hpp"
#include "dialog/preview_window.hpp"
#include "driver/format_names.hpp"
#include "engine/draw/picture_writer.hpp"

namespace vellicor::dialog {
namespace {

// The picture name Save picture writes: chosen, with the extension of the
// pictures this build writes when it names neither PNG nor BMP.
QString picture_name_to_save(const QString& chosen) {
  if (has_picture_extension(chosen)) return chosen;
  return chosen + (writes_png_pictures() ? QStringLiteral(".png") : QStringLiteral(".bmp"));
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
  DrawnFont drawn;
  FontRefusal refusal;
  if (failed(read_and_draw_font(path, drawn, refusal))) {
    if (detail != nullptr) *detail = refusal.detail;
    set_status(font_refusal_text(refusal));
    return false;
  }
  return show_drawing(path, std::move(drawn), detail);
}

bool PreviewWindow::show_drawing(const QString& font_path, DrawnFont drawn, ErrorDetail* detail) {
  // The drawing is saved where no other program writes and shown as any
  // picture is, so that what the window cuts is what a saved drawing gives.
  if (!drawing_folder_ || !drawing_folder_->isValid()) {
    drawing_folder_ = std::make_unique<QTemporaryDir>();
  }
  const QString picture = QDir::toNativeSeparators(
      QDir(drawing_folder_->path())
          .filePath(QFileInfo(drawn_picture_beside(font_path)).fileName()));
  FontRefusal refusal;
  const ResultCode saved =
      drawing_folder_->isValid()
          ? save_drawing(drawn.drawing, picture, refusal)
          : fail(&refusal.detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  if (failed(saved)) {
    if (detail != nullptr) *detail = refusal.detail;
    set_status(font_refusal_text(refusal));
    return false;
  }
  take_drawing_fields(drawn);
  if (!drawn.drawing.list_text.empty() && !take_characters(list_path_beside(picture))) {
    return false;
  }
  open_picture(picture);
  shown_font_ = ShownFont{font_path, std::move(drawn.drawing)};
  save_picture_button_->setEnabled(true);
  return true;
}

QString PreviewWindow::shown_font() const { return shown_font_ ? shown_font_->path : QString(); }

void PreviewWindow::take_drawing_fields(const DrawnFont& drawn) {
  const std::vector<FieldText> fields = fields_of_options(drawn.drawing.options);
  // Every field the options leave out is empty, as a console run without
  // the option leaves it; the font keeps its own name unless told another
  // (a name the driver would refuse gives way to the driver's own).
  const QString font_name = QString::fromStdString(drawn.font_name);
  const bool name_taken = std::none_of(font_name.begin(), font_name.end(), [](QChar letter) {
    return letter.category() == QChar::Other_Control;
  });
  for (const auto& [id, edit] : edits_) {
    if (id == FieldInputPath) continue;
    const QSignalBlocker quiet(edit);
    edit->setText(id == FieldFontName && name_taken ? font_name : QString());
  }
  // The font's own format, unless the options name another.
  format_->setCurrentIndex(format_row(format_of_font_kind(drawn.kind)));
  loaded_chars_.reset();
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
    } else if (QLineEdit* field = edit(id)) {
      const QSignalBlocker quiet(field);
      field->setText(QString::fromUtf8(text));
    }
  }
  sheet_->take_driver_texts(fields);
  enable_list_fields();
}

void PreviewWindow::save_picture() {
  if (!shown_font_) return;
  const QString filters = writes_png_pictures() ? tr("PNG picture (*.png);;BMP picture (*.bmp)")
                                                : tr("BMP picture (*.bmp)");
  const QString chosen =
      choose_save_(this, tr("Save picture"), drawn_picture_beside(shown_font_->path), filters);
  if (chosen.isEmpty()) return;
  const QString picture = picture_name_to_save(chosen);
  FontRefusal refusal;
  if (failed(save_drawing(shown_font_->drawing, picture, refusal))) {
    set_status(font_refusal_text(refusal));
    return;
  }
  set_status(shown_font_->drawing.list_text.empty()
                 ? tr("Picture saved to %1").arg(picture)
                 : tr("Picture saved to %1, its characters to %2")
                       .arg(picture, list_path_beside(picture)));
}

}  // namespace vellicor::dialog
