// The program's one window: a field for every conversion option, Browse,
// drag-and-drop of one .bmp file, Process, About App, Exit and Preview.
#pragma once

#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

#include "dialog/about_dialog.hpp"
#include "dialog/control_set.hpp"
#include "dialog/host_window.hpp"

namespace vellicor::dialog {

class PreviewWindow;

class MainDialog : public QDialog, public HostWindow {
  Q_OBJECT

 public:
  // Returns the chosen file's full path, or an empty text when cancelled.
  using FileChooser = std::function<QString(QWidget* parent)>;
  // Shows text modally over owner and returns when it is dismissed.
  using MessagePresenter = std::function<void(QWidget* owner, const QString& text)>;

  explicit MainDialog(QWidget* parent = nullptr);
  ~MainDialog() override;

  // Puts path into the input field; a null text changes nothing.
  void set_input_path(const QString& path);

  // Replace the file-open dialog, the message box or the About box's address
  // opener (tests use these to answer without a person).
  void set_file_chooser(FileChooser chooser) { choose_file_ = std::move(chooser); }
  void set_message_presenter(MessagePresenter presenter) { present_ = std::move(presenter); }
  void set_address_opener(AboutDialog::AddressOpener opener) { open_address_ = std::move(opener); }

  // The menu that the window background offers: Close, then a separator and
  // the About item.
  QMenu& window_menu() { return window_menu_; }
  // Carries out a window-menu command: the About item opens the About box,
  // Close closes the window, anything else does nothing here.
  void run_system_command(std::uint32_t command);

  // The Preview window once it has been opened (hidden while closed), or null.
  PreviewWindow* preview() const;

  QWidget* control(int id) const override { return controls_.find(id); }
  void show_message(const QString& text) override;
  void begin_wait_cursor() override;
  void end_wait_cursor() override;

 public Q_SLOTS:
  void browse();
  void process();
  void open_about_box();
  // Opens the Preview window with this window's fields the first time; later
  // shows it again, or brings it to the front, with the values the user has
  // given it since.
  void open_preview();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool nativeEvent(const QByteArray& event_type, void* message, qintptr* result) override;

 private:
  void connect_button(int id, void (MainDialog::*handler)());
  void add_menu_command(const QString& text, std::uint32_t command);

  ControlSet controls_;
  QMenu window_menu_;
  FileChooser choose_file_;
  MessagePresenter present_;
  AboutDialog::AddressOpener open_address_;
  int wait_cursor_depth_ = 0;
  QPointer<PreviewWindow> preview_;
};

}  // namespace vellicor::dialog
