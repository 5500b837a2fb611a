// The Preview window with a stand-in for the engine's cut: what it draws for
// a list of glyphs, how it zooms and scrolls, how its fields and keys behave,
// and that only the newest of several quick cuts reaches the screen.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <mutex>
#include <thread>

#include "dialog/dialog_template.hpp"
#include "dialog/host_provider.hpp"
#include "dialog/main_dialog.hpp"
#include "dialog/preview_window.hpp"
#include "driver/host_callbacks.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"

using namespace vellicor::dialog;
using vellicor::FieldAllowedBlankColumns;
using vellicor::FieldDescent;
using vellicor::FieldFirstGlyph;
using vellicor::FieldFixedWidth;
using vellicor::FieldFontName;
using vellicor::FieldInputPath;
using vellicor::FieldLeadingBlank;
using vellicor::FieldLowerBlank;
using vellicor::FieldOutputPath;
using vellicor::FieldTrailingBlank;
using vellicor::FieldUpperBlank;
using vellicor::test::TempDir;

namespace {

// Three glyphs of the strip below: columns 1-2, 5 and 8-10 (with a blank
// column, 9, inside the last one).
const std::vector<std::string> kStrip{
    "........................................",
    ".##..#..#.#.............................",
    ".#...#..#.#.............................",
    ".##..#..#.#.............................",
};

std::vector<GlyphBox> strip_glyphs() {
  std::vector<GlyphBox> glyphs(3);
  const std::uint32_t columns[][2] = {{1, 2}, {5, 1}, {8, 3}};
  for (std::uint32_t index = 0; index < 3; ++index) {
    glyphs[index].index = index;
    glyphs[index].code = 65 + index;
    glyphs[index].first_column = columns[index][0];
    glyphs[index].width = columns[index][1];
    glyphs[index].top = 1;
    glyphs[index].bottom = 3;
  }
  glyphs[2].character = QStringLiteral("\u00e9");
  return glyphs;
}

// Answers every cut with the strip's glyphs, after an optional pause; counts
// the cuts and keeps the requests they were made for.
class FakeSource final : public GlyphSource {
 public:
  CutOutcome cut(const CutRequest& request) const override {
    if (pause_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    CutOutcome outcome;
    outcome.glyphs = strip_glyphs();
    // The descent field's value shows which request an outcome belongs to.
    outcome.glyphs.front().code = 65 + request.options.descent;
    outcome.report.tallest = 3;
    return outcome;
  }
  std::vector<CutRequest> requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
  }
  int pause_ms = 0;

 private:
  mutable std::mutex mutex_;
  mutable std::vector<CutRequest> requests_;
};

struct Fixture {
  TempDir folder;
  std::shared_ptr<FakeSource> source = std::make_shared<FakeSource>();
  PreviewWindow window{source};

  Fixture() {
    const std::string picture = folder.file("strip.bmp");
    vellicor::test::write_file(picture, vellicor::test::make_one_bit_bmp(kStrip));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.open_picture(QString::fromStdString(picture));
    QTRY_VERIFY(!window.cutting());
    window.view().set_zoom(6);
  }
};

// A grey PNG of 30 x 4 pixels, opaque: paper white, one glyph of grey 100
// (ink under the dark rule, not under the black one) at columns 2-3, rows 1-3.
std::string write_grey_png(const TempDir& folder) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 30; ++x) {
      const std::uint8_t level = (y >= 1 && (x == 2 || x == 3)) ? 100 : 255;
      pixels.insert(pixels.end(), {level, level, level, 255});
    }
  }
  const std::string path = folder.file("grey.png");
  vellicor::test::write_file(path, vellicor::test::rgba_png(30, 4, pixels));
  return path;
}

// Sends a drag's enter, move and drop of urls to widget; returns whether the
// drag was accepted as it entered.
bool drag_and_drop(QWidget& widget, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint inside(widget.width() / 2, widget.height() / 2);
  QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &enter);
  QDragMoveEvent move(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &move);
  QDropEvent drop(QPointF(inside), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &drop);
  return enter.isAccepted();
}

void send_wheel(PreviewView& view, QPoint delta, Qt::KeyboardModifiers modifiers) {
  const QPointF centre = QRectF(view.viewport()->rect()).center();
  QWheelEvent wheel(centre, view.viewport()->mapToGlobal(centre), QPoint(), delta, Qt::NoButton,
                    modifiers, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view.viewport(), &wheel);
}

