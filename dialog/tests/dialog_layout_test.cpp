// Both dialogs are laid out as their template tables say, in pixels of the
// dialog font, with the template's tab order, mnemonics and texts.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <vector>

#include "dialog/about_dialog.hpp"
#include "dialog/dialog_template.hpp"
#include "dialog/main_dialog.hpp"

using namespace vellicor::dialog;

class DialogLayoutTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void dialogUnitsScaleByQuarterWidthAndEighthHeight_data();
  void dialogUnitsScaleByQuarterWidthAndEighthHeight();
  void mainControlsSitAtTheirTemplateRectangles();
  void mainDialogHasFixedSizeCaptionAndNoMinMaxBox();
  void tabOrderFollowsTheTemplate();
  void mnemonicLabelsLeadToTheNextField();
  void samplePictureIsTheFramedLetter();
  void aboutBoxShowsTheTemplateTexts();
};

void DialogLayoutTest::dialogUnitsScaleByQuarterWidthAndEighthHeight_data() {
  QTest::addColumn<int>("char_width");
  QTest::addColumn<int>("char_height");
  QTest::addColumn<QRect>("dlu");
  QTest::addColumn<QRect>("pixels");
  // The classic dialog font measures 6 x 13 pixels.
  QTest::newRow("input edit") << 6 << 13 << QRect(7, 16, 199, 14) << QRect(11, 26, 299, 23);
  QTest::newRow("dialog size") << 6 << 13 << QRect(0, 0, 320, 227) << QRect(0, 0, 480, 369);
  QTest::newRow("rounds half up") << 7 << 15 << QRect(2, 4, 6, 12) << QRect(4, 8, 11, 23);
  QTest::newRow("exact at double") << 12 << 26 << QRect(263, 7, 50, 14) << QRect(789, 23, 150, 46);
}

void DialogLayoutTest::dialogUnitsScaleByQuarterWidthAndEighthHeight() {
  QFETCH(int, char_width);
  QFETCH(int, char_height);
  QFETCH(QRect, dlu);
  QFETCH(QRect, pixels);
  QCOMPARE(to_pixels(dlu, DialogUnitScale{char_width, char_height}), pixels);
}

void DialogLayoutTest::mainControlsSitAtTheirTemplateRectangles() {
  MainDialog dialog;
  const DialogUnitScale scale = measure_dialog_font(dialog.fontMetrics());
  // Rows of the table with an identifier; labels are checked for position only,
  // since a label may widen to fit its text.
  const struct {
    int id;
    QRect dlu;
  } expected[] = {
      {1000, {7, 16, 199, 14}},  {1001, {206, 16, 16, 14}},  {1012, {7, 42, 199, 14}},
      {1007, {7, 78, 199, 14}},  {1002, {7, 93, 41, 14}},    {1010, {7, 108, 41, 14}},
      {1011, {7, 123, 41, 14}},  {1009, {8, 137, 69, 10}},   {1005, {119, 160, 41, 14}},
      {1003, {78, 179, 41, 14}}, {1004, {162, 179, 41, 14}}, {1006, {120, 198, 41, 14}},
      {1013, {263, 7, 50, 14}},  {2, {263, 35, 50, 14}},     {1029, {263, 21, 50, 14}},
  };
  for (const auto& row : expected) {
    const QWidget* control = dialog.control(row.id);
    QVERIFY2(control != nullptr, qPrintable(QString::number(row.id)));
    QCOMPARE(control->geometry(), to_pixels(row.dlu, scale));
  }
  const QWidget* picture = dialog.control(kSamplePictureId);
  QVERIFY(picture != nullptr);
  QCOMPARE(picture->pos(), to_pixels(QRect(132, 178, 15, 15), scale).topLeft());

  // The ten labels with the texts the README names, at their places in
  // dialog units.
  const struct {
    const char* text;
    QRect dlu;
  } labels[] = {
      {"Input BMP File Name", {7, 7, 68, 8}},
      {"Output &BDF File Name", {7, 32, 72, 8}},
      {"Font &Name", {7, 68, 36, 8}},
      {"1st Glyph &Value", {53, 95, 50, 8}},
      {"&Allowable Blank Pixels In Glyph", {53, 111, 99, 8}},
      {"&Descent Pixels", {53, 126, 48, 8}},
      {"&Upper Blank Pixels", {108, 151, 60, 8}},
      {"&Leading Blank Pixels", {8, 183, 66, 8}},
      {"&Trailing Blank Pixels", {207, 182, 64, 8}},
      {"L&ower Blank Pixels", {108, 212, 60, 8}},
  };
  const auto found = dialog.findChildren<QLabel*>();
  for (const auto& row : labels) {
    const QRect wanted = to_pixels(row.dlu, scale);
    const bool placed = std::any_of(found.begin(), found.end(), [&](const QLabel* label) {
      return label->pos() == wanted.topLeft() && label->width() >= wanted.width() &&
             label->text() == QString::fromUtf8(row.text);
    });
    QVERIFY2(placed, row.text);
  }
}

