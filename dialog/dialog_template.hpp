// The two dialog layouts as tables of controls in dialog units, and the
// conversion of dialog units to pixels from the dialog font's metrics.
#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <span>

namespace vellicor::dialog {

// Both dialogs: a caption bar with a close box only, no minimise or maximise
// box, no resizing.
inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Identifier of a control that no code looks up (labels, decoration).
inline constexpr int kNoControlId = -1;

// Both templates keep this distance from the dialog's left edge.
inline constexpr int kDialogMarginDlu = 7;

// Identifiers of the main dialog's controls that answer no request field.
inline constexpr int kBrowseButtonId = 1001;
inline constexpr int kSamplePictureId = 1008;
inline constexpr int kProcessButtonId = 1013;
inline constexpr int kExitButtonId = 2;  // the cancel command: Exit, Escape and close box alike
inline constexpr int kAboutButtonId = 1029;
inline constexpr int kPreviewButtonId = 1030;

// Identifiers of the About box's controls.
inline constexpr int kAboutOkButtonId = 1;
inline constexpr int kWebAddressId = 1026;

enum class ControlKind : std::uint8_t {
  kLabel,       // static text, left aligned; '&' marks the mnemonic of the next control
  kPlainLabel,  // static text shown as written ('&' is no mnemonic)
  kEdit,        // single-line edit, initially empty
  kPushButton,
  kDefaultButton,  // the push button that Enter presses
  kCheckBox,       // automatic check box, initially unchecked
  kPicture,        // the sample glyph bitmap at its own size
  kIcon,           // the application icon at its own size
  kWebAddress,     // centred text in a sunken box that opens the address when clicked
};

// One control: rectangle in dialog units (x, y, width, height).
struct ControlSpec {
  int id;
  ControlKind kind;
  const char* text;
  QRect rect_dlu;
};

struct DialogTemplate {
  const char* caption;
  QSize size_dlu;
  std::span<const ControlSpec> controls;  // in tab order
};

// The main dialog (template 102) and the About box (template 100).
const DialogTemplate& main_dialog_template();
const DialogTemplate& about_dialog_template();

// Pixels per four horizontal and per eight vertical dialog units: the dialog
// font's average character width and its character height.
struct DialogUnitScale {
  int char_width_px;
  int char_height_px;
};

// Measures a font the way the window system measures a dialog font: the
// average width of the 52 Latin letters, rounded, and the full line height.
DialogUnitScale measure_dialog_font(const QFontMetrics& metrics);

// Dialog units to pixels, each coordinate rounded to the nearest pixel.
int horizontal_px(int dlu, const DialogUnitScale& scale);
int vertical_px(int dlu, const DialogUnitScale& scale);
QRect to_pixels(const QRect& rect_dlu, const DialogUnitScale& scale);
QSize to_pixels(const QSize& size_dlu, const DialogUnitScale& scale);

}  // namespace vellicor::dialog
