// The Preview window's picture: the strip's ink as the engine sees it (ink
// black, paper white) enlarged by an integer zoom, and over it every glyph the
// cut found (its box, code and character), the baseline and the blank columns
// that stand inside a glyph. A sheet shows its grid's cells and gaps, or its
// bands' edges, with the baselines of its layout; its glyphs go unlabelled,
// since codes above the picture fit only one row: hovering a box tells them.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <cstdint>
#include <vector>

#include "dialog/glyph_source.hpp"
#include "dialog/sheet_overlay.hpp"
#include "vellicor/internal/picture_ink.hpp"

class QPainter;

namespace vellicor::dialog {

class PreviewView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kMinimumZoom = 1;
  static constexpr int kMaximumZoom = 32;
  static constexpr int kMarginPx = 8;  // around the picture, inside the scrolled area

  explicit PreviewView(QWidget* parent = nullptr);

  // A new picture's ink (no pixels: none); the glyphs shown so far are
  // dropped. Picks a zoom that fits its height.
  void set_picture(const InkBits& ink);
  // The same picture's ink under another rule: zoom, scroll and glyphs stay.
  void set_ink(const InkBits& ink);
  // The glyphs of a cut, in font order, and the layout they were cut with. In
  // a strip of one band tallest rows from the highest ink row down make the
  // font's box, descent of them below the baseline.
  void set_glyphs(std::vector<GlyphBox> glyphs, std::uint32_t tallest, std::uint32_t descent,
                  const SheetSettings& sheet = {});

  // The ink as drawn, one pixel per picture pixel: black ink on white.
  const QImage& picture() const { return picture_; }
  const std::vector<GlyphBox>& glyphs() const { return glyphs_; }
  const SheetOverlay& overlay() const { return overlay_; }
  int zoom() const { return zoom_; }
  void set_zoom(int zoom);

  // Where a glyph's box is drawn, in viewport pixels at the current scroll
  // position; empty for a blank glyph or an index out of range.
  QRect box_on_viewport(std::size_t index) const;
  // Where a rectangle of picture pixels is drawn, as box_on_viewport.
  QRect on_viewport(const QRect& pixels) const;
  // The glyph whose box holds a viewport point, or -1. Hovering it shows its
  // code and character, which a sheet has no room to print beside it.
  int glyph_at(QPoint point) const;
  // The picture row above which the baseline runs, or -1 when there is none.
  int baseline_row() const;

  // Colours of the marks, for anyone who looks for them in a grab.
  static QColor box_colour(std::size_t index);
  static QColor baseline_colour();
  static QColor cell_colour();  // cell outlines and band edges

 Q_SIGNALS:
  void zoom_changed(int zoom);

 protected:
  bool viewportEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QSize content_size() const;
  int label_band_px() const;
  QPoint content_origin() const;  // the picture's top-left in content pixels
  void update_scroll_ranges();
  void zoom_around(int zoom, QPoint viewport_anchor);
  void take_ink(const InkBits& ink);  // picture_ and column_has_ink_
  void fit_zoom();                    // once per picture: the zoom that fits its height
  void paint_overlay(QPainter& painter, const QRect& exposed) const;

  QImage picture_;
  std::vector<std::uint8_t> column_has_ink_;  // 1 where a column holds ink below row 0
  std::vector<GlyphBox> glyphs_;
  std::vector<std::size_t> drawn_;  // glyphs_ indices of glyphs with columns, left to right
  std::uint32_t widest_ = 0;        // of the glyphs in drawn_
  SheetOverlay overlay_;
  bool single_band_ = true;  // a strip of one band: one baseline, labels, blank columns
  std::uint32_t tallest_ = 0;
  std::uint32_t descent_ = 0;
  int zoom_ = 4;
  bool zoom_fitted_ = false;
};

}  // namespace vellicor::dialog
