// Runs cuts off the user-interface thread, one at a time: a request made while
// a cut runs waits, and only the newest waiting request is ever carried out.
// Results of requests that were overtaken are dropped, so the window shows
// only what its fields say now.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>

#include "dialog/glyph_source.hpp"

namespace vellicor::dialog {

// One cut for the screen. A cut that fails keeps its failure (and so its
// message), but the user still sees the picture's glyphs: when the list and
// the picture disagree in number, the pairs the cut reports; when the list
// itself is refused, the glyphs of the picture cut without it, all unpaired.
CutOutcome cut_for_display(const GlyphSource& source, const CutRequest& request);

class CutScheduler : public QObject {
  Q_OBJECT

 public:
  explicit CutScheduler(std::shared_ptr<const GlyphSource> source, QObject* parent = nullptr);
  ~CutScheduler() override;

  // Asks for a cut; an earlier request's result will not be delivered.
  void request(const CutRequest& request);
  // True while a cut runs or waits.
  bool busy() const { return running_ || waiting_.has_value(); }
  const GlyphSource& source() const { return *source_; }

 Q_SIGNALS:
  // The outcome of the newest request, on the thread that owns the scheduler.
  void finished(const vellicor::dialog::CutOutcome& outcome);

 private:
  void start(const CutRequest& request);
  void on_done();

  std::shared_ptr<const GlyphSource> source_;
  QFutureWatcher<CutOutcome> watcher_;
  bool running_ = false;
  std::optional<CutRequest> waiting_;
};

}  // namespace vellicor::dialog
