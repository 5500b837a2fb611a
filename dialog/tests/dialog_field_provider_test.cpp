// The dialog's field provider and the other three callbacks, answered from the
// controls of a real main dialog.
#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>
#include <array>
#include <cstring>

#include "dialog/host_provider.hpp"
#include "dialog/main_dialog.hpp"

using namespace vellicor;
using namespace vellicor::dialog;

namespace {

constexpr std::uint32_t kBufferSize = 260;
constexpr char kFill = '\x5A';

struct Answer {
  ResultCode result;
  std::array<char, kBufferSize> buffer;
};

Answer ask(MainDialog& dialog, std::int32_t id, std::uint32_t size = kBufferSize) {
  Answer answer{ResultCode::kOk, {}};
  answer.buffer.fill(kFill);
  answer.result = window_host_callbacks().get_field(
      static_cast<HostWindow*>(&dialog), static_cast<FieldId>(id), answer.buffer.data(), size);
  return answer;
}

void set_text(MainDialog& dialog, int id, const QString& text) {
  qobject_cast<QLineEdit*>(dialog.control(id))->setText(text);
}

bool all_zero(const Answer& answer, std::size_t count) {
  return std::all_of(answer.buffer.begin(), answer.buffer.begin() + static_cast<long>(count),
                     [](char byte) { return byte == '\0'; });
}

}  // namespace

Q_DECLARE_METATYPE(vellicor::ResultCode)

class FieldProviderTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void editAnswersItsText_data();
  void editAnswersItsText();
  void emptyEditAnswersUnavailableWithZeroedBuffer_data();
  void emptyEditAnswersUnavailableWithZeroedBuffer();
  void checkBoxAnswersOneOrZero();
  void missingControlAnswersUnknownField_data();
  void missingControlAnswersUnknownField();
  void tooSmallBufferIsRefusedUntouched();
  void twoByteBufferHoldsOneCharacter();
  void longTextIsCutToTheBuffer();
  void cutNeverSplitsACharacter();
  void emptyOrNullMessageShowsNothing();
  void waitCursorIsCounted();
};

void FieldProviderTest::editAnswersItsText_data() {
  QTest::addColumn<int>("id");
  for (int id : {1000, 1002, 1003, 1004, 1005, 1006, 1007, 1010, 1011, 1012}) {
    QTest::newRow(qPrintable(QString::number(id))) << id;
  }
}

void FieldProviderTest::editAnswersItsText() {
  QFETCH(int, id);
  MainDialog dialog;
  const QByteArray text = "field " + QByteArray::number(id) + " text";
  set_text(dialog, id, QString::fromLatin1(text));
  const Answer answer = ask(dialog, id);
  QCOMPARE(answer.result, ResultCode::kOk);
  QCOMPARE(QByteArray(answer.buffer.data()), text);
  // The rest of the buffer is cleared, not left as it was.
  QVERIFY(std::all_of(answer.buffer.begin() + text.size(), answer.buffer.end(),
                      [](char byte) { return byte == '\0'; }));
}

void FieldProviderTest::emptyEditAnswersUnavailableWithZeroedBuffer_data() {
  editAnswersItsText_data();
}

void FieldProviderTest::emptyEditAnswersUnavailableWithZeroedBuffer() {
  QFETCH(int, id);
  MainDialog dialog;
  const Answer answer = ask(dialog, id);
  QCOMPARE(to_int(answer.result), -10);
  QVERIFY(all_zero(answer, kBufferSize));
}

void FieldProviderTest::checkBoxAnswersOneOrZero() {
  MainDialog dialog;
  Answer answer = ask(dialog, FieldFixedWidth);
  QCOMPARE(answer.result, ResultCode::kOk);
  QCOMPARE(QByteArray(answer.buffer.data()), QByteArray("0"));
  QCOMPARE(answer.buffer[kBufferSize - 1], '\0');
  qobject_cast<QCheckBox*>(dialog.control(FieldFixedWidth))->setChecked(true);
  answer = ask(dialog, FieldFixedWidth);
  QCOMPARE(answer.result, ResultCode::kOk);
  QCOMPARE(QByteArray(answer.buffer.data()), QByteArray("1"));
  QCOMPARE(answer.buffer[2], '\0');
}

void FieldProviderTest::missingControlAnswersUnknownField_data() {
  QTest::addColumn<int>("id");
  QTest::newRow("1014") << 1014;
  QTest::newRow("0") << 0;
  QTest::newRow("-1 (labels)") << -1;
  QTest::newRow("999") << 999;
}