// Whether any pixel of the grab within area differs from the background,
// the colour of the view's top-left corner (its margin).
bool area_has_marks(const QImage& grab, const QRect& area) {
  const QColor background = grab.pixelColor(0, 0);
  for (int y = std::max(0, area.top()); y <= std::min(grab.height() - 1, area.bottom()); ++y) {
    for (int x = std::max(0, area.left()); x <= std::min(grab.width() - 1, area.right()); ++x) {
      if (grab.pixelColor(x, y) != background) return true;
    }
  }
  return false;
}

// Whether any pixel of column x of the grab, within the rows of box, has colour.
bool column_has_colour(const QImage& grab, int x, const QRect& box, const QColor& colour) {
  for (int y = box.top(); y <= box.bottom(); ++y) {
    if (grab.pixelColor(x, y) == colour) return true;
  }
  return false;
}

}  // namespace

class PreviewViewTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void boxesAreDrawnAtTheirColumnsAndZoom();
  void blankColumnsInsideAGlyphAreShaded();
  void wheelAndKeysZoomAndArrowsScroll();
  void homeEndAndShiftWheelMoveAlongTheStrip();
  void inkRuleSelectorRedrawsAndRecutsUnderTheChosenRule();
  void openAndDropTakeAPngPicture();
  void statusCountsTheGlyphsAndTheirCodes();
  void refusedFieldShowsTheDriverMessageAndNoBoxes();
  void onlyTheNewestOfQuickCutsIsShown();
  void fieldsReachableByTabAndMnemonicsAndEscapeCloses();
  void unpairedGlyphsAreDrawnWithoutLabels();
  void previewButtonOpensTheWindowWithTheMainFields();
  void closingHidesAndReopeningKeepsTheSettings_data();
  void closingHidesAndReopeningKeepsTheSettings();
  void mainWindowLeavesTheExtendedFieldsUnanswered();
};

void PreviewViewTest::boxesAreDrawnAtTheirColumnsAndZoom() {
  Fixture fixture;
  PreviewView& view = fixture.window.view();
  QCOMPARE(view.glyphs().size(), std::size_t{3});
  const int zoom = view.zoom();
  const QImage grab = view.viewport()->grab().toImage();
  const int left = PreviewView::kMarginPx;
  for (std::size_t index = 0; index < 3; ++index) {
    const QRect box = view.box_on_viewport(index);
    const GlyphBox& glyph = view.glyphs()[index];
    QCOMPARE(box.left(), left + int(glyph.first_column) * zoom);
    QCOMPARE(box.width(), int(glyph.width) * zoom);
    QCOMPARE(box.height(), 3 * zoom);
    // The box's outline is in the grab: left and right edge in its colour,
    // and not one column further out.
    const QColor colour = PreviewView::box_colour(index);
    QVERIFY(column_has_colour(grab, box.left(), box, colour));
    QVERIFY(column_has_colour(grab, box.right(), box, colour));
    QVERIFY(!column_has_colour(grab, box.left() - 1, box, colour));
  }
  // The baseline runs 'tallest' rows below the highest top, less the descent (0).
  QCOMPARE(view.baseline_row(), 1 + 3);
}

void PreviewViewTest::blankColumnsInsideAGlyphAreShaded() {
  Fixture fixture;
  PreviewView& view = fixture.window.view();
  const int zoom = view.zoom();
  const QImage grab = view.viewport()->grab().toImage();
  const QRect box = view.box_on_viewport(2);
  // Column 9 is blank paper inside the glyph: shaded, neither white nor ink.
  const int row_y = box.top() + zoom / 2 + zoom;  // row 2
  const QColor paper_in_gap = grab.pixelColor(box.left() + zoom + zoom / 2, row_y);
  QVERIFY(paper_in_gap != QColor(Qt::white));
  QVERIFY(paper_in_gap != QColor(Qt::black));
  // Paper outside every glyph stays white.
  QCOMPARE(grab.pixelColor(box.left() - zoom - zoom / 2, row_y), QColor(Qt::white));
}

