// Painting the enlarged strip: only the columns inside the exposed rectangle
// are drawn, so a strip of many thousand glyphs costs no more than a short one.
#include "dialog/preview_view.hpp"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <unordered_map>

namespace vellicor::dialog {
namespace {

// The cutter never looks at row 0: ink there alone leaves a column blank.
constexpr int kFirstCutRow = 1;
constexpr int kOpaqueAlpha = 255;
constexpr int kHalfLevel = 128;
constexpr int kWheelStep = 120;  // one notch of an ordinary mouse wheel
constexpr int kArrowStepColumns = 4;

// Whether the pixel counts as ink under the rule, as far as the drawing needs
// to know it: a close reading of the engine's rules, for shading only.
bool is_ink(QRgb pixel, std::uint32_t rule, QRgb paper) {
  const int alpha = qAlpha(pixel);
  switch (rule) {
    case VELLICOR_INK_DARK:
      return alpha >= kHalfLevel && qGray(pixel) < kHalfLevel;
    case VELLICOR_INK_OPAQUE:
      return alpha >= kHalfLevel;
    case VELLICOR_INK_AUTO:
      return pixel != paper;
    default:
      return alpha == kOpaqueAlpha && (pixel & RGB_MASK) == 0;
  }
}

// Columns converted to 32-bit colour at a time: the whole of a long strip
// in that form would take many megabytes and a noticeable pause.
constexpr int kColumnsPerPiece = 4096;

// Calls visit(piece, first_column) for the picture in pieces of 32-bit colour.
template <typename Visit>
void for_each_piece(const QImage& picture, Visit visit) {
  for (int left = 0; left < picture.width(); left += kColumnsPerPiece) {
    const int width = std::min(kColumnsPerPiece, picture.width() - left);
    visit(picture.copy(left, 0, width, picture.height()).convertToFormat(QImage::Format_ARGB32),
          left);
  }
}

// The most common colour of the picture: paper under the automatic rule.
QRgb most_common_colour(const QImage& picture) {
  std::unordered_map<QRgb, std::size_t> counts;
  for_each_piece(picture, [&counts](const QImage& piece, int) {
    for (int y = 0; y < piece.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(piece.constScanLine(y));
      for (int x = 0; x < piece.width(); ++x) ++counts[row[x]];
    }
  });
  const auto most =
      std::max_element(counts.begin(), counts.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  return most == counts.end() ? qRgb(255, 255, 255) : most->first;
}

}  // namespace

PreviewView::PreviewView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
}

QColor PreviewView::box_colour(std::size_t index) {
  // Neighbours alternate, so that two boxes that touch stay apart.
  return index % 2 == 0 ? QColor(0, 102, 204) : QColor(204, 51, 0);
}

QColor PreviewView::baseline_colour() { return QColor(0, 153, 51); }

void PreviewView::set_picture(const QImage& picture, std::uint32_t ink_rule) {
  // Kept as read (one bit per pixel stays so); drawing converts only what shows.
  picture_ = picture;
  glyphs_.clear();
  drawn_.clear();
  ink_rule_ = ink_rule;
  find_blank_columns();
  // The zoom is chosen once the view has its size on screen.
  zoom_fitted_ = false;
  fit_zoom();
  update_scroll_ranges();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void PreviewView::fit_zoom() {
  if (zoom_fitted_ || picture_.isNull() || !isVisible()) return;
  zoom_fitted_ = true;
  const int room = viewport()->height() - 2 * kMarginPx - 2 * label_band_px();
  // Fits the height, but not so large that only a few glyphs show.
  zoom_ = std::clamp(room / std::max(1, picture_.height()), kMinimumZoom, kMaximumZoom / 4);
  update_scroll_ranges();
  Q_EMIT zoom_changed(zoom_);
}

void PreviewView::set_ink_rule(std::uint32_t ink_rule) {
  if (ink_rule == ink_rule_) return;
  ink_rule_ = ink_rule;
  find_blank_columns();
  viewport()->update();
}

void PreviewView::find_blank_columns() {
  column_has_ink_.assign(static_cast<std::size_t>(std::max(0, picture_.width())), 0);
  if (picture_.isNull()) return;
  const QRgb paper = ink_rule_ == VELLICOR_INK_AUTO ? most_common_colour(picture_) : 0;
  const std::uint32_t rule = ink_rule_;
  if (picture_.format() == QImage::Format_Mono || picture_.format() == QImage::Format_MonoLSB ||
      picture_.format() == QImage::Format_Indexed8) {
    // A palette picture, as BMP strips mostly are: each palette entry is
    // judged once, the pixels are looked up a byte at a time.
    const QList<QRgb> palette = picture_.colorTable();
    std::array<std::uint8_t, 256> ink_entry{};
    for (qsizetype index = 0; index < palette.size() && index < 256; ++index) {
      ink_entry[static_cast<std::size_t>(index)] = is_ink(palette[index], rule, paper) ? 1 : 0;
    }
    for (int left = 0; left < picture_.width(); left += kColumnsPerPiece) {
      const int width = std::min(kColumnsPerPiece, picture_.width() - left);
      const QImage piece =
          picture_.copy(left, 0, width, picture_.height()).convertToFormat(QImage::Format_Indexed8);
      for (int y = kFirstCutRow; y < piece.height(); ++y) {
        const uchar* row = piece.constScanLine(y);
        std::uint8_t* columns = column_has_ink_.data() + left;
        for (int x = 0; x < width; ++x) columns[x] |= ink_entry[row[x]];
      }
    }
    return;
  }
  for_each_piece(picture_, [this, paper, rule](const QImage& piece, int left) {
    for (int y = kFirstCutRow; y < piece.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(piece.constScanLine(y));
      std::uint8_t* columns = column_has_ink_.data() + left;
      for (int x = 0; x < piece.width(); ++x) {
        if (is_ink(row[x], rule, paper)) columns[x] = 1;
      }
    }
  });
}

void PreviewView::set_glyphs(std::vector<GlyphBox> glyphs, std::uint32_t tallest,
                             std::uint32_t descent) {
  glyphs_ = std::move(glyphs);
  tallest_ = tallest;
  descent_ = descent;
  drawn_.clear();
  for (std::size_t index = 0; index < glyphs_.size(); ++index) {
    if (glyphs_[index].width > 0) drawn_.push_back(index);
  }
  // The cut reports glyphs left to right; kept so, a paint finds its first
  // visible glyph by bisection.
  std::stable_sort(drawn_.begin(), drawn_.end(), [this](std::size_t a, std::size_t b) {
    return glyphs_[a].first_column < glyphs_[b].first_column;
  });
  update_scroll_ranges();
  viewport()->update();
}

void PreviewView::set_zoom(int zoom) { zoom_around(zoom, QPoint(0, viewport()->height() / 2)); }

int PreviewView::label_band_px() const { return fontMetrics().height() + 2; }

QPoint PreviewView::content_origin() const {
  return QPoint(kMarginPx, kMarginPx + label_band_px());
}

QSize PreviewView::content_size() const {
  if (picture_.isNull()) return QSize(0, 0);
  return QSize(picture_.width() * zoom_ + 2 * kMarginPx,
               picture_.height() * zoom_ + 2 * kMarginPx + 2 * label_band_px());
}

void PreviewView::update_scroll_ranges() {
  const QSize content = content_size();
  const QSize room = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, content.width() - room.width()));
  horizontalScrollBar()->setPageStep(room.width());
  horizontalScrollBar()->setSingleStep(kArrowStepColumns * zoom_);
  verticalScrollBar()->setRange(0, std::max(0, content.height() - room.height()));
  verticalScrollBar()->setPageStep(room.height());
  verticalScrollBar()->setSingleStep(zoom_);
}

