// Message boxes: answers and the Escape / close-box rules, scripted and real.
#include "platform/message_box.h"
#include "platform/translation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace plat;

class MessageBoxScript : public ::testing::Test {
 protected:
  void SetUp() override { msgscript::Begin(); }
  void TearDown() override { msgscript::End(); }
};

TEST_F(MessageBoxScript, RecordsTextTitleFlagsAndAnswer) {
  msgscript::Answer(IDNO);
  EXPECT_EQ(MessageBox(nullptr, "終了しますか？", "確認", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBox(nullptr, "計算終了!!!", "", MB_OK), IDOK);  // empty queue: first button
  ASSERT_EQ(msgscript::Records().size(), 2u);
  const msgscript::Record& r = msgscript::Records()[0];
  EXPECT_EQ(r.text, QString::fromUtf8("終了しますか？"));
  EXPECT_EQ(r.title, QString::fromUtf8("確認"));
  EXPECT_EQ(r.flags, MB_YESNO);
  EXPECT_EQ(r.answer, IDNO);
  EXPECT_EQ(msgscript::Records()[1].answer, IDOK);
}

// Escape and the close box: ignored by Yes/No (the next answer counts), Cancel where
// there is one, OK on a lone OK.
TEST_F(MessageBoxScript, EscapeAndCloseBoxFollowTheButtonSet) {
  struct Case {
    unsigned flags;
    std::vector<int> queue;
    int expect;
    int left;  // answers still queued afterwards
  };
  const Case cases[] = {
      {MB_YESNO, {msgscript::kEscape, IDNO}, IDNO, 0},
      {MB_YESNO, {msgscript::kCloseBox, msgscript::kEscape, IDYES}, IDYES, 0},
      {MB_YESNO | MB_ICONQUESTION, {msgscript::kEscape}, IDYES, 0},  // then the empty queue
      {MB_OKCANCEL, {msgscript::kEscape, IDOK}, IDCANCEL, 1},
      {MB_OKCANCEL, {msgscript::kCloseBox}, IDCANCEL, 0},
      {MB_YESNOCANCEL, {msgscript::kEscape}, IDCANCEL, 0},
      {MB_OK | MB_ICONERROR, {msgscript::kEscape}, IDOK, 0},
      {MB_OK, {msgscript::kCloseBox}, IDOK, 0},
  };
  for (const Case& c : cases) {
    msgscript::Begin();
    for (int a : c.queue) msgscript::Answer(a);
    EXPECT_EQ(MessageBox(nullptr, "t", "c", c.flags), c.expect) << "flags " << c.flags;
    EXPECT_EQ(msgscript::Pending(), c.left) << "flags " << c.flags;
  }
}

// Real boxes on the offscreen platform: steps run one after another inside the box's
// modal loop.
class RealMessageBox : public ::testing::Test {
 protected:
  void SetUp() override { msgscript::End(); }

  static QMessageBox* Active() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

  // Runs the steps at successive turns of the event loop while the box is open.
  int Run(unsigned flags, std::vector<std::function<void(QMessageBox*)>> steps) {
    auto queue = std::make_shared<std::vector<std::function<void(QMessageBox*)>>>(std::move(steps));
    auto index = std::make_shared<std::size_t>(0);
    auto tick = std::make_shared<std::function<void()>>();
    *tick = [queue, index, tick] {
      QMessageBox* box = Active();
      if (!box || !box->isVisible()) {
        QTimer::singleShot(10, *tick);
        return;
      }
      if (*index < queue->size()) (*queue)[(*index)++](box);
      if (*index < queue->size()) QTimer::singleShot(10, *tick);
    };
    QTimer::singleShot(0, *tick);
    const int answer = MessageBox(nullptr, "text", "title", flags);
    *tick = nullptr;
    return answer;
  }

  static void Escape(QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }
  static void Close(QMessageBox* b) { b->close(); }
  static std::function<void(QMessageBox*)> Click(QMessageBox::StandardButton which) {
    return [which](QMessageBox* b) { b->button(which)->click(); };
  }
  static void ExpectOpen(QMessageBox* b) { EXPECT_TRUE(b->isVisible()); }
};

TEST_F(RealMessageBox, YesNoIgnoresEscapeAndTheCloseBox) {
  EXPECT_EQ(Run(MB_YESNO, {Escape, Close, ExpectOpen, Click(QMessageBox::No)}), IDNO);
  EXPECT_EQ(Run(MB_YESNO, {Escape, ExpectOpen, Click(QMessageBox::Yes)}), IDYES);
}

TEST_F(RealMessageBox, OkCancelAnswersEscapeWithCancelAndOkWithOk) {
  EXPECT_EQ(Run(MB_OKCANCEL, {Escape}), IDCANCEL);
  EXPECT_EQ(Run(MB_OKCANCEL, {Close}), IDCANCEL);
  EXPECT_EQ(Run(MB_OK, {Escape}), IDOK);
  EXPECT_EQ(Run(MB_OKCANCEL, {Click(QMessageBox::Ok)}), IDOK);
  EXPECT_EQ(Run(MB_OK, {[](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }}), IDOK);
}

TEST_F(RealMessageBox, ShowsTextAndTitle) {
  EXPECT_EQ(Run(MB_OK, {[](QMessageBox* b) {
              EXPECT_EQ(b->text(), "text");
              EXPECT_EQ(b->windowTitle(), "title");
              b->button(QMessageBox::Ok)->click();
            }}),
            IDOK);
}

// With Qt's Japanese translation installed, as at start-up, the standard buttons read
// in Japanese.
TEST_F(RealMessageBox, StandardButtonsReadInJapaneseWithQtsTranslation) {
  const std::unique_ptr<QTranslator> japanese = LoadQtJapanese();
  ASSERT_NE(japanese, nullptr) << "qtbase_ja.qm not installed (qt6-translations-l10n)";
  QApplication::installTranslator(japanese.get());
  QString yes, no, cancel, ok;
  EXPECT_EQ(Run(MB_YESNOCANCEL, {[&](QMessageBox* b) {
              yes = b->button(QMessageBox::Yes)->text();
              no = b->button(QMessageBox::No)->text();
              cancel = b->button(QMessageBox::Cancel)->text();
              b->button(QMessageBox::No)->click();
            }}),
            IDNO);
  EXPECT_EQ(Run(MB_OK, {[&](QMessageBox* b) {
              ok = b->button(QMessageBox::Ok)->text();
              b->button(QMessageBox::Ok)->click();
            }}),
            IDOK);
  QApplication::removeTranslator(japanese.get());
  EXPECT_EQ(yes, QString::fromUtf8("はい(&Y)"));
  EXPECT_EQ(no, QString::fromUtf8("いいえ(&N)"));
  EXPECT_EQ(cancel, QString::fromUtf8("キャンセル"));
  EXPECT_EQ(ok, QStringLiteral("OK"));  // untranslated: "&OK"
}

}  // namespace