void DialogLayoutTest::mainDialogHasFixedSizeCaptionAndNoMinMaxBox() {
  MainDialog dialog;
  const DialogUnitScale scale = measure_dialog_font(dialog.fontMetrics());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("wVellicor"));
  QCOMPARE(dialog.minimumSize(), to_pixels(QSize(320, 227), scale));
  QCOMPARE(dialog.maximumSize(), to_pixels(QSize(320, 227), scale));
  QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
  QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  QVERIFY(!dialog.windowIcon().isNull());
  QVERIFY(dialog.acceptDrops());
}

void DialogLayoutTest::tabOrderFollowsTheTemplate() {
  MainDialog dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const std::vector<int> order{1000, 1001, 1012, 1007, 1002, 1010, 1011, 1009,
                               1005, 1003, 1004, 1006, 1013, 2,    1029};
  QCOMPARE(QApplication::focusWidget(), dialog.control(1000));
  for (std::size_t index = 1; index < order.size(); ++index) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), control_object_name(order[index]));
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), dialog.control(1000));
}

void DialogLayoutTest::mnemonicLabelsLeadToTheNextField() {
  MainDialog dialog;
  const struct {
    const char* text;
    int buddy;
  } expected[] = {
      {"Output &BDF File Name", 1012}, {"Font &Name", 1007},
      {"1st Glyph &Value", 1002},      {"&Allowable Blank Pixels In Glyph", 1010},
      {"&Descent Pixels", 1011},       {"&Upper Blank Pixels", 1005},
      {"&Leading Blank Pixels", 1003}, {"&Trailing Blank Pixels", 1004},
      {"L&ower Blank Pixels", 1006},
  };
  const auto labels = dialog.findChildren<QLabel*>();
  for (const auto& row : expected) {
    const auto label = std::find_if(labels.begin(), labels.end(), [&](const QLabel* candidate) {
      return candidate->text() == QString::fromUtf8(row.text);
    });
    QVERIFY2(label != labels.end(), row.text);
    QCOMPARE((*label)->buddy(), dialog.control(row.buddy));
  }
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), dialog.control(1011));
}

void DialogLayoutTest::samplePictureIsTheFramedLetter() {
  MainDialog dialog;
  const auto* picture = qobject_cast<QLabel*>(dialog.control(kSamplePictureId));
  QVERIFY(picture != nullptr);
  const QImage image = picture->pixmap().toImage();
  QCOMPARE(image.size(), QSize(22, 24));
  QCOMPARE(picture->size(), QSize(22, 24));
  const QRgb black = qRgb(0, 0, 0);
  for (int x = 0; x < 22; ++x) {
    QCOMPARE(image.pixel(x, 0), black);
    QCOMPARE(image.pixel(x, 23), black);
  }
  QCOMPARE(image.pixel(2, 2), qRgb(255, 255, 255));
  // Smoothed edges: greys between black and white.
  bool has_grey = false;
  for (int y = 2; y < 22; ++y) {
    for (int x = 2; x < 20; ++x) {
      const int level = qGray(image.pixel(x, y));
      has_grey = has_grey || (level > 0 && level < 255);
    }
  }
  QVERIFY(has_grey);
}

void DialogLayoutTest::aboutBoxShowsTheTemplateTexts() {
  AboutDialog about;
  const DialogUnitScale scale = measure_dialog_font(about.fontMetrics());
  QCOMPARE(about.windowTitle(), QStringLiteral("About vellicor"));
  QCOMPARE(about.minimumSize(), to_pixels(QSize(139, 132), scale));
  QCOMPARE(about.maximumSize(), about.minimumSize());

  QStringList texts;
  for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
  for (const char* text :
       {"wVellicor", "Version 1.0", "Copyright (C) 2026 The vellicor authors", "<><",
        "Click To Visit:", "~~~~~~~~~~~~~~~~", "https://example.org/vellicor"}) {
    QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
  }
  QCOMPARE(texts.count(QStringLiteral("<><")), 3);

  const auto* ok = qobject_cast<QPushButton*>(about.control(kAboutOkButtonId));
  QVERIFY(ok != nullptr && ok->isDefault());
  QCOMPARE(ok->geometry(), to_pixels(QRect(7, 47, 50, 14), scale));

  const auto* address = qobject_cast<QLabel*>(about.control(kWebAddressId));
  QVERIFY(address != nullptr);
  QCOMPARE(address->geometry(), to_pixels(QRect(7, 112, 123, 13), scale));
  QCOMPARE(address->frameShadow(), QFrame::Sunken);
  QCOMPARE(address->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  QCOMPARE(address->textFormat(), Qt::PlainText);
  QVERIFY(!address->openExternalLinks());
}

QTEST_MAIN(DialogLayoutTest)
#include "dialog_layout_test.moc"
