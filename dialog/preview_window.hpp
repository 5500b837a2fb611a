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
#include <vector>

#include "dialog/cut_scheduler.hpp"
#include "dialog/field_snapshot.hpp"
#include "dialog/glyph_source.hpp"
#include "dialog/preview_view.hpp"
#include "dialog/sheet_fields.hpp"
#include "vellicor/internal/result_codes.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTemporaryDir;

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
  // Shows the file at path: a picture as open_picture does, a font as its
  // drawing with the fields set to convert that drawing back (see
  // open_font). A file that is neither is opened as a picture, whose cut
  // then says why it cannot be read.
  void open_file(const QString& path);
  // Reads and draws the font at path and shows the drawing as a picture of
  // it, with its character list and the fields its conversion arguments
  // name (the font's name and its own format among them). False, with the
  // console's message in the status line, when the font cannot be read,
  // drawn or saved to be shown; kFontUnknown is returned in detail (if
  // given) for a file no font reader knows.
  bool open_font(const QString& path, ErrorDetail* detail = nullptr);
  // The font whose drawing is shown; an empty text while a picture is.
  QString shown_font() const;
  // Loads a UTF-8 character list from a file into the character field, read
  // as the console reads --chars-file; false (and the console's message in
  // the status line) when the file cannot be read.
  bool load_characters(const QString& path);

  void set_file_chooser(FileChooser chooser) { choose_file_ = std::move(chooser); }
  // Asks where Save picture writes: the path, or an empty text when
  // cancelled; suggested is the path offered first.
  using SaveChooser = std::function<QString(QWidget* parent, const QString& title,
                                            const QString& suggested, const QString& filters)>;
  void set_save_chooser(SaveChooser chooser) { choose_save_ = std::move(chooser); }

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
  // Writes the shown font's drawing where the user chooses, its list beside.
  void save_picture();

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
  // Reads a list file into the character field without asking for a cut.
  bool take_characters(const QString& path);
  // Sets every field from a drawing's conversion arguments: those they name,
  // the rest empty or at their start values. Quiet: no cut is asked for.
  void take_drawing_fields(const std::vector<std::string>& arguments);
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
  SaveChooser choose_save_;
  std::map<int, QLineEdit*> edits_;
  QCheckBox* fixed_width_ = nullptr;
  QComboBox* ink_rule_ = nullptr;
  QComboBox* format_ = nullptr;
  SheetFields* sheet_ = nullptr;
  QPushButton* load_button_ = nullptr;
  QPushButton* save_picture_button_ = nullptr;
  PreviewView* view_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* zoom_label_ = nullptr;
  QString shown_picture_;  // the path whose picture the view holds
  std::optional<CutOutcome> last_cut_;
  bool last_cut_current_ = false;  // last_cut_ matches the fields as they are
  std::optional<LoadedChars> loaded_chars_;
  // The font shown (empty while a picture is), and the private folder its
  // drawing is saved in to be shown and cut as any picture is.
  QString shown_font_;
  std::unique_ptr<QTemporaryDir> drawing_folder_;
};

}  // namespace vellicor::dialog
