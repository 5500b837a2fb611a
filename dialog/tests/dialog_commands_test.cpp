// The main dialog's commands: Browse, About App, Exit, the window menu and its
// command test, the About box's address, the message box and the icon rule.
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "dialog/about_dialog.hpp"
#include "dialog/file_chooser.hpp"
#include "dialog/icon_placement.hpp"
#include "dialog/main_dialog.hpp"
#include "dialog/message_box.hpp"
#include "dialog/system_command.hpp"
#include "driver/host_callbacks.hpp"
#include "modal_watcher.hpp"
#include "tests/support/temp_dir.hpp"

using namespace vellicor;
using namespace vellicor::dialog;
using vellicor::dialog::test::ModalWatcher;

namespace {

QString input_text(MainDialog& dialog) {
  return qobject_cast<QLineEdit*>(dialog.control(FieldInputPath))->text();
}

QAbstractButton* button(MainDialog& dialog, int id) {
  return qobject_cast<QAbstractButton*>(dialog.control(id));
}

// The press, release, double-click and release that a double click delivers.
void double_click(QWidget* widget) {
  const QPointF centre = QRectF(widget->rect()).center();
  const QPointF global = widget->mapToGlobal(centre);
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
  QMouseEvent second(QEvent::MouseButtonDblClick, centre, global, Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &second);
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

}  // namespace

class DialogCommandsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void systemCommandOpensAboutOnlyForTheAboutItem_data();
  void systemCommandOpensAboutOnlyForTheAboutItem();
  void windowMenuOffersAboutAfterASeparator();
  void rightClickOnTheBackgroundShowsTheWindowMenu();
  void aboutButtonOpensTheAboutBox();
  void exitAndEscapeCloseTheDialog();
  void browseSetsTheInputPathUnlessCancelled();
  void fileChooserOffersBitmapsFirstAndExistingFilesOnly();
  void fileChooserAnswersTheChosenFullPath();
  void addressOpensOncePerClickAndTheBoxStays();
  void messageBoxIsModalPlainAndTitledWithTheProgramName();
  void minimisedIconIsCentred_data();
  void minimisedIconIsCentred();
};

void DialogCommandsTest::systemCommandOpensAboutOnlyForTheAboutItem_data() {
  QTest::addColumn<uint>("command");
  QTest::addColumn<bool>("about");
  QTest::newRow("0x0010") << 0x0010u << true;
  QTest::newRow("0x0013") << 0x0013u << true;
  QTest::newRow("0x001F") << 0x001Fu << true;
  QTest::newRow("above bit 15 ignored") << 0x10010u << true;
  QTest::newRow("0x000F") << 0x000Fu << false;
  QTest::newRow("0x0020") << 0x0020u << false;
  QTest::newRow("0x0110") << 0x0110u << false;
  QTest::newRow("close 0xF060") << 0xF060u << false;
}

void DialogCommandsTest::systemCommandOpensAboutOnlyForTheAboutItem() {
  QFETCH(uint, command);
  QFETCH(bool, about);
  QCOMPARE(opens_about_box(command), about);
  MainDialog dialog;
  dialog.show();
  ModalWatcher watcher;
  dialog.run_system_command(command);
  QCOMPARE(watcher.closed_count(), about ? 1 : 0);
  if (about) QCOMPARE(watcher.last_class(), QStringLiteral("vellicor::dialog::AboutDialog"));
  // Close is the window system's: it ends the dialog; the other values do nothing.
  QCOMPARE(dialog.isVisible(), command != kCloseCommand);
}

void DialogCommandsTest::windowMenuOffersAboutAfterASeparator() {
  MainDialog dialog;
  const QList<QAction*> actions = dialog.window_menu().actions();
  QCOMPARE(actions.size(), 3);
  QVERIFY(actions[1]->isSeparator());
  QCOMPARE(actions[2]->text(), QStringLiteral("&About vellicor..."));
  ModalWatcher watcher;
  actions[2]->trigger();
  QCOMPARE(watcher.closed_count(), 1);
  QCOMPARE(watcher.last_title(), QStringLiteral("About vellicor"));
}

void DialogCommandsTest::rightClickOnTheBackgroundShowsTheWindowMenu() {
  MainDialog dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const QPoint background(dialog.width() - 5, dialog.height() - 5);
  QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
  QCoreApplication::sendEvent(&dialog, &event);
  QVERIFY(dialog.window_menu().isVisible());
  dialog.window_menu().hide();
}

void DialogCommandsTest::aboutButtonOpensTheAboutBox() {
  MainDialog dialog;
  ModalWatcher watcher;
  QTest::mouseClick(button(dialog, kAboutButtonId), Qt::LeftButton);
  QCOMPARE(watcher.closed_count(), 1);
  QCOMPARE(watcher.last_title(), QStringLiteral("About vellicor"));
}

