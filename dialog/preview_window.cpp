// The Preview window: fields, picture and status line; every change of a field
// asks for a new cut, which runs on the thread pool and is drawn when it ends.
#include "dialog/preview_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>

#include "dialog/drop_filter.hpp"
#include "dialog/file_chooser.hpp"
#include "dialog/font_opener.hpp"
#include "dialog/format_box.hpp"
#include "dialog/host_window.hpp"
#include "dialog/preview_messages.hpp"
#include "driver/chars_file.hpp"
#include "driver/ink_rule_names.hpp"
#include "driver/messages.hpp"
#include "driver/request_fields.hpp"
#include "vellicor/internal/output_name.hpp"
#include "vellicor/internal/picture_ink.hpp"
#include "vellicor/internal/request_limits.hpp"
#include "vellicor/internal/same_file.hpp"

namespace vellicor::dialog {
namespace {

constexpr int kNumberFieldLength = 10;  // "0xFFFFFFFF"
constexpr QSize kStartSize(960, 560);

// The list box's text for an ink rule: "Black (pure black is ink)".
QString ink_rule_label(const InkRuleName& name) {
  return QStringLiteral("%1 (%2)").arg(QCoreApplication::translate("Preview", name.title),
                                       QCoreApplication::translate("Preview", name.meaning));
}

// The ink of the picture at path as the engine classifies it under rule;
// none when the engine cannot read it (the cut then says why).
InkBits ink_of(const QString& path, std::uint32_t rule) {
  InkBits ink;
  if (path.isEmpty()) return ink;
  if (failed(read_ink_bits(QFile::encodeName(path).constData(), rule, ink, nullptr))) return {};
  return ink;
}

// The file of a drop: one local PNG or BMP picture or font file, by its name.
std::optional<QString> dropped_file(const QMimeData* dropped) {
  if (dropped == nullptr || !dropped->hasUrls()) return std::nullopt;
  const QList<QUrl> urls = dropped->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  const QString name = QDir::toNativeSeparators(urls.front().toLocalFile());
  if (!has_picture_extension(name) && !has_font_extension(name)) return std::nullopt;
  return name;
}

QString choose_with_file_dialog(QWidget* parent, const QString& title, const QString& filters) {
  const QString chosen = QFileDialog::getOpenFileName(parent, title, QString(), filters);
  return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

QPushButton* make_button(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  // Enter in a field must not convert or open a file dialog by surprise.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

PreviewWindow::PreviewWindow(std::shared_ptr<const GlyphSource> source, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      scheduler_(std::move(source)),
      choose_file_(choose_with_file_dialog),
      choose_save_(choose_file_to_save) {
  setWindowTitle(tr("Preview"));
  setAcceptDrops(true);
  build();
  connect(&scheduler_, &CutScheduler::finished, this, &PreviewWindow::show_outcome);
  resize(kStartSize);
  set_status(tr("Open or drop a PNG or BMP picture, or a font."));
}

PreviewWindow::~PreviewWindow() = default;

QLineEdit* PreviewWindow::add_edit(int id, int maximum_length) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QStringLiteral("field%1").arg(id));
  if (maximum_length > 0) edit->setMaxLength(maximum_length);
  edits_.emplace(id, edit);
  return edit;
}

void PreviewWindow::build() {
  auto* grid = new QGridLayout;
  // A label whose '&' letter leads to field.
  const auto label = [this](const QString& text, QWidget* field) {
    auto* made = new QLabel(text, this);
    made->setBuddy(field);
    return made;
  };

  QLineEdit* picture = add_edit(FieldInputPath);
  // Its letter is the format's: the picture's field leads here by Tab.
  auto* open_button = make_button(tr("Open..."), this);
  open_button->setObjectName(QStringLiteral("openButton"));
  grid->addWidget(label(tr("&Picture"), picture), 0, 0);
  grid->addWidget(picture, 0, 1, 1, 5);
  grid->addWidget(open_button, 0, 6, 1, 2);

  QLineEdit* output = add_edit(FieldOutputPath);
  QLineEdit* font_name = add_edit(FieldFontName);
  grid->addWidget(label(tr("&Bitmap font file"), output), 1, 0);
  grid->addWidget(output, 1, 1, 1, 3);
  grid->addWidget(label(tr("Font &name"), font_name), 1, 4);
  grid->addWidget(font_name, 1, 5, 1, 3);

  // Number fields: two rows of four, each a label and its edit.
  const struct {
    int id;
    const char* text;
  } numbers[] = {
      {FieldFirstGlyph, QT_TR_NOOP("&First code")},
      {FieldAllowedBlankColumns, QT_TR_NOOP("&Allowed blank columns")},
      {FieldDescent, QT_TR_NOOP("&Descent")},
      {FieldUpperBlank, QT_TR_NOOP("&Upper blank")},
      {FieldLowerBlank, QT_TR_NOOP("Lower blan&k")},
      {FieldLeadingBlank, QT_TR_NOOP("&Leading blank")},
      {FieldTrailingBlank, QT_TR_NOOP("&Trailing blank")},
      {FieldBlankAdvance, QT_TR_NOOP("Blank ad&vance")},
  };
  int slot = 0;
  for (const auto& number : numbers) {
    QLineEdit* edit = add_edit(number.id, kNumberFieldLength);
    const int row = 2 + slot / 4;
    const int column = (slot % 4) * 2;
    grid->addWidget(label(tr(number.text), edit), row, column);
    grid->addWidget(edit, row, column + 1);
    ++slot;
  }

  fixed_width_ = new QCheckBox(tr("Fi&xed width"), this);
  ink_rule_ = new QComboBox(this);
  for (const InkRuleName& name : ink_rule_names()) {
    ink_rule_->addItem(ink_rule_label(name), QString::fromLatin1(name.keyword));
  }
  grid->addWidget(label(tr("&Ink rule"), ink_rule_), 4, 0);
  grid->addWidget(ink_rule_, 4, 1, 1, 3);
  grid->addWidget(fixed_width_, 4, 4, 1, 2);

  QLineEdit* chars = add_edit(FieldChars);
  chars->setPlaceholderText(tr("empty: codes count up from the first code"));
  auto* load_button = make_button(tr("Load c&haracters..."), this);
  load_button_ = load_button;
  grid->addWidget(label(tr("&Characters"), chars), 5, 0);
  grid->addWidget(chars, 5, 1, 1, 5);
  grid->addWidget(load_button, 5, 6, 1, 2);

  sheet_ = new SheetFields(this, grid, 6);

  view_ = new PreviewView(this);
  view_->setObjectName(QStringLiteral("glyphView"));
  auto* view_label = label(tr("&Glyphs (wheel or +/- zooms, arrows scroll)"), view_);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setTextFormat(Qt::PlainText);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  zoom_label_ = new QLabel(this);
  auto* convert_button = make_button(tr("Conve&rt"), this);
  convert_button->setObjectName(QStringLiteral("convertButton"));
  auto* close_button = make_button(tr("Close"), this);
  // Enabled while a font's drawing is shown: the drawing becomes a file to edit.
  // Every letter of its name leads to another field already: it has none.
  save_picture_button_ = make_button(tr("Save picture..."), this);
  save_picture_button_->setObjectName(QStringLiteral("savePictureButton"));
  save_picture_button_->setEnabled(false);
  // The format is no setting of the cut: it stands with the Convert it is for.
  format_ = make_format_box(this);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addWidget(zoom_label_);
  bottom->addWidget(label(tr("F&ormat"), format_));
  bottom->addWidget(format_);
  bottom->addWidget(save_picture_button_);
  bottom->addWidget(convert_button);
  bottom->addWidget(close_button);

  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addWidget(view_label);
  column->addWidget(view_, 1);
  column->addLayout(bottom);

  // Tab goes through the fields row by row, then the picture, then the
  // format and the buttons.
  QList<QWidget*> order = {picture,
                           open_button,
                           output,
                           font_name,
                           edits_[FieldFirstGlyph],
                           edits_[FieldAllowedBlankColumns],
                           edits_[FieldDescent],
                           edits_[FieldUpperBlank],
                           edits_[FieldLowerBlank],
                           edits_[FieldLeadingBlank],
                           edits_[FieldTrailingBlank],
                           edits_[FieldBlankAdvance],
                           ink_rule_,
                           fixed_width_,
                           chars,
                           load_button};
  order << sheet_->fields() << view_ << format_ << save_picture_button_ << convert_button
        << close_button;
  for (qsizetype index = 1; index < order.size(); ++index) {
    setTabOrder(order[index - 1], order[index]);
  }

  for (const auto& [id, edit] : edits_) {
    if (id == FieldInputPath || id == FieldOutputPath || id == FieldFontName) continue;
    connect(edit, &QLineEdit::textChanged, this, &PreviewWindow::recut);
  }
  connect(picture, &QLineEdit::editingFinished, this, [this, picture] {
    if (picture->text() != shown_picture_) open_file(picture->text());
  });
  connect(fixed_width_, &QCheckBox::toggled, this, &PreviewWindow::recut);
  connect(sheet_, &SheetFields::changed, this, [this] {
    enable_list_fields();
    recut();
  });
  connect(ink_rule_, &QComboBox::currentIndexChanged, this, [this] {
    view_->set_ink(ink_of(shown_picture_, ink_rule()));
    recut();
  });
  connect(open_button, &QPushButton::clicked, this, &PreviewWindow::choose_picture);
  connect(load_button, &QPushButton::clicked, this, &PreviewWindow::choose_characters);
  connect(save_picture_button_, &QPushButton::clicked, this, &PreviewWindow::save_picture);
  connect(convert_button, &QPushButton::clicked, this, &PreviewWindow::convert);
  connect(close_button, &QPushButton::clicked, this, &PreviewWindow::close);
  connect(view_, &PreviewView::zoom_changed, this,
          [this](int zoom) { zoom_label_->setText(tr("Zoom %1\u00d7").arg(zoom)); });
  zoom_label_->setText(tr("Zoom %1\u00d7").arg(view_->zoom()));
}

void PreviewWindow::enable_list_fields() {
  const bool listed = sheet_->charset_keyword().isEmpty();
  edit(FieldChars)->setEnabled(listed);
  load_button_->setEnabled(listed);
}

QLineEdit* PreviewWindow::edit(int id) const {
  const auto found = edits_.find(id);
  return found == edits_.end() ? nullptr : found->second;
}

QString PreviewWindow::status_text() const { return status_->text(); }

void PreviewWindow::set_status(const QString& text) { status_->setText(text); }

std::uint32_t PreviewWindow::ink_rule() const {
  const int index = std::max(0, ink_rule_->currentIndex());
  return ink_rule_names()[static_cast<std::size_t>(index)].rule;
}

void PreviewWindow::take_fields_of(const HostWindow& main_window) {
  // Changing many fields would ask for as many cuts: the fields are set
  // quietly and the picture, opened last, asks for the one cut that counts.
  for (const int id :
       {FieldOutputPath, FieldFontName, FieldFirstGlyph, FieldAllowedBlankColumns, FieldDescent,
        FieldUpperBlank, FieldLowerBlank, FieldLeadingBlank, FieldTrailingBlank}) {
    const auto* source = qobject_cast<const QLineEdit*>(main_window.control(id));
    QLineEdit* target = edit(id);
    if (source == nullptr || target == nullptr) continue;
    const QSignalBlocker quiet_field(target);
    target->setText(source->text());
  }
  if (const auto* box = qobject_cast<const QCheckBox*>(main_window.control(FieldFixedWidth))) {
    const QSignalBlocker quiet_box(fixed_width_);
    fixed_width_->setChecked(box->isChecked());
  }
  const auto* input = qobject_cast<const QLineEdit*>(main_window.control(FieldInputPath));
  open_picture(input != nullptr ? input->text() : QString());
}

void PreviewWindow::open_picture(const QString& path) {
  shown_font_.clear();
  save_picture_button_->setEnabled(false);
  {
    const QSignalBlocker quiet(edit(FieldInputPath));
    edit(FieldInputPath)->setText(path);
  }
  shown_picture_ = path;
  // The engine reads the picture, so the view shows exactly the ink the font
  // is cut from; a file it refuses shows nothing, and the cut says why.
  view_->set_picture(ink_of(path, ink_rule()));
  recut();
}

bool PreviewWindow::load_characters(const QString& path) {
  if (!take_characters(path)) return false;
  recut();
  return true;
}

bool PreviewWindow::take_characters(const QString& path) {
  std::string bytes;
  CharsFileRefusal refusal;
  if (failed(read_chars_file(QFile::encodeName(path).constData(), bytes, refusal))) {
    // The console's refusals: the file named when it cannot be read.
    QString text = QString::fromStdString(chars_file_refusal_text(refusal));
    if (refusal.message == Message::kCharsFileUnreadable) text += QStringLiteral(" ") + path;
    set_status(text);
    return false;
  }
  QLineEdit* chars = edit(FieldChars);
  {
    const QSignalBlocker quiet(chars);
    chars->setText(QString::fromUtf8(bytes));
  }
  // The file's own bytes are the list while the field shows them: a file
  // that is no UTF-8 text is then refused as the console refuses it.
  loaded_chars_ = LoadedChars{chars->text(), std::move(bytes), path};
  return true;
}

std::string PreviewWindow::chars_bytes() const {
  const QString shown = edit(FieldChars)->text();
  if (loaded_chars_ && loaded_chars_->shown == shown) return loaded_chars_->bytes;
  return shown.toUtf8().toStdString();
}

void PreviewWindow::choose_picture() {
  const QString chosen =
      choose_file_(this, tr("Open picture or font"),
                   tr("Pictures and fonts (*.png *.bmp *.bdf *.pcf *.pcf.gz *.psf *.psf.gz *.otb "
                      "*.ttf *.fon);;All Files (*)"));
  if (!chosen.isEmpty()) open_file(chosen);
}

void PreviewWindow::choose_characters() {
  const QString chosen =
      choose_file_(this, tr("Load character list"), tr("Text (*.txt);;All Files (*)"));
  if (!chosen.isEmpty()) load_characters(chosen);
}

std::optional<CutRequest> PreviewWindow::read_request(QString* refusal) const {
  CutRequest request;
  request.input_path = QFile::encodeName(edit(FieldInputPath)->text()).toStdString();
  // An empty field is one the driver is not given: it keeps its 0.
  for (const NumericField& field : numeric_fields()) {
    const QString text = edit(field.id)->text();
    if (text.isEmpty()) continue;
    if (failed(read_numeric_field(field, text.toLatin1().constData(), request.options))) {
      *refusal = QString::fromUtf8(message_text(field.refusal));
      return std::nullopt;
    }
  }
  request.options.fixed_width = fixed_width_->isChecked() ? 1 : 0;
  // Empty: the median advance.
  const QString advance_text = edit(FieldBlankAdvance)->text();
  if (!advance_text.isEmpty() &&
      failed(read_blank_advance(advance_text.toLatin1().constData(), request.blank_advance))) {
    *refusal = QString::fromUtf8(message_text(Message::kInvalidBlankAdvance));
    return std::nullopt;
  }
  request.ink_rule = ink_rule();
  request.sheet = sheet_->settings();
  const bool listed = request.sheet.charset == VELLICOR_CHARSET_NONE;
  if (listed && !edit(FieldChars)->text().isEmpty()) request.chars = chars_bytes();
  return request;
}

void PreviewWindow::recut() {
  last_cut_current_ = false;
  if (edit(FieldInputPath)->text().isEmpty()) {
    view_->set_glyphs({}, 0, 0);
    set_status(tr("Open or drop a PNG or BMP picture, or a font."));
    return;
  }
  QString refusal;
  const auto request = read_request(&refusal);
  if (!request) {
    // The boxes on screen no longer match the fields.
    view_->set_glyphs({}, 0, 0);
    set_status(refusal);
    return;
  }
  scheduler_.request(*request);
}

void PreviewWindow::show_outcome(const CutOutcome& outcome) {
  last_cut_ = outcome;
  last_cut_current_ = true;
  QString refusal;
  const auto request = read_request(&refusal);
  const std::uint32_t descent = request ? request->options.descent : 0;
  // The font's box reaches the lower blank rows below the last ink row, and
  // the descent counts from its bottom.
  const std::uint32_t lower = request ? request->options.lower_blank : 0;
  view_->set_glyphs(outcome.glyphs, outcome.report.tallest + lower, descent,
                    request ? request->sheet : SheetSettings{});
  set_status(cut_summary(outcome));
  Q_EMIT cut_shown();
}

void PreviewWindow::convert() {
  QString refusal;
  const auto request = read_request(&refusal);
  if (!request) {
    set_status(refusal);
    return;
  }
  // The list's file is the user's work: the font never replaces it.
  if (font_would_replace_list_file()) {
    set_status(QStringLiteral("%1 %2").arg(
        QString::fromUtf8(message_text(Message::kOutputIsCharsFile)), loaded_chars_->path));
    return;
  }
  FieldSnapshot snapshot = conversion_texts(*request);

  QApplication::setOverrideCursor(Qt::WaitCursor);
  const ResultCode converted = run_snapshot_conversion(snapshot);
  QApplication::restoreOverrideCursor();
  if (failed(converted)) {
    set_status(snapshot.message.isEmpty()
                   ? QString::fromUtf8(message_text(Message::kConversionFailed))
                   : snapshot.message);
    return;
  }

  // A font that leaves out characters holds fewer glyphs than the cut: the
  // notice says which.
  if (!snapshot.notice.isEmpty()) {
    set_status(font_written_with_notice(font_path(), snapshot.notice));
    return;
  }
  // The glyph count of the font: the cut on screen, when it is the cut of
  // these very settings; a fresh one otherwise.
  const CutOutcome counted =
      last_cut_current_ && last_cut_ ? *last_cut_ : scheduler_.source().cut(*request);
  set_status(glyphs_written(counted.glyphs.size(), font_path()));
}

FieldSnapshot PreviewWindow::conversion_texts(const CutRequest& request) const {
  FieldSnapshot snapshot;
  const auto put = [&snapshot](int id, const QByteArray& text) { snapshot.texts[id] = text; };
  for (const int id : {FieldInputPath, FieldOutputPath, FieldFontName}) {
    put(id, edit(id)->text().toLocal8Bit());
  }
  // A font's drawing lies in the window's private folder: the font it
  // converts into goes beside the font drawn instead.
  if (!shown_font_.isEmpty() && edit(FieldOutputPath)->text().isEmpty()) {
    put(FieldOutputPath, font_path().toLocal8Bit());
  }
  for (const NumericField& field : numeric_fields()) {
    put(field.id, edit(field.id)->text().toLatin1());
  }
  put(FieldFixedWidth, fixed_width_->isChecked() ? "1" : "0");
  put(FieldChars, request.chars ? QByteArray::fromStdString(*request.chars) : QByteArray());
  put(FieldBlankAdvance, edit(FieldBlankAdvance)->text().toLatin1());
  put(FieldInkRule, ink_rule_->currentData().toString().toLatin1());
  for (const auto& [id, text] : sheet_->driver_texts()) put(id, text);
  // Left out for BDF, as the console leaves it out without --format.
  const QByteArray format = format_field_text(*format_);
  if (!format.isEmpty()) put(FieldFormat, format);
  return snapshot;
}

QString PreviewWindow::font_path() const {
  QString path = edit(FieldOutputPath)->text();
  if (path.isEmpty()) {
    char derived[kPathBufferSize] = {};
    const QByteArray input =
        (!shown_font_.isEmpty() ? drawn_picture_beside(shown_font_) : edit(FieldInputPath)->text())
            .toLocal8Bit();
    if (succeeded(derive_font_name(input.constData(), chosen_format(*format_), derived, nullptr))) {
      path = QString::fromLocal8Bit(derived);
    }
  }
  return path;
}

bool PreviewWindow::font_would_replace_list_file() const {
  if (!loaded_chars_ || loaded_chars_->shown != edit(FieldChars)->text()) return false;
  return paths_name_one_file(QFile::encodeName(loaded_chars_->path).constData(),
                             QFile::encodeName(font_path()).constData());
}

void PreviewWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (dropped_file(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PreviewWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (dropped_file(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PreviewWindow::dropEvent(QDropEvent* event) {
  const auto path = dropped_file(event->mimeData());
  if (!path) {
    event->ignore();
    return;
  }
  open_file(*path);
  event->acceptProposedAction();
}

}  // namespace vellicor::dialog
