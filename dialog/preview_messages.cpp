// Status line texts: counts and code ranges of a cut, or the driver's message.
#include "dialog/preview_messages.hpp"

#include <QCoreApplication>
#include <algorithm>

#include "driver/messages.hpp"

namespace vellicor::dialog {

QString cut_summary(const CutOutcome& outcome) {
  if (failed(outcome.result)) {
    return QString::fromStdString(
        failure_text(static_cast<ErrorDetail>(outcome.detail), outcome.report));
  }
  if (outcome.glyphs.empty()) return QCoreApplication::translate("Preview", "No glyphs");
  // With a character list the codes need not rise from left to right.
  const auto [lowest, highest] =
      std::minmax_element(outcome.glyphs.begin(), outcome.glyphs.end(),
                          [](const GlyphBox& a, const GlyphBox& b) { return a.code < b.code; });
  if (outcome.glyphs.size() == 1) {
    return QCoreApplication::translate("Preview", "1 glyph, code %1").arg(lowest->code);
  }
  return QCoreApplication::translate("Preview", "%1 glyphs, codes %2 to %3")
      .arg(outcome.glyphs.size())
      .arg(lowest->code)
      .arg(highest->code);
}

QString glyphs_written(std::size_t glyph_count, const QString& path) {
  if (glyph_count == 1) {
    return QCoreApplication::translate("Preview", "1 glyph written to %1").arg(path);
  }
  return QCoreApplication::translate("Preview", "%1 glyphs written to %2")
      .arg(glyph_count)
      .arg(path);
}

QString font_written_with_notice(const QString& path, const QString& notice) {
  return QCoreApplication::translate("Preview", "Font written to %1. %2").arg(path, notice);
}

}  // namespace vellicor::dialog