void PreviewViewTest::wheelAndKeysZoomAndArrowsScroll() {
  Fixture fixture;
  PreviewView& view = fixture.window.view();
  QSignalSpy zooms(&view, &PreviewView::zoom_changed);
  const int zoom = view.zoom();
  QTest::keyClick(&view, Qt::Key_Plus);
  QCOMPARE(view.zoom(), zoom + 1);
  QTest::keyClick(&view, Qt::Key_Minus);
  QCOMPARE(view.zoom(), zoom);
  const QPointF centre = QRectF(view.viewport()->rect()).center();
  QWheelEvent up(centre, view.viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(view.viewport(), &up);
  QCOMPARE(view.zoom(), zoom + 1);
  QCOMPARE(zooms.count(), 3);

  // Large enough to scroll: the right arrow moves along the strip.
  view.set_zoom(PreviewView::kMaximumZoom);
  QVERIFY(view.horizontalScrollBar()->maximum() > 0);
  view.horizontalScrollBar()->setValue(0);
  QTest::keyClick(&view, Qt::Key_Right);
  QVERIFY(view.horizontalScrollBar()->value() > 0);
  const QRect moved = view.box_on_viewport(0);
  QCOMPARE(moved.left(),
           PreviewView::kMarginPx + view.zoom() - view.horizontalScrollBar()->value());
}

void PreviewViewTest::homeEndAndShiftWheelMoveAlongTheStrip() {
  Fixture fixture;
  PreviewView& view = fixture.window.view();
  // 40 columns at zoom 32 with margins of 8 is 1296 pixels: wider than the view.
  view.set_zoom(32);
  QScrollBar& bar = *view.horizontalScrollBar();
  QVERIFY(bar.maximum() > 0);
  QCOMPARE(bar.maximum(), 1296 - view.viewport()->width());
  QTest::keyClick(&view, Qt::Key_End);
  QCOMPARE(bar.value(), bar.maximum());
  QTest::keyClick(&view, Qt::Key_Home);
  QCOMPARE(bar.value(), 0);

  // One notch of Shift+wheel moves eight columns (two arrow steps of four),
  // towards the end for a notch down; the zoom stays.
  send_wheel(view, QPoint(0, -120), Qt::ShiftModifier);
  QCOMPARE(bar.value(), std::min(8 * 32, bar.maximum()));
  QCOMPARE(view.zoom(), 32);
  send_wheel(view, QPoint(0, 120), Qt::ShiftModifier);
  QCOMPARE(bar.value(), 0);
  // A sideways wheel moves the same way without Shift.
  send_wheel(view, QPoint(-120, 0), Qt::NoModifier);
  QCOMPARE(bar.value(), std::min(8 * 32, bar.maximum()));
  QCOMPARE(view.zoom(), 32);
}

void PreviewViewTest::inkRuleSelectorRedrawsAndRecutsUnderTheChosenRule() {
  Fixture fixture;
  PreviewWindow& window = fixture.window;
  TempDir folder;
  window.open_picture(QString::fromStdString(write_grey_png(folder)));
  QTRY_VERIFY(!window.cutting());
  window.view().set_zoom(5);

  QComboBox* box = window.ink_rule_box();
  QStringList labels;
  for (int index = 0; index < box->count(); ++index) labels << box->itemText(index);
  QCOMPARE(labels, (QStringList{QStringLiteral("Black (pure black is ink)"),
                                QStringLiteral("Dark (darker than mid grey)"),
                                QStringLiteral("Opaque (any colour)"),
                                QStringLiteral("Auto (all but the paper colour)")}));
  QCOMPARE(box->currentIndex(), 0);
  // Grey is no ink under the black rule.
  QCOMPARE(window.view().picture().pixelColor(2, 2), QColor(Qt::white));

  const auto cuts = fixture.source->requests().size();
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);
  QCOMPARE(box->currentData().toString(), QStringLiteral("dark"));
  QTRY_VERIFY(!window.cutting());
  QCOMPARE(fixture.source->requests().size(), cuts + 1);
  QCOMPARE(fixture.source->requests().back().ink_rule, 1u);
  // Drawn anew under the dark rule, at the zoom the user chose.
  QCOMPARE(window.view().picture().pixelColor(2, 2), QColor(Qt::black));
  QCOMPARE(window.view().picture().pixelColor(3, 3), QColor(Qt::black));
  QCOMPARE(window.view().picture().pixelColor(4, 2), QColor(Qt::white));
  QCOMPARE(window.view().picture().pixelColor(2, 0), QColor(Qt::white));
  QCOMPARE(window.view().zoom(), 5);
}