void FieldProviderTest::missingControlAnswersUnknownField() {
  QFETCH(int, id);
  MainDialog dialog;
  const Answer answer = ask(dialog, id);
  QCOMPARE(to_int(answer.result), -14);
  QVERIFY(all_zero(answer, kBufferSize));
}

void FieldProviderTest::tooSmallBufferIsRefusedUntouched() {
  MainDialog dialog;
  set_text(dialog, FieldInputPath, QStringLiteral("strip.bmp"));
  for (std::uint32_t size : {0u, 1u}) {
    const Answer answer = ask(dialog, FieldInputPath, size);
    QCOMPARE(to_int(answer.result), -2);
    QCOMPARE(answer.buffer[0], kFill);
  }
  std::array<char, 4> buffer{'x', 'y', 'z', 'w'};
  QCOMPARE(to_int(provide_field(nullptr, FieldInputPath, buffer.data(), 4)), -2);
  QCOMPARE(buffer[0], 'x');
  QCOMPARE(to_int(provide_field(static_cast<HostWindow*>(&dialog), FieldInputPath, nullptr, 4)),
           -2);
}

void FieldProviderTest::twoByteBufferHoldsOneCharacter() {
  MainDialog dialog;
  set_text(dialog, FieldFontName, QStringLiteral("Sample"));
  const Answer answer = ask(dialog, FieldFontName, 2);
  QCOMPARE(answer.result, ResultCode::kOk);
  QCOMPARE(answer.buffer[0], 'S');
  QCOMPARE(answer.buffer[1], '\0');
  QCOMPARE(answer.buffer[2], kFill);
}

void FieldProviderTest::longTextIsCutToTheBuffer() {
  MainDialog dialog;
  const QString long_path = QStringLiteral("/").append(QString(300, QLatin1Char('p')));
  set_text(dialog, FieldOutputPath, long_path);
  const Answer answer = ask(dialog, FieldOutputPath);
  QCOMPARE(answer.result, ResultCode::kOk);
  QCOMPARE(std::strlen(answer.buffer.data()), std::size_t{259});
  QCOMPARE(QString::fromLatin1(answer.buffer.data()), long_path.left(259));
}

void FieldProviderTest::cutNeverSplitsACharacter() {
  MainDialog dialog;
  // "é" is two bytes in the program's 8-bit encoding; a four-byte buffer
  // holds "aé" (three bytes) but not a third character's first byte alone.
  set_text(dialog, FieldFontName, QStringLiteral("a\u00e9\u00e9"));
  Answer answer = ask(dialog, FieldFontName, 5);
  QCOMPARE(answer.result, ResultCode::kOk);
  QCOMPARE(QByteArray(answer.buffer.data()), QByteArray("a\xc3\xa9"));
  set_text(dialog, FieldFontName, QStringLiteral("\u00e9"));
  answer = ask(dialog, FieldFontName, 2);
  QCOMPARE(to_int(answer.result), -10);
  QVERIFY(all_zero(answer, 2));
}

void FieldProviderTest::emptyOrNullMessageShowsNothing() {
  MainDialog dialog;
  QStringList shown;
  dialog.set_message_presenter([&](QWidget* owner, const QString& text) {
    QCOMPARE(owner, &dialog);
    shown << text;
  });
  const HostCallbacks& callbacks = window_host_callbacks();
  callbacks.report_message(static_cast<HostWindow*>(&dialog), nullptr);
  callbacks.report_message(static_cast<HostWindow*>(&dialog), "");
  QVERIFY(shown.isEmpty());
  callbacks.report_message(static_cast<HostWindow*>(&dialog), "Bad input file name");
  QCOMPARE(shown, QStringList{QStringLiteral("Bad input file name")});
}

void FieldProviderTest::waitCursorIsCounted() {
  MainDialog dialog;
  const HostCallbacks& callbacks = window_host_callbacks();
  void* context = static_cast<HostWindow*>(&dialog);
  QVERIFY(QApplication::overrideCursor() == nullptr);
  callbacks.begin_busy(context);
  callbacks.begin_busy(context);
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  callbacks.end_busy(context);
  QVERIFY(QApplication::overrideCursor() != nullptr);
  callbacks.end_busy(context);
  QVERIFY(QApplication::overrideCursor() == nullptr);
  // An end without a begin does not take away someone else's cursor.
  QApplication::setOverrideCursor(Qt::CrossCursor);
  callbacks.end_busy(context);
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
}

QTEST_MAIN(FieldProviderTest)
#include "dialog_field_provider_test.moc"
