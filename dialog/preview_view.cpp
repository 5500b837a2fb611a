// Painting the enlarged strip: only the columns inside the exposed rectangle
// are drawn, so a strip of many thousand glyphs costs no more than a short one.
#include "dialog/preview_view.hpp"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>

namespace vellicor::dialog {
namespace {

constexpr int kWheelStep = 120;  // one notch of an ordinary mouse wheel
constexpr int kArrowStepColumns = 4;

constexpr int kBitsPerByte = 8;
constexpr QRgb kPaperColour = qRgb(255, 255, 255);
constexpr QRgb kInkColour = qRgb(0, 0, 0);

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

QColor PreviewView::cell_colour() { return QColor(153, 51, 204); }

void PreviewView::take_ink(const InkBits& ink) {
  picture_ = QImage();
  column_has_ink_.clear();
  const auto width = static_cast<int>(ink.width_px);
  const auto height = static_cast<int>(ink.height_px);
  if (width <= 0 || height <= 0 || ink.bits.size() < std::size_t{ink.stride_bytes} * ink.height_px)
    return;
  // The bits keep their layout: index 1 (a set bit) is ink, leftmost pixel in
  // the most significant bit, as in the engine's rows.
  QImage image(width, height, QImage::Format_Mono);
  if (image.isNull()) return;
  image.setColorTable({kPaperColour, kInkColour});
  // Which bytes of a row hold ink in some row; the Preview's cut reads every
  // row.
  std::vector<std::uint8_t> inked_bytes(ink.stride_bytes, 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = ink.bits.data() + std::size_t(y) * ink.stride_bytes;
    std::memcpy(image.scanLine(y), row, ink.stride_bytes);
    for (std::uint32_t index = 0; index < ink.stride_bytes; ++index)
      inked_bytes[index] |= row[index];
  }
  column_has_ink_.resize(std::size_t(width));
  for (int x = 0; x < width; ++x) {
    const std::uint8_t byte = inked_bytes[std::size_t(x / kBitsPerByte)];
    column_has_ink_[std::size_t(x)] = (byte >> (kBitsPerByte - 1 - x % kBitsPerByte)) & 1u;
  }
  picture_ = std::move(image);
}

void PreviewView::set_picture(const InkBits& ink) {
  take_ink(ink);
  glyphs_.clear();
  drawn_.clear();
  overlay_ = {};
  // The zoom is chosen once the view has its size on screen.
  zoom_fitted_ = false;
  fit_zoom();
  update_scroll_ranges();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void PreviewView::set_ink(const InkBits& ink) {
  take_ink(ink);
  update_scroll_ranges();
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

void PreviewView::set_glyphs(std::vector<GlyphBox> glyphs, std::uint32_t tallest,
                             std::uint32_t descent, const SheetSettings& sheet) {
  glyphs_ = std::move(glyphs);
  tallest_ = tallest;
  descent_ = descent;
  overlay_ = sheet_overlay(sheet, picture_.size(), descent);
  single_band_ = sheet.layout == VELLICOR_LAYOUT_STRIP && sheet.rows <= 1;
  drawn_.clear();
  widest_ = 0;
  for (std::size_t index = 0; index < glyphs_.size(); ++index) {
    if (glyphs_[index].width == 0) continue;
    drawn_.push_back(index);
    widest_ = std::max(widest_, glyphs_[index].width);
  }
  // Sorted by their first column, a paint finds the first glyph that may
  // reach into the visible columns by bisection; the glyphs of a sheet's
  // bands overlap in columns, so it looks a widest glyph back.
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

QRect PreviewView::on_viewport(const QRect& pixels) const {
  const QPoint origin =
      content_origin() - QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
  return QRect(origin + pixels.topLeft() * zoom_, pixels.size() * zoom_);
}

QRect PreviewView::box_on_viewport(std::size_t index) const {
  if (index >= glyphs_.size() || glyphs_[index].width == 0) return {};
  const GlyphBox& glyph = glyphs_[index];
  return on_viewport(QRect(int(glyph.first_column), int(glyph.top), int(glyph.width),
                           int(glyph.bottom - glyph.top + 1)));
}

int PreviewView::glyph_at(QPoint point) const {
  for (const std::size_t index : drawn_) {
    if (box_on_viewport(index).contains(point)) return int(index);
  }
  return -1;
}

bool PreviewView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const int index = glyph_at(help->pos());
  if (index < 0 || glyphs_[std::size_t(index)].unpaired) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  const GlyphBox& glyph = glyphs_[std::size_t(index)];
  QString text = tr("Code %1").arg(glyph.code);
  if (!glyph.character.isEmpty()) text += QStringLiteral(": ") + glyph.character;
  QToolTip::showText(help->globalPos(), text, viewport(), box_on_viewport(std::size_t(index)));
  return true;
}

int PreviewView::baseline_row() const {
  if (!single_band_ || drawn_.empty() || tallest_ == 0) return -1;
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
  // No smoothing: pixels stay square.
  painter.drawImage(target, picture_.copy(source).convertToFormat(QImage::Format_ARGB32));

  paint_overlay(painter, exposed);

  // The glyphs that reach into the visible columns.
  const auto first_visible =
      std::partition_point(drawn_.begin(), drawn_.end(), [&](std::size_t index) {
        return std::int64_t{glyphs_[index].first_column} + widest_ <= first_column;
      });
  const QFontMetrics metrics = fontMetrics();
  const QColor shade(255, 204, 0, 110);
  for (auto it = first_visible; it != drawn_.end(); ++it) {
    const GlyphBox& glyph = glyphs_[*it];
    if (int(glyph.first_column) >= end_column) break;
    const QRect box = box_on_viewport(*it);
    if (!single_band_ && !box.intersects(exposed)) continue;
    // The columns without ink inside the glyph: the allowed blank columns.
    for (std::uint32_t column = glyph.first_column;
         single_band_ && column < glyph.first_column + glyph.width; ++column) {
      if (column < column_has_ink_.size() && !column_has_ink_[column]) {
        painter.fillRect(
            QRect(origin.x() + int(column) * zoom_, origin.y(), zoom_, picture_.height() * zoom_),
            shade);
      }
    }
    const QColor colour = box_colour(*it);
    painter.setPen(QPen(colour, 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    // A glyph that stands for no character of the font gets no labels.
    if (glyph.unpaired || !single_band_) continue;

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

void PreviewView::paint_overlay(QPainter& painter, const QRect& exposed) const {
  const QRect picture = on_viewport(picture_.rect());
  const QColor colour = cell_colour();
  QColor shade = colour;
  shade.setAlpha(70);
  for (const QRect& gap : overlay_.gaps) {
    const QRect drawn = on_viewport(gap);
    if (drawn.intersects(exposed)) painter.fillRect(drawn, shade);
  }
  painter.setPen(QPen(colour, 1));
  for (const QRect& cell : overlay_.cells) {
    const QRect drawn = on_viewport(cell);
    if (drawn.intersects(exposed)) painter.drawRect(drawn.adjusted(0, 0, -1, -1));
  }
  const int left = std::max(exposed.left(), picture.left());
  const int right = std::min(exposed.right(), picture.right());
  for (const int row : overlay_.band_edges) {
    const int y = picture.top() + row * zoom_;
    painter.drawLine(left, y, right, y);
  }
  painter.setPen(QPen(baseline_colour(), 1, Qt::DashLine));
  for (const int row : overlay_.baselines) {
    const int y = picture.top() + row * zoom_;
    painter.drawLine(left, y, right, y);
  }
}

}  // namespace vellicor::dialog
