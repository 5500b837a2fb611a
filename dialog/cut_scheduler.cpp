// One cut at a time on the thread pool; the newest request wins.
#include "dialog/cut_scheduler.hpp"

#include <QtConcurrent/QtConcurrentRun>

namespace vellicor::dialog {

CutOutcome cut_for_display(const GlyphSource& source, const CutRequest& request) {
  // A count mismatch still reports every glyph, paired as far as list and
  // picture both go: those are shown as they are.
  return source.cut(request);
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
