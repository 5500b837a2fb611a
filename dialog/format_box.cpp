// Filling the format box from the driver's table and reading the choice back.
#include "dialog/format_box.hpp"

#include <QComboBox>
#include <QCoreApplication>
#include <algorithm>

#include "driver/format_names.hpp"
#include "vellicor/vellicor.h"

namespace vellicor::dialog {
namespace {

// Wide enough for "BDF (font tools, X11)": the longest titles would push
// the status line aside; the open list shows them whole.
constexpr int kShownCharacters = 22;

const FormatName& chosen_row(const QComboBox& box) {
  const auto names = format_names();
  const int index = std::clamp(box.currentIndex(), 0, static_cast<int>(names.size()) - 1);
  return names[static_cast<std::size_t>(index)];
}

}  // namespace

QComboBox* make_format_box(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QStringLiteral("formatBox"));
  for (const FormatName& name : format_names()) {
    box->addItem(QCoreApplication::translate("Preview", name.title),
                 QString::fromLatin1(name.keyword));
  }
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->setMinimumContentsLength(kShownCharacters);
  return box;
}

std::uint32_t chosen_format(const QComboBox& box) { return chosen_row(box).format; }

QByteArray format_field_text(const QComboBox& box) {
  const FormatName& row = chosen_row(box);
  if (row.format == VELLICOR_FORMAT_BDF) return {};
  return QByteArray(row.keyword);
}

}  // namespace vellicor::dialog