void PreviewViewTest::openAndDropTakeAPngPicture() {
  Fixture fixture;
  PreviewWindow& window = fixture.window;
  TempDir folder;
  const QString png = QString::fromStdString(write_grey_png(folder));
  QStringList asked;
  window.set_file_chooser([&](QWidget*, const QString& title, const QString&) {
    asked << title;
    return png;
  });
  auto* open = window.findChild<QPushButton*>(QStringLiteral("openButton"));
  QVERIFY(open != nullptr);
  QTest::mouseClick(open, Qt::LeftButton);
  QCOMPARE(asked, QStringList{QStringLiteral("Open picture or font")});
  QCOMPARE(window.edit(FieldInputPath)->text(), png);
  QCOMPARE(window.view().picture().size(), QSize(30, 4));
  QTRY_VERIFY(!window.cutting());
  QCOMPARE(fixture.source->requests().back().input_path, png.toStdString());

  // A drop of one PNG opens it too; a text file is refused as it enters.
  window.open_picture(QString());
  QVERIFY(window.view().picture().isNull());
  const std::string notes = folder.file("notes.txt");
  vellicor::test::write_text(notes, "abc");
  QVERIFY(!drag_and_drop(window, {QUrl::fromLocalFile(QString::fromStdString(notes))}));
  QVERIFY(window.view().picture().isNull());
  QVERIFY(!drag_and_drop(window, {QUrl::fromLocalFile(png), QUrl::fromLocalFile(png)}));
  QVERIFY(window.edit(FieldInputPath)->text().isEmpty());
  QVERIFY(drag_and_drop(window, {QUrl::fromLocalFile(png)}));
  QCOMPARE(window.edit(FieldInputPath)->text(), png);
  QCOMPARE(window.view().picture().size(), QSize(30, 4));
  QTRY_VERIFY(!window.cutting());
  QCOMPARE(fixture.source->requests().back().input_path, png.toStdString());
}

void PreviewViewTest::statusCountsTheGlyphsAndTheirCodes() {
  Fixture fixture;
  QCOMPARE(fixture.window.status_text(), QStringLiteral("3 glyphs, codes 65 to 67"));
  fixture.window.edit(FieldDescent)->setText(QStringLiteral("5"));
  QTRY_VERIFY(!fixture.window.cutting());
  QCOMPARE(fixture.window.status_text(), QStringLiteral("3 glyphs, codes 66 to 70"));
  QCOMPARE(fixture.source->requests().back().options.descent, 5);
}

void PreviewViewTest::refusedFieldShowsTheDriverMessageAndNoBoxes() {
  Fixture fixture;
  const auto cuts = fixture.source->requests().size();
  fixture.window.edit(FieldUpperBlank)->setText(QStringLiteral("256"));
  QCOMPARE(fixture.window.status_text(), QStringLiteral("Invalid Upper Blank Value"));
  QVERIFY(fixture.window.view().glyphs().empty());
  QCOMPARE(fixture.source->requests().size(), cuts);
  fixture.window.edit(FieldUpperBlank)->setText(QStringLiteral("0x10"));
  QTRY_VERIFY(!fixture.window.cutting());
  QCOMPARE(fixture.source->requests().back().options.upper_blank, 16);
  QCOMPARE(fixture.window.view().glyphs().size(), std::size_t{3});
}

void PreviewViewTest::onlyTheNewestOfQuickCutsIsShown() {
  Fixture fixture;
  fixture.source->pause_ms = 50;
  QSignalSpy shown(&fixture.window, &PreviewWindow::cut_shown);
  const auto before = fixture.source->requests().size();
  for (const char* descent : {"1", "2", "3", "4", "5"}) {
    fixture.window.edit(FieldDescent)->setText(QString::fromLatin1(descent));
  }
  QVERIFY(fixture.window.cutting());
  QTRY_VERIFY(!fixture.window.cutting());
  // The first ran at once, the three in between were overtaken while it ran.
  const auto requests = fixture.source->requests();
  QCOMPARE(requests.size() - before, std::size_t{2});
  QCOMPARE(requests.back().options.descent, 5);
  QCOMPARE(shown.count(), 1);
  QCOMPARE(fixture.window.view().glyphs().front().code, 70u);
}

