// The control tables of the main dialog and the About box, and dialog units.
#include "dialog/dialog_template.hpp"

#include <array>

#include "driver/host_callbacks.hpp"
#include "vellicor/internal/product.hpp"

namespace vellicor::dialog {
namespace {

using K = ControlKind;

// Every blank-pixel edit sits on the side of the sample glyph where its pixels
// are added: upper above the picture, lower below, leading left, trailing right.
constexpr std::array kMainControls{
    ControlSpec{kNoControlId, K::kLabel, "Input BMP File Name", QRect(7, 7, 68, 8)},
    ControlSpec{FieldInputPath, K::kEdit, "", QRect(7, 16, 199, 14)},
    ControlSpec{kBrowseButtonId, K::kPushButton, "&...", QRect(206, 16, 16, 14)},
    ControlSpec{kNoControlId, K::kLabel, "Output &BDF File Name", QRect(7, 32, 72, 8)},
    ControlSpec{FieldOutputPath, K::kEdit, "", QRect(7, 42, 199, 14)},
    ControlSpec{kNoControlId, K::kLabel, "Font &Name", QRect(7, 68, 36, 8)},
    ControlSpec{FieldFontName, K::kEdit, "", QRect(7, 78, 199, 14)},
    ControlSpec{kNoControlId, K::kLabel, "1st Glyph &Value", QRect(53, 95, 50, 8)},
    ControlSpec{FieldFirstGlyph, K::kEdit, "", QRect(7, 93, 41, 14)},
    ControlSpec{kNoControlId, K::kLabel, "&Allowable Blank Pixels In Glyph", QRect(53, 111, 99, 8)},
    ControlSpec{FieldAllowedBlankColumns, K::kEdit, "", QRect(7, 108, 41, 14)},
    ControlSpec{kNoControlId, K::kLabel, "&Descent Pixels", QRect(53, 126, 48, 8)},
    ControlSpec{FieldDescent, K::kEdit, "", QRect(7, 123, 41, 14)},
    ControlSpec{FieldFixedWidth, K::kCheckBox, "&Fixed Width Font", QRect(8, 137, 69, 10)},
    ControlSpec{kNoControlId, K::kLabel, "&Upper Blank Pixels", QRect(108, 151, 60, 8)},
    ControlSpec{FieldUpperBlank, K::kEdit, "", QRect(119, 160, 41, 14)},
    ControlSpec{kNoControlId, K::kLabel, "&Leading Blank Pixels", QRect(8, 183, 66, 8)},
    ControlSpec{FieldLeadingBlank, K::kEdit, "", QRect(78, 179, 41, 14)},
    ControlSpec{kNoControlId, K::kLabel, "&Trailing Blank Pixels", QRect(207, 182, 64, 8)},
    ControlSpec{FieldTrailingBlank, K::kEdit, "", QRect(162, 179, 41, 14)},
    ControlSpec{kNoControlId, K::kLabel, "L&ower Blank Pixels", QRect(108, 212, 60, 8)},
    ControlSpec{FieldLowerBlank, K::kEdit, "", QRect(120, 198, 41, 14)},
    ControlSpec{kProcessButtonId, K::kDefaultButton, "P&rocess", QRect(263, 7, 50, 14)},
    ControlSpec{kExitButtonId, K::kPushButton, "E&xit", QRect(263, 35, 50, 14)},
    ControlSpec{kSamplePictureId, K::kPicture, "", QRect(132, 178, 15, 15)},
    ControlSpec{kAboutButtonId, K::kPushButton, "About A&pp", QRect(263, 21, 50, 14)},
    // Added below Exit in the free part of the button column; last in the
    // table so that every other control keeps its place in the tab order.
    ControlSpec{kPreviewButtonId, K::kPushButton, "Previe&w...", QRect(263, 49, 50, 14)},
};

// The tilde line and the three "<><" below it draw a small fish in text.
constexpr std::array kAboutControls{
    ControlSpec{kNoControlId, K::kIcon, "", QRect(11, 17, 21, 20)},
    ControlSpec{kNoControlId, K::kPlainLabel, "wVellicor", QRect(39, 10, 60, 8)},
    ControlSpec{kNoControlId, K::kLabel, kCopyright, QRect(39, 32, 79, 8)},
    ControlSpec{kAboutOkButtonId, K::kDefaultButton, "OK", QRect(7, 47, 50, 14)},
    ControlSpec{1023, K::kLabel, "<><", QRect(86, 67, 13, 8)},
    ControlSpec{1024, K::kLabel, "<><", QRect(94, 76, 13, 8)},
    ControlSpec{1025, K::kLabel, "<><", QRect(86, 85, 13, 8)},
    ControlSpec{kWebAddressId, K::kWebAddress, kWebSite, QRect(7, 112, 123, 13)},
    ControlSpec{1027, K::kLabel, "Click To Visit:", QRect(7, 104, 44, 8)},
    ControlSpec{1028, K::kLabel, "~~~~~~~~~~~~~~~~", QRect(58, 58, 76, 8)},
    ControlSpec{kNoControlId, K::kPlainLabel, "Version 1.0", QRect(40, 21, 60, 8)},
};

constexpr DialogTemplate kMainTemplate{"wVellicor", QSize(320, 227), kMainControls};
constexpr DialogTemplate kAboutTemplate{"About vellicor", QSize(139, 132), kAboutControls};

// Dialog units per average character width and per character height.
constexpr int kHorizontalUnitsPerChar = 4;
constexpr int kVerticalUnitsPerChar = 8;

// The letters whose mean width is a font's average character width.
constexpr char kAverageWidthSample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kAverageWidthSampleLength = 52;

// a * b / c rounded half away from zero, for non-negative a and positive b, c.
int scale_rounded(int a, int b, int c) { return (a * b + c / 2) / c; }

}  // namespace

const DialogTemplate& main_dialog_template() { return kMainTemplate; }
const DialogTemplate& about_dialog_template() { return kAboutTemplate; }

DialogUnitScale measure_dialog_font(const QFontMetrics& metrics) {
  const int sample_width_px = metrics.horizontalAdvance(QString::fromLatin1(kAverageWidthSample));
  // Twice the mean, plus one, halved: the mean rounded to the nearest pixel.
  const int char_width_px = (sample_width_px / (kAverageWidthSampleLength / 2) + 1) / 2;
  return DialogUnitScale{char_width_px > 0 ? char_width_px : 1,
                         metrics.height() > 0 ? metrics.height() : 1};
}

int horizontal_px(int dlu, const DialogUnitScale& scale) {
  return scale_rounded(dlu, scale.char_width_px, kHorizontalUnitsPerChar);
}

int vertical_px(int dlu, const DialogUnitScale& scale) {
  return scale_rounded(dlu, scale.char_height_px, kVerticalUnitsPerChar);
}

QRect to_pixels(const QRect& rect_dlu, const DialogUnitScale& scale) {
  return QRect(horizontal_px(rect_dlu.x(), scale), vertical_px(rect_dlu.y(), scale),
               horizontal_px(rect_dlu.width(), scale), vertical_px(rect_dlu.height(), scale));
}

QSize to_pixels(const QSize& size_dlu, const DialogUnitScale& scale) {
  return QSize(horizontal_px(size_dlu.width(), scale), vertical_px(size_dlu.height(), scale));
}

}  // namespace vellicor::dialog
