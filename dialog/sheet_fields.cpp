// Building the layout fields and reading them into the cut's settings.
#include "dialog/sheet_fields.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <memory>

#include "driver/charset_names.hpp"
#include "driver/layout_names.hpp"
#include "driver/sheet_fields.hpp"

namespace vellicor::dialog {
namespace {

// Five digits keep the boxes narrow; no cell, origin or gap of a picture the
// engine reads comes near it.
constexpr int kLargestNumber = 99999;
constexpr int kStartCellWidth = 8;
constexpr int kStartCellHeight = 16;

QSpinBox* make_number(QWidget* parent, int minimum, int start) {
  auto* box = new QSpinBox(parent);
  box->setRange(minimum, kLargestNumber);
  box->setValue(start);
  return box;
}

}  // namespace

SheetFields::SheetFields(QWidget* parent, QGridLayout* grid, int first_row) : QObject(parent) {
  const auto label = [parent](const QString& text, QWidget* field) {
    auto* made = new QLabel(text, parent);
    made->setBuddy(field);
    return made;
  };
  layout_ = new QComboBox(parent);
  layout_->addItems({tr("Strip"), tr("Rows"), tr("Grid"), tr("Marks")});
  rows_ = make_number(parent, 1, 1);
  charset_ = new QComboBox(parent);
  charset_->addItem(tr("None (the list above)"), QString());
  for (const CharsetName& name : charset_names()) {
    charset_->addItem(tr(name.title), QString::fromLatin1(name.keyword));
  }
  grid->addWidget(label(tr("La&yout"), layout_), first_row, 0);
  grid->addWidget(layout_, first_row, 1);
  grid->addWidget(label(tr("Ro&ws"), rows_), first_row, 2);
  grid->addWidget(rows_, first_row, 3);
  grid->addWidget(label(tr("Character s&et"), charset_), first_row, 4);
  grid->addWidget(charset_, first_row, 5, 1, 3);

  // Grid: cell size, origin and gaps as pairs across and down.
  cell_width_ = make_number(parent, 1, kStartCellWidth);
  cell_height_ = make_number(parent, 1, kStartCellHeight);
  origin_x_ = make_number(parent, 0, 0);
  origin_y_ = make_number(parent, 0, 0);
  gap_x_ = make_number(parent, 0, 0);
  gap_y_ = make_number(parent, 0, 0);
  proportional_ = new QCheckBox(tr("Proportional (ad&just advance to ink)"), parent);
  const struct {
    const char* text;
    const char* between;
    QSpinBox* across;
    QSpinBox* down;
  } pairs[] = {{QT_TR_NOOP("Cell si&ze"), "\u00d7", cell_width_, cell_height_},
               {QT_TR_NOOP("&Margin (origin)"), ",", origin_x_, origin_y_},
               {QT_TR_NOOP("Gap&s"), ",", gap_x_, gap_y_}};
  const int row = first_row + 1;
  int column = 0;
  for (const auto& pair : pairs) {
    auto* both = new QHBoxLayout;
    both->addWidget(pair.across, 1);
    both->addWidget(new QLabel(QString::fromUtf8(pair.between), parent));
    both->addWidget(pair.down, 1);
    grid->addWidget(label(tr(pair.text), pair.across), row, column);
    grid->addLayout(both, row, column + 1);
    column += 2;
  }
  grid->addWidget(proportional_, row, column, 1, 2);

  for (QSpinBox* box : {rows_, cell_width_, cell_height_, origin_x_, origin_y_, gap_x_, gap_y_}) {
    connect(box, &QSpinBox::valueChanged, this, &SheetFields::changed);
  }
  connect(proportional_, &QCheckBox::toggled, this, &SheetFields::changed);
  connect(charset_, &QComboBox::currentIndexChanged, this, &SheetFields::changed);
  connect(layout_, &QComboBox::currentIndexChanged, this, [this] {
    enable_layout_fields();
    Q_EMIT changed();
  });
  enable_layout_fields();
}

void SheetFields::enable_layout_fields() {
  const int chosen = layout_->currentIndex();
  rows_->setEnabled(chosen == kRows || chosen == kMarks);
  for (QWidget* field : {static_cast<QWidget*>(cell_width_), static_cast<QWidget*>(cell_height_),
                         static_cast<QWidget*>(origin_x_), static_cast<QWidget*>(origin_y_),
                         static_cast<QWidget*>(gap_x_), static_cast<QWidget*>(gap_y_),
                         static_cast<QWidget*>(proportional_)}) {
    field->setEnabled(chosen == kGrid);
  }
}

QList<QWidget*> SheetFields::fields() const {
  return {layout_,   rows_,     charset_, cell_width_, cell_height_,
          origin_x_, origin_y_, gap_x_,   gap_y_,      proportional_};
}

QString SheetFields::charset_keyword() const { return charset_->currentData().toString(); }

std::vector<std::pair<FieldId, QByteArray>> SheetFields::driver_texts() const {
  const SheetSettings sheet = settings();
  const auto pair = [](std::uint32_t first, char between, std::uint32_t second) {
    return QByteArray::number(first) + between + QByteArray::number(second);
  };
  std::vector<std::pair<FieldId, QByteArray>> texts;
  if (layout_->currentIndex() != kStrip) {
    texts.emplace_back(FieldLayout, QByteArray(layout_keyword(sheet.layout)));
  }
  if (sheet.rows != 0) texts.emplace_back(FieldRows, QByteArray::number(sheet.rows));
  if (sheet.layout == VELLICOR_LAYOUT_GRID) {
    texts.emplace_back(FieldGridCell, pair(sheet.cell_width, 'x', sheet.cell_height));
    texts.emplace_back(FieldGridOrigin, pair(sheet.origin_x, ',', sheet.origin_y));
    texts.emplace_back(FieldGridGap, pair(sheet.gap_x, ',', sheet.gap_y));
    texts.emplace_back(FieldProportional, sheet.proportional ? "1" : "0");
  }
  if (sheet.charset != VELLICOR_CHARSET_NONE) {
    texts.emplace_back(FieldCharset, charset_keyword().toLatin1());
  }
  return texts;
}

void SheetFields::take_driver_texts(const std::vector<std::pair<FieldId, QByteArray>>& texts) {
  const QList<QWidget*> all = fields();
  std::vector<std::unique_ptr<QSignalBlocker>> quiet;
  for (QWidget* field : all) quiet.push_back(std::make_unique<QSignalBlocker>(field));
  layout_->setCurrentIndex(kStrip);
  rows_->setValue(1);
  charset_->setCurrentIndex(0);
  cell_width_->setValue(kStartCellWidth);
  cell_height_->setValue(kStartCellHeight);
  for (QSpinBox* box : {origin_x_, origin_y_, gap_x_, gap_y_}) box->setValue(0);
  proportional_->setChecked(false);

  const auto set_pair = [](const QByteArray& text, QSpinBox* first, QSpinBox* second,
                           bool is_cell) {
    NumberPair pair;
    const ResultCode read =
        is_cell ? read_cell_size(text.constData(), pair) : read_pixel_pair(text.constData(), pair);
    if (failed(read)) return;
    first->setValue(int(std::min<std::uint32_t>(pair.first, kLargestNumber)));
    second->setValue(int(std::min<std::uint32_t>(pair.second, kLargestNumber)));
  };
  for (const auto& [id, text] : texts) {
    switch (id) {
      case FieldLayout: {
        std::uint32_t layout = VELLICOR_LAYOUT_STRIP;
        if (failed(parse_layout(text.constData(), layout))) break;
        layout_->setCurrentIndex(layout == VELLICOR_LAYOUT_GRID    ? kGrid
                                 : layout == VELLICOR_LAYOUT_MARKS ? kMarks
                                                                   : kStrip);
        break;
      }
      case FieldRows: {
        std::uint32_t rows = 1;
        if (succeeded(read_rows(text.constData(), rows))) {
          rows_->setValue(int(std::min<std::uint32_t>(rows, kLargestNumber)));
          // Rows of strips unless the layout is said to be another.
          if (layout_->currentIndex() == kStrip) layout_->setCurrentIndex(kRows);
        }
        break;
      }
      case FieldGridCell:
        set_pair(text, cell_width_, cell_height_, true);
        break;
      case FieldGridOrigin:
        set_pair(text, origin_x_, origin_y_, false);
        break;
      case FieldGridGap:
        set_pair(text, gap_x_, gap_y_, false);
        break;
      case FieldProportional:
        proportional_->setChecked(text.toLongLong() != 0);
        break;
      case FieldCharset: {
        const int index = charset_->findData(QString::fromLatin1(text));
        if (index > 0) charset_->setCurrentIndex(index);
        break;
      }
      default:
        break;
    }
  }
  enable_layout_fields();
}

SheetSettings SheetFields::settings() const {
  SheetSettings sheet;
  const int chosen = layout_->currentIndex();
  if (chosen == kGrid) {
    sheet.layout = VELLICOR_LAYOUT_GRID;
    sheet.cell_width = std::uint32_t(cell_width_->value());
    sheet.cell_height = std::uint32_t(cell_height_->value());
    sheet.origin_x = std::uint32_t(origin_x_->value());
    sheet.origin_y = std::uint32_t(origin_y_->value());
    sheet.gap_x = std::uint32_t(gap_x_->value());
    sheet.gap_y = std::uint32_t(gap_y_->value());
    sheet.proportional = proportional_->isChecked();
  } else {
    sheet.layout = chosen == kMarks ? VELLICOR_LAYOUT_MARKS : VELLICOR_LAYOUT_STRIP;
    if (chosen != kStrip) sheet.rows = std::uint32_t(rows_->value());
  }
  const int set = charset_->currentIndex();
  if (set > 0) sheet.charset = charset_names()[std::size_t(set - 1)].charset;
  return sheet;
}

}  // namespace vellicor::dialog
