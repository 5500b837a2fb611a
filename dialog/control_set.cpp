// Widgets made from template rows: one widget kind per control kind.
#include "dialog/control_set.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "dialog/address_label.hpp"
#include "dialog/app_resources.hpp"

namespace vellicor::dialog {
namespace {

// Plain text: a label shows '&' as a mnemonic only once it has a buddy.
QWidget* make_label(QWidget& parent, const ControlSpec& entry) {
  auto* label = new QLabel(QString::fromUtf8(entry.text), &parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QWidget* make_button(QWidget& parent, const ControlSpec& entry, bool is_default) {
  auto* button = new QPushButton(QString::fromUtf8(entry.text), &parent);
  button->setDefault(is_default);
  return button;
}

// A picture static keeps its image's own size, placed at the rectangle's
// top-left corner, whatever size the rectangle gives.
QWidget* make_picture(QWidget& parent, const QPixmap& picture, QPoint origin) {
  auto* label = new QLabel(&parent);
  label->setPixmap(picture);
  label->setGeometry(QRect(origin, picture.size()));
  return label;
}

QWidget* make_control(QWidget& parent, const ControlSpec& entry, const QRect& rect_px) {
  QWidget* control = nullptr;
  switch (entry.kind) {
    case ControlKind::kLabel:
    case ControlKind::kPlainLabel:
      control = make_label(parent, entry);
      break;
    case ControlKind::kEdit:
      control = new QLineEdit(&parent);
      break;
    case ControlKind::kPushButton:
      control = make_button(parent, entry, false);
      break;
    case ControlKind::kDefaultButton:
      control = make_button(parent, entry, true);
      break;
    case ControlKind::kCheckBox:
      control = new QCheckBox(QString::fromUtf8(entry.text), &parent);
      break;
    case ControlKind::kPicture:
      return make_picture(parent, sample_glyph_picture(), rect_px.topLeft());
    case ControlKind::kIcon:
      return make_picture(parent, application_icon().pixmap(kLargeIconPx, kLargeIconPx),
                          rect_px.topLeft());
    case ControlKind::kWebAddress:
      control = new AddressLabel(QString::fromUtf8(entry.text), &parent);
      break;
  }
  control->setGeometry(rect_px);
  return control;
}

// Texts were fitted to a narrower dialog font than most desktops use: a label
// whose text does not fit grows to the right, up to the dialog's margin, and
// wraps onto further lines if that is still too narrow.
void fit_label_text(QLabel& label, int right_limit_px) {
  const int needed_px = label.sizeHint().width();
  if (needed_px <= label.width()) return;
  const int room_px = std::max(label.width(), right_limit_px - label.x());
  if (needed_px <= room_px) {
    label.resize(needed_px, label.height());
    return;
  }
  label.setWordWrap(true);
  label.resize(room_px, std::max(label.height(), label.heightForWidth(room_px)));
}

bool takes_focus(const QWidget* control) { return control->focusPolicy() & Qt::TabFocus; }

}  // namespace

QWidget* ControlSet::find(int id) const {
  const auto found = by_id_.find(id);
  return found == by_id_.end() ? nullptr : found->second;
}

QString control_object_name(int id) { return QStringLiteral("control%1").arg(id); }

ControlSet build_controls(QWidget& parent, const DialogTemplate& layout,
                          const DialogUnitScale& scale) {
  ControlSet set;
  // The margin kept on the right is the one the templates keep on the left.
  const int right_limit_px = horizontal_px(layout.size_dlu.width() - kDialogMarginDlu, scale);
  for (const ControlSpec& entry : layout.controls) {
    QWidget* control = make_control(parent, entry, to_pixels(entry.rect_dlu, scale));
    if (entry.kind == ControlKind::kLabel || entry.kind == ControlKind::kPlainLabel) {
      fit_label_text(*static_cast<QLabel*>(control), right_limit_px);
    }
    if (entry.id != kNoControlId) {
      control->setObjectName(control_object_name(entry.id));
      set.by_id_.emplace(entry.id, control);
    }
    set.ordered_.push_back(control);
  }

  QWidget* previous_focusable = nullptr;
  QLabel* waiting_label = nullptr;  // a mnemonic label still looking for its control
  for (std::size_t index = 0; index < set.ordered_.size(); ++index) {
    QWidget* control = set.ordered_[index];
    const ControlSpec& entry = layout.controls[index];
    if (takes_focus(control)) {
      if (previous_focusable != nullptr) QWidget::setTabOrder(previous_focusable, control);
      previous_focusable = control;
      if (waiting_label != nullptr) waiting_label->setBuddy(control);
      waiting_label = nullptr;
    } else if (entry.kind == ControlKind::kLabel &&
               QString::fromUtf8(entry.text).contains(QLatin1Char('&'))) {
      waiting_label = static_cast<QLabel*>(control);
    }
  }
  return set;
}

}  // namespace vellicor::dialog
