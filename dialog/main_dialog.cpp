// The main window: builds itself from its template and hosts conversions.
#include "dialog/main_dialog.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

#include "dialog/app_resources.hpp"
#include "dialog/converter_glyph_source.hpp"
#include "dialog/dialog_template.hpp"
#include "dialog/drop_filter.hpp"
#include "dialog/file_chooser.hpp"
#include "dialog/host_provider.hpp"
#include "dialog/message_box.hpp"
#include "dialog/native_system_menu.hpp"
#include "dialog/preview_window.hpp"
#include "dialog/system_command.hpp"
#include "driver/host_callbacks.hpp"

namespace vellicor::dialog {
namespace {

// Accepts a drag only when dropping it would set the input path.
template <typename DragEvent>
void accept_if_droppable(DragEvent* event) {
  if (event->mimeData()->hasUrls() && dropped_input_path(event->mimeData()->urls())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

}  // namespace

MainDialog::MainDialog(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      window_menu_(this),
      choose_file_(choose_bitmap_file),
      present_(show_message_box),
      open_address_(AboutDialog::open_in_desktop) {
  const DialogTemplate& layout = main_dialog_template();
  const DialogUnitScale scale = measure_dialog_font(fontMetrics());
  setWindowTitle(QString::fromUtf8(layout.caption));
  setWindowIcon(application_icon());
  setFixedSize(to_pixels(layout.size_dlu, scale));
  controls_ = build_controls(*this, layout, scale);
  setAcceptDrops(true);

  connect_button(kBrowseButtonId, &MainDialog::browse);
  connect_button(kProcessButtonId, &MainDialog::process);
  connect_button(kExitButtonId, &MainDialog::reject);
  connect_button(kAboutButtonId, &MainDialog::open_about_box);
  connect_button(kPreviewButtonId, &MainDialog::open_preview);
  // The button is reached by its key, Alt+W; Tab keeps the round it always
  // had through the other controls.
  if (QWidget* preview_button = controls_.find(kPreviewButtonId)) {
    preview_button->setFocusPolicy(Qt::ClickFocus);
  }

  const QString about_text = tr("&About vellicor...");
  add_menu_command(tr("&Close"), kCloseCommand);
  window_menu_.addSeparator();
  add_menu_command(about_text, kAboutCommand);
  extend_native_window_menu(*this, about_text, kAboutCommand);

  if (QWidget* first_field = controls_.find(FieldInputPath)) first_field->setFocus();
}

MainDialog::~MainDialog() {
  // A conversion cannot outlive the window, but an unbalanced count must not
  // leave the whole application under the wait cursor.
  for (; wait_cursor_depth_ > 0; --wait_cursor_depth_) QApplication::restoreOverrideCursor();
}

void MainDialog::connect_button(int id, void (MainDialog::*handler)()) {
  if (auto* button = qobject_cast<QAbstractButton*>(controls_.find(id))) {
    connect(button, &QAbstractButton::clicked, this, handler);
  }
}

void MainDialog::add_menu_command(const QString& text, std::uint32_t command) {
  QAction* action = window_menu_.addAction(text);
  connect(action, &QAction::triggered, this, [this, command] { run_system_command(command); });
}

void MainDialog::set_input_path(const QString& path) {
  if (path.isNull()) return;
  if (auto* edit = qobject_cast<QLineEdit*>(controls_.find(FieldInputPath))) edit->setText(path);
}

void MainDialog::run_system_command(std::uint32_t command) {
  if (opens_about_box(command)) {
    open_about_box();
  } else if (command == kCloseCommand) {
    close();
  }
}

void MainDialog::show_message(const QString& text) { present_(this, text); }

void MainDialog::begin_wait_cursor() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ++wait_cursor_depth_;
}

void MainDialog::end_wait_cursor() {
  if (wait_cursor_depth_ == 0) return;
  --wait_cursor_depth_;
  QApplication::restoreOverrideCursor();
}

void MainDialog::browse() {
  const QString chosen = choose_file_(this);
  if (!chosen.isEmpty()) set_input_path(chosen);
}

void MainDialog::process() {
  // Every message the user sees comes from the driver; the result adds nothing.
  static_cast<void>(run_window_conversion(*this));
}

void MainDialog::open_about_box() {
  AboutDialog about(this, open_address_);
  about.exec();
}

PreviewWindow* MainDialog::preview() const { return preview_; }

void MainDialog::open_preview() {
  if (preview_ == nullptr) {
    // Closing the window (Escape, Close or the close box) only hides it, so
    // that it comes back with the settings the user gave it; it lives as long
    // as this window.
    preview_ = new PreviewWindow(std::make_shared<ConverterGlyphSource>(), this);
    preview_->take_fields_of(*this);
  }
  preview_->show();
  preview_->raise();
  preview_->activateWindow();
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) { accept_if_droppable(event); }

void MainDialog::dragMoveEvent(QDragMoveEvent* event) { accept_if_droppable(event); }

void MainDialog::dropEvent(QDropEvent* event) {
  const QMimeData* dropped = event->mimeData();
  const auto path = dropped->hasUrls() ? dropped_input_path(dropped->urls()) : std::nullopt;
  if (!path) {
    event->ignore();
    return;
  }
  set_input_path(*path);
  event->acceptProposedAction();
}

bool MainDialog::nativeEvent(const QByteArray& event_type, void* message, qintptr* result) {
  // Only the About item is handled here; every other window-menu command
  // (Move, Close, ...) keeps the window system's own handling.
  const auto command = native_window_menu_command(event_type, message);
  if (command && opens_about_box(*command)) {
    open_about_box();
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(event_type, message, result);
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
  window_menu_.popup(event->globalPos());
  event->accept();
}

}  // namespace vellicor::dialog