void PreviewView::zoom_around(int zoom, QPoint viewport_anchor) {
  zoom_fitted_ = true;  // the user's zoom stays
  zoom = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
  if (zoom == zoom_) return;
  // The picture column under the anchor stays under it.
  const double column =
      double(horizontalScrollBar()->value() + viewport_anchor.x() - kMarginPx) / zoom_;
  const double row =
      double(verticalScrollBar()->value() + viewport_anchor.y() - content_origin().y()) / zoom_;
  zoom_ = zoom;
  update_scroll_ranges();
  horizontalScrollBar()->setValue(int(column * zoom_) + kMarginPx - viewport_anchor.x());
  verticalScrollBar()->setValue(int(row * zoom_) + content_origin().y() - viewport_anchor.y());
  viewport()->update();
  Q_EMIT zoom_changed(zoom_);
}

QRect PreviewView::box_on_viewport(std::size_t index) const {
  if (index >= glyphs_.size() || glyphs_[index].width == 0) return {};
  const GlyphBox& glyph = glyphs_[index];
  const QPoint origin =
      content_origin() - QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
  return QRect(origin.x() + int(glyph.first_column) * zoom_, origin.y() + int(glyph.top) * zoom_,
               int(glyph.width) * zoom_, int(glyph.bottom - glyph.top + 1) * zoom_);
}

int PreviewView::baseline_row() const {
  if (drawn_.empty() || tallest_ == 0) return -1;
  std::uint32_t top = glyphs_[drawn_.front()].top;
  for (std::size_t index : drawn_) top = std::min(top, glyphs_[index].top);
  // The box of every glyph is as tall as the tallest column; its lowest
  // descent rows hang below the baseline.
  return int(top) + int(tallest_) - int(descent_);
}

