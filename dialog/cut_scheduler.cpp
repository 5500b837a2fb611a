// One cut at a time on the thread pool; the newest request wins.
#include "dialog/cut_scheduler.hpp"

#include <QtConcurrent/QtConcurrentRun>

namespace vellicor::dialog {

namespace {

// The figures a cut finds in the picture itself, the same with or without a
// list: they place the baseline under boxes that a list-free cut supplied.
void take_picture_figures(const ConversionReport& from, ConversionReport& to) {
  to.glyphs_cut = from.glyphs_cut;
  to.picture_width = from.picture_width;
  to.picture_height = from.picture_height;
  to.tallest = from.tallest;
  to.widest = from.widest;
}

}  // namespace

CutOutcome cut_for_display(const GlyphSource& source, const CutRequest& request) {
  CutOutcome outcome = source.cut(request);
  // A count mismatch still reports every glyph, paired as far as list and
  // picture both go: those are shown as they are.
  const bool listed = request.chars || request.sheet.charset != VELLICOR_CHARSET_NONE;
  if (succeeded(outcome.result) || !outcome.glyphs.empty() || !listed) return outcome;
  // The list is read before the picture, so a refused list leaves no glyph;
  // the picture's own boxes stand in for them, with the list's refusal. (A
  // picture the cut cannot use fails without the list as well.)
  CutRequest without_list = request;
  without_list.chars.reset();
  without_list.sheet.charset = VELLICOR_CHARSET_NONE;
  CutOutcome picture_only = source.cut(without_list);
  if (failed(picture_only.result)) return outcome;
  for (GlyphBox& glyph : picture_only.glyphs) glyph.unpaired = true;
  outcome.glyphs = std::move(picture_only.glyphs);
  take_picture_figures(picture_only.report, outcome.report);
  return outcome;
}

CutScheduler::CutScheduler(std::shared_ptr<const GlyphSource> source, QObject* parent)
    : QObject(parent), source_(std::move(source)) {
  connect(&watcher_, &QFutureWatcher<CutOutcome>::finished, this, &CutScheduler::on_done);
}

CutScheduler::~CutScheduler() {
  // The worker reads only its own copies and the source, which it shares; it
  // is waited for so that no cut outlives the window that asked for it.
  watcher_.disconnect(this);
  watcher_.waitForFinished();
}

void CutScheduler::request(const CutRequest& request) {
  if (running_) {
    waiting_ = request;  // replaces any request that was still waiting
    return;
  }
  start(request);
}

void CutScheduler::start(const CutRequest& request) {
  running_ = true;
  std::shared_ptr<const GlyphSource> source = source_;
  watcher_.setFuture(
      QtConcurrent::run([source, request] { return cut_for_display(*source, request); }));
}

void CutScheduler::on_done() {
  running_ = false;
  if (waiting_) {
    // Overtaken while it ran: its outcome no longer matches the fields.
    const CutRequest next = *waiting_;
    waiting_.reset();
    start(next);
    return;
  }
  Q_EMIT finished(watcher_.result());
}

}  // namespace vellicor::dialog
