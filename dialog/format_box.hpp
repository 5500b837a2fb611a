// The Preview window's choice of the font's file format: the formats the
// console's --format takes, in their order and with their titles.
#pragma once

#include <QByteArray>
#include <cstdint>

class QComboBox;
class QWidget;

namespace vellicor::dialog {

// A list box of every format, BDF first and chosen.
QComboBox* make_format_box(QWidget* parent);

// The VELLICOR_FORMAT_* of the chosen entry.
std::uint32_t chosen_format(const QComboBox& box);

// The text of FieldFormat for the chosen entry: its keyword, or an empty
// text for BDF. The driver is then given no format at all, so a BDF
// conversion is the same request a host without formats makes.
QByteArray format_field_text(const QComboBox& box);

}  // namespace vellicor::dialog