void PreviewView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  update_scroll_ranges();
  fit_zoom();
}

void PreviewView::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  fit_zoom();
}

void PreviewView::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  if (delta.y() == 0 || event->modifiers() & Qt::ShiftModifier) {
    // Sideways wheels and Shift+wheel move along the strip.
    const int steps = (delta.x() != 0 ? delta.x() : delta.y()) / kWheelStep;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() -
                                    steps * horizontalScrollBar()->singleStep() * 2);
    event->accept();
    return;
  }
  const int steps = delta.y() / kWheelStep;
  const int direction = steps != 0 ? steps : (delta.y() > 0 ? 1 : -1);
  zoom_around(zoom_ + direction, event->position().toPoint());
  event->accept();
}

void PreviewView::keyPressEvent(QKeyEvent* event) {
  const QPoint centre(viewport()->width() / 2, viewport()->height() / 2);
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoom_around(zoom_ + 1, centre);
      return;
    case Qt::Key_Minus:
      zoom_around(zoom_ - 1, centre);
      return;
    case Qt::Key_Home:
      horizontalScrollBar()->setValue(0);
      return;
    case Qt::Key_End:
      horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
      return;
    default:
      // Arrows and page keys scroll.
      QAbstractScrollArea::keyPressEvent(event);
  }
}

void PreviewView::paintEvent(QPaintEvent* event) {
  if (picture_.isNull()) return;
  QPainter painter(viewport());
  const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  const QPoint origin = content_origin() - scroll;  // picture's top-left on the viewport
  const QRect exposed = event->rect();

  // The columns and rows of the picture that meet the exposed rectangle.
  const int first_column = std::max(0, (exposed.left() - origin.x()) / zoom_);
  const int end_column = std::min(picture_.width(), (exposed.right() - origin.x()) / zoom_ + 2);
  if (first_column >= end_column) return;
  const QRect source(first_column, 0, end_column - first_column, picture_.height());
  const QRect target(origin.x() + first_column * zoom_, origin.y(), source.width() * zoom_,
                     source.height() * zoom_);
  painter.fillRect(target, Qt::white);  // under transparent pixels
  // No smoothing: pixels stay square.
  painter.drawImage(target, picture_.copy(source).convertToFormat(QImage::Format_ARGB32));

  // The glyphs that reach into the visible columns.
  const auto first_visible =
      std::partition_point(drawn_.begin(), drawn_.end(), [&](std::size_t index) {
        return int(glyphs_[index].first_column + glyphs_[index].width) <= first_column;
      });
  const QFontMetrics metrics = fontMetrics();
  const QColor shade(255, 204, 0, 110);
  for (auto it = first_visible; it != drawn_.end(); ++it) {
    const GlyphBox& glyph = glyphs_[*it];
    if (int(glyph.first_column) >= end_column) break;
    const QRect box = box_on_viewport(*it);
    // The columns without ink inside the glyph: the allowed blank columns.
    for (std::uint32_t column = glyph.first_column; column < glyph.first_column + glyph.width;
         ++column) {
      if (column < column_has_ink_.size() && !column_has_ink_[column]) {
        painter.fillRect(
            QRect(origin.x() + int(column) * zoom_, origin.y(), zoom_, picture_.height() * zoom_),
            shade);
      }
    }
    const QColor colour = box_colour(*it);
    painter.setPen(QPen(colour, 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));

    // Code above the picture, character below, centred on the box; a text
    // wider than the box and a blank column on each side is left out rather
    // than run into its neighbours'.
    const int room = box.width() + 2 * zoom_;
    const auto label = [&](const QString& text, int top, Qt::Alignment alignment) {
      const int width = metrics.horizontalAdvance(text);
      if (width > room) return;
      painter.drawText(QRect(box.center().x() - room / 2, top, room, label_band_px()),
                       static_cast<int>(alignment.toInt()), text);
    };
    label(QString::number(glyph.code), origin.y() - label_band_px(),
          Qt::AlignHCenter | Qt::AlignBottom);
    if (!glyph.character.isEmpty()) {
      label(glyph.character, origin.y() + picture_.height() * zoom_,
            Qt::AlignHCenter | Qt::AlignTop);
    }
  }

  const int baseline = baseline_row();
  if (baseline >= 0) {
    painter.setPen(QPen(baseline_colour(), 1, Qt::DashLine));
    const int y = origin.y() + baseline * zoom_;
    painter.drawLine(std::max(exposed.left(), origin.x()), y,
                     std::min(exposed.right(), origin.x() + picture_.width() * zoom_), y);
  }
}

}  // namespace vellicor::dialog
