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
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "dialog/field_snapshot.hpp"
#include "dialog/host_window.hpp"
#include "dialog/preview_messages.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/messages.hpp"
#include "vellicor/internal/output_name.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor::dialog {
namespace {

constexpr std::uint32_t kMaxByteOption = 0xFF;
constexpr std::uint32_t kMaxFirstGlyph = 0xFFFF;
constexpr int kNumberFieldLength = 10;  // "0xFFFFFFFF"
constexpr QSize kStartSize(960, 560);

// The ink rules in the order of the list box, with the words the console
// and the driver use for them.
struct InkRuleChoice {
  std::uint32_t rule;
  const char* keyword;
  const char* label;
};
constexpr std::array kInkRules{
    InkRuleChoice{VELLICOR_INK_BLACK, "black", "Black (pure black is ink)"},
    InkRuleChoice{VELLICOR_INK_DARK, "dark", "Dark (darker than mid grey)"},
    InkRuleChoice{VELLICOR_INK_OPAQUE, "opaque", "Opaque (any colour)"},
    InkRuleChoice{VELLICOR_INK_AUTO, "auto", "Auto (all but the paper colour)"},
};

// A numeric field of the cut: its text is read as the driver reads it, and a
// refusal gives the driver's message.
struct NumberField {
  FieldId id;
  std::uint32_t limit;
  Message refusal;
  void (*store)(ConversionOptions& options, std::uint32_t value);
};

constexpr NumberField kNumberFields[] = {
    {FieldFirstGlyph, kMaxFirstGlyph, Message::kInvalidFirstGlyph,
     [](ConversionOptions& o, std::uint32_t v) { o.first_glyph = static_cast<std::uint16_t>(v); }},
    {FieldAllowedBlankColumns, kMaxByteOption, Message::kInvalidAllowedBlank,
     [](ConversionOptions& o, std::uint32_t v) {
       o.allowed_blank_columns = static_cast<std::uint8_t>(v);
     }},
    {FieldDescent, kMaxByteOption, Message::kInvalidDescent,
     [](ConversionOptions& o, std::uint32_t v) { o.descent = static_cast<std::uint8_t>(v); }},
    {FieldUpperBlank, kMaxByteOption, Message::kInvalidUpperBlank,
     [](ConversionOptions& o, std::uint32_t v) { o.upper_blank = static_cast<std::uint8_t>(v); }},
    {FieldLowerBlank, kMaxByteOption, Message::kInvalidLowerBlank,
     [](ConversionOptions& o, std::uint32_t v) { o.lower_blank = static_cast<std::uint8_t>(v); }},
    {FieldLeadingBlank, kMaxByteOption, Message::kInvalidLeadingBlank,
     [](ConversionOptions& o, std::uint32_t v) { o.leading_blank = static_cast<std::uint8_t>(v); }},
    {FieldTrailingBlank, kMaxByteOption, Message::kInvalidTrailingBlank,
     [](ConversionOptions& o, std::uint32_t v) {
       o.trailing_blank = static_cast<std::uint8_t>(v);
     }},
};

// Empty means 0, as in the main window.
std::optional<std::uint32_t> read_number(const QString& text, std::uint32_t limit) {
  if (text.isEmpty()) return 0;
  std::uint32_t value = 0;
  const QByteArray bytes = text.toLatin1();
  if (failed(parse_number(bytes.constData(), &value)) || value > limit) return std::nullopt;
  return value;
}

bool is_picture_name(const QString& name) {
  return name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

// The picture of a drop: one local PNG or BMP file.
std::optional<QString> dropped_picture(const QMimeData* dropped) {
  if (dropped == nullptr || !dropped->hasUrls()) return std::nullopt;
  const QList<QUrl> urls = dropped->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  const QString name = QDir::toNativeSeparators(urls.front().toLocalFile());
  if (!is_picture_name(name)) return std::nullopt;
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
      choose_file_(choose_with_file_dialog) {
  setWindowTitle(tr("Preview"));
  setAcceptDrops(true);
  build();
  connect(&scheduler_, &CutScheduler::finished, this, &PreviewWindow::show_outcome);
  resize(kStartSize);
  set_status(tr("Open or drop a PNG or BMP picture."));
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
  auto* open_button = make_button(tr("&Open..."), this);
  grid->addWidget(label(tr("&Picture"), picture), 0, 0);
  grid->addWidget(picture, 0, 1, 1, 5);
  grid->addWidget(open_button, 0, 6, 1, 2);

  QLineEdit* output = add_edit(FieldOutputPath);
  QLineEdit* font_name = add_edit(FieldFontName);
  grid->addWidget(label(tr("Output &BDF file"), output), 1, 0);
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
  for (const InkRuleChoice& choice : kInkRules) {
    ink_rule_->addItem(tr(choice.label), QString::fromLatin1(choice.keyword));
  }
  grid->addWidget(label(tr("&Ink rule"), ink_rule_), 4, 0);
  grid->addWidget(ink_rule_, 4, 1, 1, 3);
  grid->addWidget(fixed_width_, 4, 4, 1, 2);

  QLineEdit* chars = add_edit(FieldChars);
  chars->setPlaceholderText(tr("empty: codes count up from the first code"));
  auto* load_button = make_button(tr("Load c&haracters..."), this);
  grid->addWidget(label(tr("&Characters"), chars), 5, 0);
  grid->addWidget(chars, 5, 1, 1, 5);
  grid->addWidget(load_button, 5, 6, 1, 2);

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

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addWidget(zoom_label_);
  bottom->addWidget(convert_button);
  bottom->addWidget(close_button);

  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addWidget(view_label);
  column->addWidget(view_, 1);
  column->addLayout(bottom);

  // Tab goes through the fields row by row, then the picture, then the buttons.
  QWidget* order[] = {picture,
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
                      load_button,
                      view_,
                      convert_button,
                      close_button};
  for (std::size_t index = 1; index < std::size(order); ++index) {
    setTabOrder(order[index - 1], order[index]);
  }

  for (const auto& [id, edit] : edits_) {
    if (id == FieldInputPath || id == FieldOutputPath || id == FieldFontName) continue;
    connect(edit, &QLineEdit::textChanged, this, &PreviewWindow::recut);
  }
  connect(picture, &QLineEdit::editingFinished, this, [this, picture] {
    if (picture->text() != shown_picture_) open_picture(picture->text());
  });
  connect(fixed_width_, &QCheckBox::toggled, this, &PreviewWindow::recut);
  connect(ink_rule_, &QComboBox::currentIndexChanged, this, [this] {
    view_->set_ink_rule(ink_rule());
    recut();
  });
  connect(open_button, &QPushButton::clicked, this, &PreviewWindow::choose_picture);
  connect(load_button, &QPushButton::clicked, this, &PreviewWindow::choose_characters);
  connect(convert_button, &QPushButton::clicked, this, &PreviewWindow::convert);
  connect(close_button, &QPushButton::clicked, this, &PreviewWindow::close);
  connect(view_, &PreviewView::zoom_changed, this,
          [this](int zoom) { zoom_label_->setText(tr("Zoom %1\u00d7").arg(zoom)); });
  zoom_label_->setText(tr("Zoom %1\u00d7").arg(view_->zoom()));
}

QLineEdit* PreviewWindow::edit(int id) const {
  const auto found = edits_.find(id);
  return found == edits_.end() ? nullptr : found->second;
}

QString PreviewWindow::status_text() const { return status_->text(); }

void PreviewWindow::set_status(const QString& text) { status_->setText(text); }

std::uint32_t PreviewWindow::ink_rule() const {
  const int index = std::max(0, ink_rule_->currentIndex());
  return kInkRules[static_cast<std::size_t>(index)].rule;
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
  {
    const QSignalBlocker quiet(edit(FieldInputPath));
    edit(FieldInputPath)->setText(path);
  }
  shown_picture_ = path;
  QImageReader reader(path);
  // The engine, not Qt, decides what the file holds: a picture Qt cannot
  // show is still cut, and the status line says what the engine found.
  view_->set_picture(path.isEmpty() ? QImage() : reader.read(), ink_rule());
  recut();
}

bool PreviewWindow::load_characters(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    set_status(tr("Cannot read the character list %1").arg(path));
    return false;
  }
  QString text = QString::fromUtf8(file.readAll());
  // As the console reads --chars-file: line breaks only arrange the list in
  // the file, and a byte-order mark is no character of it.
  text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  edit(FieldChars)->setText(text);
  return true;
}

void PreviewWindow::choose_picture() {
  const QString chosen =
      choose_file_(this, tr("Open picture"), tr("Pictures (*.png *.bmp);;All Files (*)"));
  if (!chosen.isEmpty()) open_picture(chosen);
}

void PreviewWindow::choose_characters() {
  const QString chosen =
      choose_file_(this, tr("Load character list"), tr("Text (*.txt);;All Files (*)"));
  if (!chosen.isEmpty()) load_characters(chosen);
}

std::optional<CutRequest> PreviewWindow::read_request(QString* refusal) const {
  CutRequest request;
  request.input_path = QFile::encodeName(edit(FieldInputPath)->text()).toStdString();
  for (const NumberField& field : kNumberFields) {
    const auto value = read_number(edit(field.id)->text(), field.limit);
    if (!value) {
      *refusal = QString::fromUtf8(message_text(field.refusal));
      return std::nullopt;
    }
    field.store(request.options, *value);
  }
  request.options.fixed_width = fixed_width_->isChecked() ? 1 : 0;
  // Empty: the median advance. Given, it must be a width the driver accepts.
  const QString advance_text = edit(FieldBlankAdvance)->text();
  const auto advance = read_number(advance_text, kMostBlankAdvance);
  if (!advance || (!advance_text.isEmpty() && *advance == 0)) {
    *refusal = QString::fromUtf8(message_text(Message::kInvalidBlankAdvance));
    return std::nullopt;
  }
  request.blank_advance = *advance;
  request.ink_rule = ink_rule();
  const QString chars = edit(FieldChars)->text();
  if (!chars.isEmpty()) request.chars = chars.toUtf8().toStdString();
  return request;
}

void PreviewWindow::recut() {
  last_cut_current_ = false;
  if (edit(FieldInputPath)->text().isEmpty()) {
    view_->set_glyphs({}, 0, 0);
    set_status(tr("Open or drop a PNG or BMP picture."));
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
  view_->set_glyphs(outcome.glyphs, outcome.report.tallest, descent);
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
  FieldSnapshot snapshot;
  const auto put = [&snapshot](int id, const QByteArray& text) { snapshot.texts[id] = text; };
  for (const int id : {FieldInputPath, FieldOutputPath, FieldFontName}) {
    put(id, edit(id)->text().toLocal8Bit());
  }
  for (const NumberField& field : kNumberFields) put(field.id, edit(field.id)->text().toLatin1());
  put(FieldFixedWidth, fixed_width_->isChecked() ? "1" : "0");
  put(FieldChars, edit(FieldChars)->text().toUtf8());
  put(FieldBlankAdvance, edit(FieldBlankAdvance)->text().toLatin1());
  put(FieldInkRule, ink_rule_->currentData().toString().toLatin1());

  QApplication::setOverrideCursor(Qt::WaitCursor);
  const ResultCode converted = run_snapshot_conversion(snapshot);
  QApplication::restoreOverrideCursor();
  if (failed(converted)) {
    set_status(snapshot.message.isEmpty()
                   ? QString::fromUtf8(message_text(Message::kConversionFailed))
                   : snapshot.message);
    return;
  }

  // The glyph count of the font: the cut on screen, when it is the cut of
  // these very settings; a fresh one otherwise.
  const CutOutcome counted =
      last_cut_current_ && last_cut_ ? *last_cut_ : scheduler_.source().cut(*request);
  QString written = edit(FieldOutputPath)->text();
  if (written.isEmpty()) {
    char derived[kPathBufferSize] = {};
    const QByteArray input = edit(FieldInputPath)->text().toLocal8Bit();
    if (succeeded(derive_bdf_name(input.constData(), derived, nullptr))) {
      written = QString::fromLocal8Bit(derived);
    }
  }
  set_status(glyphs_written(counted.glyphs.size(), written));
}

void PreviewWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (dropped_picture(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PreviewWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (dropped_picture(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PreviewWindow::dropEvent(QDropEvent* event) {
  const auto path = dropped_picture(event->mimeData());
  if (!path) {
    event->ignore();
    return;
  }
  open_picture(*path);
  event->acceptProposedAction();
}

}  // namespace vellicor::dialog