void DialogCommandsTest::exitAndEscapeCloseTheDialog() {
  MainDialog dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTest::mouseClick(button(dialog, kExitButtonId), Qt::LeftButton);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), int{QDialog::Rejected});

  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(!dialog.isVisible());
}

void DialogCommandsTest::browseSetsTheInputPathUnlessCancelled() {
  MainDialog dialog;
  QString answer = QStringLiteral("/fonts/chosen strip.bmp");
  QWidget* asked_parent = nullptr;
  dialog.set_file_chooser([&](QWidget* parent) {
    asked_parent = parent;
    return answer;
  });
  QTest::mouseClick(button(dialog, kBrowseButtonId), Qt::LeftButton);
  QCOMPARE(asked_parent, &dialog);
  QCOMPARE(input_text(dialog), QStringLiteral("/fonts/chosen strip.bmp"));

  answer.clear();  // cancelled
  asked_parent = nullptr;
  QTest::mouseClick(button(dialog, kBrowseButtonId), Qt::LeftButton);
  QCOMPARE(asked_parent, &dialog);
  QCOMPARE(input_text(dialog), QStringLiteral("/fonts/chosen strip.bmp"));
}

void DialogCommandsTest::fileChooserOffersBitmapsFirstAndExistingFilesOnly() {
  QStringList filters;
  QString selected_filter;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  QFileDialog::AcceptMode accept_mode = QFileDialog::AcceptSave;
  ModalWatcher watcher([&](QWidget* modal) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    QVERIFY(chooser != nullptr);
    filters = chooser->nameFilters();
    selected_filter = chooser->selectedNameFilter();
    mode = chooser->fileMode();
    accept_mode = chooser->acceptMode();
    chooser->reject();
  });
  QWidget owner;
  QCOMPARE(choose_bitmap_file(&owner), QString());
  QCOMPARE(filters, (QStringList{"Bitmap File (*.bmp)", "All Files (*.*)"}));
  QCOMPARE(selected_filter, QStringLiteral("Bitmap File (*.bmp)"));
  QCOMPARE(mode, QFileDialog::ExistingFile);
  QCOMPARE(accept_mode, QFileDialog::AcceptOpen);
}

void DialogCommandsTest::fileChooserAnswersTheChosenFullPath() {
  vellicor::test::TempDir folder;
  const QString path = QString::fromStdString(folder.file("strip.bmp"));
  vellicor::test::write_text(path.toStdString(), "BM");
  ModalWatcher watcher([&](QWidget* modal) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    QVERIFY(chooser != nullptr);
    chooser->setDirectory(QString::fromStdString(folder.path().string()));
    chooser->selectFile(QStringLiteral("strip.bmp"));
    static_cast<QDialog*>(chooser)->accept();  // what the Open button does
  });
  QWidget owner;
  QCOMPARE(choose_bitmap_file(&owner), path);
}

void DialogCommandsTest::addressOpensOncePerClickAndTheBoxStays() {
  QList<QUrl> opened;
  AboutDialog about(nullptr, [&](const QUrl& address) { opened << address; });
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  QWidget* address = about.control(kWebAddressId);
  QTest::mouseClick(address, Qt::LeftButton);
  QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/vellicor"))});
  QTest::mouseClick(address, Qt::LeftButton);
  QCOMPARE(opened.size(), 2);
  double_click(address);
  QCOMPARE(opened.size(), 3);
  QVERIFY(about.isVisible());
}

void DialogCommandsTest::messageBoxIsModalPlainAndTitledWithTheProgramName() {
  MainDialog dialog;
  ModalWatcher watcher;
  show_message_box(&dialog, QStringLiteral("Invalid Input File Type"));
  QCOMPARE(watcher.closed_count(), 1);
  QCOMPARE(watcher.last_text(), QStringLiteral("Invalid Input File Type"));
  QCOMPARE(watcher.last_title(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  QVERIFY(watcher.last_was_plain_ok_box());
}

void DialogCommandsTest::minimisedIconIsCentred_data() {
  QTest::addColumn<QSize>("client");
  QTest::addColumn<QSize>("icon");
  QTest::addColumn<QPoint>("origin");
  QTest::newRow("32 in 100 x 50") << QSize(100, 50) << QSize(32, 32) << QPoint(34, 9);
  QTest::newRow("exact fit") << QSize(32, 32) << QSize(32, 32) << QPoint(0, 0);
  QTest::newRow("odd spare rounds up") << QSize(33, 35) << QSize(32, 32) << QPoint(1, 2);
  QTest::newRow("smaller client truncates toward zero")
      << QSize(10, 0) << QSize(32, 16) << QPoint(-10, -7);
}

void DialogCommandsTest::minimisedIconIsCentred() {
  QFETCH(QSize, client);
  QFETCH(QSize, icon);
  QFETCH(QPoint, origin);
  QCOMPARE(centred_icon_origin(client, icon), origin);
}

QTEST_MAIN(DialogCommandsTest)
#include "dialog_commands_test.moc"