void PreviewViewTest::fieldsReachableByTabAndMnemonicsAndEscapeCloses() {
  Fixture fixture;
  PreviewWindow& window = fixture.window;
  // Every field has a label whose letter leads to it.
  const struct {
    Qt::Key key;
    QWidget* field;
  } mnemonics[] = {
      {Qt::Key_P, window.edit(FieldInputPath)},
      {Qt::Key_B, window.edit(FieldOutputPath)},
      {Qt::Key_N, window.edit(FieldFontName)},
      {Qt::Key_F, window.edit(FieldFirstGlyph)},
      {Qt::Key_A, window.edit(FieldAllowedBlankColumns)},
      {Qt::Key_D, window.edit(FieldDescent)},
      {Qt::Key_U, window.edit(FieldUpperBlank)},
      {Qt::Key_K, window.edit(FieldLowerBlank)},
      {Qt::Key_L, window.edit(FieldLeadingBlank)},
      {Qt::Key_T, window.edit(FieldTrailingBlank)},
      {Qt::Key_V, window.edit(vellicor::FieldBlankAdvance)},
      {Qt::Key_C, window.edit(vellicor::FieldChars)},
      {Qt::Key_I, window.ink_rule_box()},
      {Qt::Key_G, &window.view()},
  };
  for (const auto& row : mnemonics) {
    QVERIFY(row.field != nullptr);
    QTest::keyClick(&window, row.key, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), row.field);
  }
  QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), window.fixed_width_box());

  // Tab from the picture field visits every field before it comes back.
  window.edit(FieldInputPath)->setFocus();
  QSet<QWidget*> visited;
  for (int step = 0; step < 40 && !visited.contains(QApplication::focusWidget()); ++step) {
    visited.insert(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  for (const auto& row : mnemonics) QVERIFY(visited.contains(row.field));
  QVERIFY(visited.contains(window.fixed_width_box()));

  QTest::keyClick(&window, Qt::Key_Escape);
  QVERIFY(!window.isVisible());
}

void PreviewViewTest::unpairedGlyphsAreDrawnWithoutLabels() {
  Fixture fixture;
  PreviewView& view = fixture.window.view();
  // The first glyph lies past the end of a list: code 0, no character.
  std::vector<GlyphBox> glyphs = strip_glyphs();
  glyphs[0].unpaired = true;
  glyphs[0].code = 0;
  view.set_glyphs(glyphs, 3, 0);
  const QImage grab = view.viewport()->grab().toImage();
  const int zoom = view.zoom();
  // The band above a box and a column either side holds its code.
  const auto above = [&](std::size_t index) {
    const QRect box = view.box_on_viewport(index);
    return QRect(box.left() - zoom, 0, box.width() + 2 * zoom, box.top());
  };
  QVERIFY(!area_has_marks(grab, above(0)));
  QVERIFY(area_has_marks(grab, above(2)));
  // Its box is drawn all the same.
  const QRect box = view.box_on_viewport(0);
  QVERIFY(column_has_colour(grab, box.left(), box, PreviewView::box_colour(0)));
}

void PreviewViewTest::previewButtonOpensTheWindowWithTheMainFields() {
  TempDir folder;
  const std::string picture = folder.file("strip.bmp");
  vellicor::test::write_file(picture, vellicor::test::make_one_bit_bmp(kStrip));
  MainDialog dialog;
  dialog.show();
  dialog.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  const auto set = [&](int id, const char* text) {
    qobject_cast<QLineEdit*>(dialog.control(id))->setText(QString::fromUtf8(text));
  };
  set(FieldInputPath, picture.c_str());
  set(FieldDescent, "2");
  set(FieldFirstGlyph, "0x21");
  qobject_cast<QCheckBox*>(dialog.control(FieldFixedWidth))->setChecked(true);

  const auto* button = qobject_cast<QPushButton*>(dialog.control(kPreviewButtonId));
  QVERIFY(button != nullptr);
  QCOMPARE(button->text(), QStringLiteral("Previe&w..."));
  QTest::keyClick(&dialog, Qt::Key_W, Qt::AltModifier);
  // A mnemonic presses its button the way a click looks, a moment later.
  QTRY_VERIFY(dialog.preview() != nullptr);
  PreviewWindow* preview = dialog.preview();
  QVERIFY(preview->isVisible());
  QVERIFY(!preview->isModal());
  QCOMPARE(preview->edit(FieldInputPath)->text(), QString::fromStdString(picture));
  QCOMPARE(preview->edit(FieldDescent)->text(), QStringLiteral("2"));
  QCOMPARE(preview->edit(FieldFirstGlyph)->text(), QStringLiteral("0x21"));
  QVERIFY(preview->fixed_width_box()->isChecked());
  QVERIFY(!preview->view().picture().isNull());
  QTRY_VERIFY(!preview->cutting());

  // A second press brings the same window back; the main window stays usable.
  // The key reaches the main window only once it is the active one again.
  dialog.activateWindow();
  QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&dialog));
  QSignalSpy pressed(button, &QPushButton::clicked);
  QTest::keyClick(&dialog, Qt::Key_W, Qt::AltModifier);
  QTRY_COMPARE(pressed.count(), 1);
  QCOMPARE(dialog.preview(), preview);
  QVERIFY(preview->isVisible());
  QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(preview));
  QCOMPARE(dialog.findChildren<PreviewWindow*>().size(), 1);
  QVERIFY(dialog.isEnabled());
}

