// The four host callbacks of the dialog program.
#include "dialog/host_provider.hpp"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cstring>

#include "driver/conversion_driver.hpp"

namespace vellicor::dialog {
namespace {

// The smallest buffer that holds one character and its terminator.
constexpr std::uint32_t kSmallestFieldBuffer = 2;

// The request fields this window answers. The other controls (buttons, the
// picture) are no fields, even where an identifier equals one the driver asks
// for: the Process button's 1013 is also the character list's field. The
// extended settings live in the Preview window; unanswered here, the driver
// runs the plain conversion.
constexpr FieldId kWindowFields[] = {
    FieldInputPath,           FieldFirstGlyph, FieldLeadingBlank, FieldTrailingBlank,
    FieldUpperBlank,          FieldLowerBlank, FieldFontName,     FieldFixedWidth,
    FieldAllowedBlankColumns, FieldDescent,    FieldOutputPath,
};

bool serves(FieldId id) {
  for (const FieldId field : kWindowFields) {
    if (field == id) return true;
  }
  return false;
}

HostWindow* window_of(void* context) { return static_cast<HostWindow*>(context); }

void begin_busy(void* context) { window_of(context)->begin_wait_cursor(); }

void end_busy(void* context) { window_of(context)->end_wait_cursor(); }

void report_message(void* context, const char* text) {
  if (text == nullptr || text[0] == '\0') return;
  window_of(context)->show_message(QString::fromUtf8(text));
}

// A control's text as the window system would hand it out: edits and labels
// their contents, buttons their caption with its '&' marks.
QString window_text(const QWidget& control) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) return edit->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  return {};
}

// Number of leading bytes of text that fit in capacity bytes without cutting a
// multibyte character in two.
std::size_t whole_characters_within(const QByteArray& text, std::size_t capacity) {
  const auto length = static_cast<std::size_t>(text.size());
  if (length <= capacity) return length;
  std::size_t cut = capacity;
  constexpr unsigned char kContinuationMask = 0xC0;
  constexpr unsigned char kContinuationBits = 0x80;
  while (cut > 0 && (static_cast<unsigned char>(text[static_cast<qsizetype>(cut)]) &
                     kContinuationMask) == kContinuationBits) {
    --cut;
  }
  return cut;
}

constexpr HostCallbacks kWindowCallbacks{begin_busy, end_busy, report_message, provide_field,
                                         nullptr};

}  // namespace

FieldAnswer provide_field(void* context, FieldId id, char* buffer, std::uint32_t size) {
  if (context == nullptr || buffer == nullptr || size < kSmallestFieldBuffer) {
    return FieldAnswer::kBadRequest;
  }
  std::memset(buffer, 0, size);
  if (!serves(id)) return FieldAnswer::kUnknownField;
  const QWidget* control = window_of(context)->control(id);

  if (id == FieldFixedWidth) {
    const auto* check_box = qobject_cast<const QCheckBox*>(control);
    if (check_box == nullptr) return FieldAnswer::kTextUnavailable;
    buffer[0] = check_box->isChecked() ? '1' : '0';
    return FieldAnswer::kSupplied;
  }

  if (control == nullptr) return FieldAnswer::kUnknownField;
  const QByteArray text = window_text(*control).toLocal8Bit();
  if (text.isEmpty()) return FieldAnswer::kTextUnavailable;
  // What fits is still written, so a small buffer gets the text's beginning;
  // the answer tells the driver that it is not the whole text.
  const std::size_t copied = whole_characters_within(text, size - 1);
  std::memcpy(buffer, text.constData(), copied);
  if (copied < static_cast<std::size_t>(text.size())) return FieldAnswer::kTextTooLong;
  return FieldAnswer::kSupplied;
}

const HostCallbacks& window_host_callbacks() { return kWindowCallbacks; }

ResultCode run_window_conversion(HostWindow& window) {
  return run_conversion(&window_host_callbacks(), &window);
}

}  // namespace vellicor::dialog
