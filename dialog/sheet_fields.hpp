// The Preview window's layout fields: how the glyphs stand in the picture
// (a strip, rows of strips, a grid of cells or marked strips), the numbers of
// the chosen layout, and a built-in character set in place of the list.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <utility>
#include <vector>

#include "dialog/glyph_source.hpp"
#include "driver/host_callbacks.hpp"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QSpinBox;
class QWidget;

namespace vellicor::dialog {

class SheetFields : public QObject {
  Q_OBJECT

 public:
  // The layout box's entries, in order.
  enum Layout { kStrip, kRows, kGrid, kMarks };

  // Creates the fields as children of parent and lays them out in grid from
  // first_row on, eight columns wide.
  SheetFields(QWidget* parent, QGridLayout* grid, int first_row);

  SheetSettings settings() const;
  // The keyword of the chosen character set, or an empty text for none.
  QString charset_keyword() const;
  // The texts the conversion driver reads for the chosen layout and set, as
  // the console's options give them; the fields of other layouts are left
  // out, and a plain strip without a set gives none.
  std::vector<std::pair<FieldId, QByteArray>> driver_texts() const;
  // Sets the fields from such texts, the layout's and the set's only, and
  // every field that none names to its start value; a text the driver would
  // refuse leaves its field at the start value. Quiet: changed() is not
  // emitted.
  void take_driver_texts(const std::vector<std::pair<FieldId, QByteArray>>& texts);

  QComboBox* layout_box() const { return layout_; }
  QComboBox* charset_box() const { return charset_; }
  QSpinBox* rows_box() const { return rows_; }
  QSpinBox* cell_width_box() const { return cell_width_; }
  QSpinBox* cell_height_box() const { return cell_height_; }
  QSpinBox* origin_x_box() const { return origin_x_; }
  QSpinBox* origin_y_box() const { return origin_y_; }
  QSpinBox* gap_x_box() const { return gap_x_; }
  QSpinBox* gap_y_box() const { return gap_y_; }
  QCheckBox* proportional_box() const { return proportional_; }
  // In tab order.
  QList<QWidget*> fields() const;

 Q_SIGNALS:
  void changed();

 private:
  void enable_layout_fields();

  QComboBox* layout_ = nullptr;
  QComboBox* charset_ = nullptr;
  QSpinBox* rows_ = nullptr;
  QSpinBox* cell_width_ = nullptr;
  QSpinBox* cell_height_ = nullptr;
  QSpinBox* origin_x_ = nullptr;
  QSpinBox* origin_y_ = nullptr;
  QSpinBox* gap_x_ = nullptr;
  QSpinBox* gap_y_ = nullptr;
  QCheckBox* proportional_ = nullptr;
};

}  // namespace vellicor::dialog