void PreviewViewTest::closingHidesAndReopeningKeepsTheSettings_data() {
  QTest::addColumn<bool>("by_escape");
  QTest::newRow("Escape") << true;
  QTest::newRow("Close button") << false;
}

void PreviewViewTest::closingHidesAndReopeningKeepsTheSettings() {
  QFETCH(bool, by_escape);
  TempDir folder;
  const std::string picture = folder.file("strip.bmp");
  vellicor::test::write_file(picture, vellicor::test::make_one_bit_bmp(kStrip));
  MainDialog dialog;
  qobject_cast<QLineEdit*>(dialog.control(FieldInputPath))
      ->setText(QString::fromStdString(picture));
  qobject_cast<QLineEdit*>(dialog.control(FieldDescent))->setText(QStringLiteral("1"));
  dialog.show();
  dialog.open_preview();
  QPointer<PreviewWindow> preview = dialog.preview();
  QVERIFY(preview != nullptr);
  QVERIFY(QTest::qWaitForWindowExposed(preview.data()));
  QTRY_VERIFY(!preview->cutting());

  // Settings only the Preview has, and one it took from the main window.
  preview->edit(vellicor::FieldChars)->setText(QStringLiteral("AB\u00e9"));
  preview->edit(vellicor::FieldBlankAdvance)->setText(QStringLiteral("3"));
  preview->ink_rule_box()->setCurrentIndex(2);
  preview->edit(FieldDescent)->setText(QStringLiteral("2"));
  QTRY_VERIFY(!preview->cutting());
  const QString status = preview->status_text();

  if (by_escape) {
    preview->edit(vellicor::FieldChars)->setFocus();
    QTest::keyClick(preview->edit(vellicor::FieldChars), Qt::Key_Escape);
  } else {
    QPushButton* close = nullptr;
    for (QPushButton* button : preview->findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("Close")) close = button;
    }
    QVERIFY(close != nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
  }
  QVERIFY(!preview->isVisible());
  // A window closed for good would be gone once deferred deletions run.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(preview != nullptr);
  QCOMPARE(dialog.preview(), preview.data());

  dialog.open_preview();
  QCOMPARE(dialog.preview(), preview.data());
  QVERIFY(preview->isVisible());
  QCOMPARE(preview->edit(vellicor::FieldChars)->text(), QStringLiteral("AB\u00e9"));
  QCOMPARE(preview->edit(vellicor::FieldBlankAdvance)->text(), QStringLiteral("3"));
  QCOMPARE(preview->ink_rule_box()->currentIndex(), 2);
  QCOMPARE(preview->edit(FieldDescent)->text(), QStringLiteral("2"));
  QCOMPARE(preview->edit(FieldInputPath)->text(), QString::fromStdString(picture));
  QCOMPARE(preview->status_text(), status);
}

void PreviewViewTest::mainWindowLeavesTheExtendedFieldsUnanswered() {
  // 1013 is also the Process button's number: its caption must not become a
  // character list, or Process would no longer write the plain font.
  MainDialog dialog;
  for (const int id : {vellicor::FieldChars, vellicor::FieldBlankAdvance, vellicor::FieldInkRule}) {
    char buffer[64] = "x";
    QCOMPARE(
        vellicor::to_int(provide_field(static_cast<HostWindow*>(&dialog),
                                       static_cast<vellicor::FieldId>(id), buffer, sizeof buffer)),
        -14);
    QCOMPARE(buffer[0], '\0');
  }
}

QTEST_MAIN(PreviewViewTest)
#include "preview_view_test.moc"
