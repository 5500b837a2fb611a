// The Preview window: the picture with every glyph the current settings cut
// from it, fields for those settings, and Convert. Non-modal; the main window
// opens it with its own fields as the starting values.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dialog/cut_scheduler.hpp"
#include "dialog/field_snapshot.hpp"
#include "dialog/glyph_source.hpp"
#include "dialog/preview_view.hpp"
#include "dialog/sheet_fields.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vellicor::dialog {

class HostWindow;

class PreviewWindow : public QDialog {
  Q_OBJECT

 public:
  // Returns the chosen file's path, or an empty text when cancelled.
  using FileChooser =
      std::function<QString(QWidget* parent, const QString& title, const QString& filters)>;

  explicit PreviewWindow(std::shared_ptr<const GlyphSource> source, QWidget* parent = nullptr);
  ~PreviewWindow() override;

  // Takes the texts of the main window's fields as starting values.
  void take_fields_of(const HostWindow& main_window);
  // Shows path's picture (PNG or BMP) and cuts it.
  void open_picture(const QString& path);
  // Loads a UTF-8 character list from a file into the character field, read
  // as the console reads --chars-file; false (and the console's message in
  // the status line) when the file cannot be read.
  bool load_characters(const QString& path);

  void set_file_chooser(FileChooser chooser) { choose_file_ = std::move(chooser); }

  QLineEdit* edit(int id) const;  // the line edit of a field, or null
  QCheckBox* fixed_width_box() const { return fixed_width_; }
  QComboBox* ink_rule_box() const { return ink_rule_; }
  QComboBox* format_box() const { return format_; }
  SheetFields& sheet_fields() const { return *sheet_; }
  PreviewView& view() const { return *view_; }
  QString status_text() const;
  // True while a cut runs or waits for its turn.
  bool cutting() const { return scheduler_.busy(); }
  // The texts Convert hands the driver for the fields as they are, request
  // being what they describe.
  FieldSnapshot conversion_texts(const CutRequest& request) const;

 public Q_SLOTS:
  void recut();
  void convert();
  void choose_picture();
  void choose_characters();

 Q_SIGNALS:
  // A cut's outcome is now on screen.
  void cut_shown();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void build();
  // A built-in set takes the place of the list: the list's field and button
  // wait while one is chosen.
  void enable_list_fields();
  QLineEdit* add_edit(int id, int maximum_length = 0);
  // The cut request the fields describe, or the driver's message for the
  // first field that it would refuse.
  std::optional<CutRequest> read_request(QString* refusal) const;
  void show_outcome(const CutOutcome& outcome);
  void set_status(const QString& text);
  std::uint32_t ink_rule() const;
  // The character list as the cut and the conversion get it.
  std::string chars_bytes() const;

  // Where Convert writes the font: the output field, or the name made from
  // the picture's with the chosen format's extension.
  QString font_path() const;
  // Whether the font would replace the file the shown list was loaded from.
  bool font_would_replace_list_file() const;

  // A character list file's bytes, the text the field showed for them and
  // the file's path.
  struct LoadedChars {
    QString shown;
    std::string bytes;
    QString path;
  };

  CutScheduler scheduler_;
  FileChooser choose_file_;
  std::map<int, QLineEdit*> edits_;
  QCheckBox* fixed_width_ = nullptr;
  QComboBox* ink_rule_ = nullptr;
  QComboBox* format_ = nullptr;
  SheetFields* sheet_ = nullptr;
  QPushButton* load_button_ = nullptr;
  PreviewView* view_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* zoom_label_ = nullptr;
  QString shown_picture_;  // the path whose picture the view holds
  std::optional<CutOutcome> last_cut_;
  bool last_cut_current_ = false;  // last_cut_ matches the fields as they are
  std::optional<LoadedChars> loaded_chars_;
};

}  // namespace vellicor::dialog
