// Files dropped on the main dialog, delivered as real drag and drop events:
// exactly one local *.bmp name lands in the input field whole, however long;
// anything else changes nothing and shows nothing.
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

#include "dialog/drop_filter.hpp"
#include "dialog/main_dialog.hpp"
#include "driver/host_callbacks.hpp"

using namespace vellicor;
using namespace vellicor::dialog;

namespace {

QString field_text(MainDialog& dialog, int id) {
  return qobject_cast<QLineEdit*>(dialog.control(id))->text();
}

void set_field_text(MainDialog& dialog, int id, const QString& text) {
  qobject_cast<QLineEdit*>(dialog.control(id))->setText(text);
}

QList<QUrl> local_files(const QStringList& paths) {
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  return urls;
}

// Sends the enter, move and drop events a real drag sends; returns whether the
// dialog accepted the drag when it entered.
bool drag_and_drop(MainDialog& dialog, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint inside(dialog.width() / 2, dialog.height() / 2);
  QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &enter);
  QDragMoveEvent move(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &move);
  QDropEvent drop(QPointF(inside), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &drop);
  return enter.isAccepted();
}

}  // namespace

class DropTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void dropSetsOnlyOneBitmapName_data();
  void dropSetsOnlyOneBitmapName();
  void extensionTestUsesTheLastDot_data();
  void extensionTestUsesTheLastDot();
};

void DropTest::dropSetsOnlyOneBitmapName_data() {
  QTest::addColumn<QList<QUrl>>("urls");
  QTest::addColumn<QString>("expected");  // the input field afterwards

  const QString before = QStringLiteral("/old/picture.bmp");
  const QString deep = QStringLiteral("/") + QString(253, QLatin1Char('d'));  // 254 characters

  QTest::newRow("two files") << local_files({"/fonts/a.bmp", "/fonts/b.bmp"}) << before;
  QTest::newRow("none") << QList<QUrl>{} << before;
  QTest::newRow("lower case") << local_files({"/fonts/strip.bmp"}) << "/fonts/strip.bmp";
  QTest::newRow("upper case") << local_files({"/fonts/strip.BMP"}) << "/fonts/strip.BMP";
  QTest::newRow("mixed case") << local_files({"/fonts/strip.Bmp"}) << "/fonts/strip.Bmp";
  QTest::newRow(".bmp.txt") << local_files({"/fonts/strip.bmp.txt"}) << before;
  QTest::newRow(".bm") << local_files({"/fonts/strip.bm"}) << before;
  QTest::newRow("dotless file in a .bmp directory") << local_files({"/fonts.bmp/strip"}) << before;
  QTest::newRow("folder named .bmp") << local_files({"/fonts/glyphs.bmp"}) << "/fonts/glyphs.bmp";
  QTest::newRow("not a local file") << QList<QUrl>{QUrl("https://example.org/strip.bmp")} << before;
  QTest::newRow("past 259 characters stays whole")
      << local_files({deep + deep + "/strip.bmp"}) << deep + deep + "/strip.bmp";
}

void DropTest::dropSetsOnlyOneBitmapName() {
  QFETCH(QList<QUrl>, urls);
  QFETCH(QString, expected);
  MainDialog dialog;
  int messages = 0;
  dialog.set_message_presenter([&](QWidget*, const QString&) { ++messages; });
  set_field_text(dialog, FieldInputPath, QStringLiteral("/old/picture.bmp"));
  set_field_text(dialog, FieldOutputPath, QStringLiteral("/out/font.bdf"));

  const bool accepted = drag_and_drop(dialog, urls);

  QCOMPARE(field_text(dialog, FieldInputPath), expected);
  QCOMPARE(accepted, expected != QStringLiteral("/old/picture.bmp"));
  QCOMPARE(field_text(dialog, FieldOutputPath), QStringLiteral("/out/font.bdf"));
  QCOMPARE(messages, 0);
}

void DropTest::extensionTestUsesTheLastDot_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("bitmap");
  QTest::newRow("plain") << "a.bmp" << true;
  QTest::newRow("only the extension") << ".bmp" << true;
  QTest::newRow("upper") << "A.BMP" << true;
  QTest::newRow("two extensions") << "a.txt.bmp" << true;
  QTest::newRow("trailing dot") << "a.bmp." << false;
  QTest::newRow("longer") << "a.bmpx" << false;
  QTest::newRow("no dot") << "abmp" << false;
  QTest::newRow("dot in directory") << "d.bmp/file" << false;
  QTest::newRow("empty") << "" << false;
}

void DropTest::extensionTestUsesTheLastDot() {
  QFETCH(QString, name);
  QFETCH(bool, bitmap);
  QCOMPARE(has_bitmap_extension(name), bitmap);
}

QTEST_MAIN(DropTest)
#include "dialog_drop_test.moc"
