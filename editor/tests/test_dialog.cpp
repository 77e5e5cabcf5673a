// Template dialogs: geometry, texts as CP932 bytes, combos, lists, the command rules
// (Escape and close box = 2, Enter = 1, closing only through End) and test scripting.
#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/fs.h"
#include "test_cp932_text.h"
#include "test_fs_temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QTextCursor>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::Ctl;
using plat::Dialog;
using plat::IDCANCEL;
using plat::IDOK;

const plat::DialogTemplate& Tmpl() {
  static const plat::DialogTemplate t{"TEST_DIALOG", "テスト", 10, 20, 200, 120,
                                      {
                                          {IDOK, Ctl::PushButton, "OK", 130, 10, 50, 12},
                                          {IDCANCEL, Ctl::PushButton, "キャンセル", 130, 30, 50, 12},
                                          {-1, Ctl::GroupBox, "枠", 10, 7, 180, 46},
                                          {10, Ctl::Edit, "", 10, 10, 60, 14},
                                          {11, Ctl::MultiEdit, "", 10, 30, 60, 40},
                                          {12, Ctl::CheckBox, "check", 10, 80, 50, 10},
                                          {13, Ctl::RadioButton, "A", 70, 80, 30, 10},
                                          {14, Ctl::RadioButton, "B", 70, 90, 30, 10},
                                          {15, Ctl::Label, "ラベル", 10, 100, 40, 8},
                                          {16, Ctl::RadioButton, "C", 120, 80, 30, 10},
                                          {17, Ctl::PushButton, "other", 130, 50, 50, 12},
                                      }};
  return t;
}

// Records every command; ends with the id when it is in endOn.
class Probe : public Dialog {
 public:
  explicit Probe(std::vector<int> endOn = {IDOK}) : Dialog(Tmpl()), endOn_(std::move(endOn)) {}
  std::vector<int> commands;
  std::function<void(Probe&)> onInit;

 protected:
  void OnInit() override {
    if (onInit) onInit(*this);
  }
  void OnCommand(int id) override {
    commands.push_back(id);
    for (int e : endOn_)
      if (e == id) End(id);
  }

 private:
  std::vector<int> endOn_;
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { plat::dlgscript::Begin(); }
  void TearDown() override {
    plat::dlgscript::End();
    plat::dlgscript::SetShownHook({});
  }
};

TEST_F(DialogTest, DialogUnitsBecomePixels) {
  Probe d;
  EXPECT_EQ(d.size(), QSize(350, 195));  // 200 * 7 / 4, 120 * 13 / 8
  EXPECT_EQ(d.Child(IDOK)->geometry(), QRect(227, 16, 87, 19));
  EXPECT_EQ(d.Child(10)->geometry(), QRect(17, 16, 105, 22));
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("テスト"));
  EXPECT_EQ(d.GetTextU(IDCANCEL), QString::fromUtf8("キャンセル"));
  EXPECT_EQ(d.Child(99), nullptr);
  QWidget* px = d.AddChildPx(20, Ctl::Combo, 27, 50, 110, 120);
  EXPECT_EQ(px->pos(), QPoint(27, 50));
  EXPECT_EQ(px->width(), 110);
  EXPECT_LT(px->height(), 120);  // the rectangle includes the drop-down list
}

// The dialogs' face is the fixed-pitch gothic at 10 point (13 pixels): every
// half-width character takes the same width, a full-width one twice that.
TEST_F(DialogTest, FontIsTheFixedPitchGothicOfThirteenPixels) {
  Probe d;
  EXPECT_EQ(d.font().pixelSize(), 13);
  const QFontInfo info(d.font());
  if (!info.family().contains(QStringLiteral("Gothic"), Qt::CaseInsensitive) &&
      !info.family().contains(QStringLiteral("ゴシック")))
    GTEST_SKIP() << "no gothic face installed: " << info.family().toStdString();
  const QFontMetrics m(d.font());
  const int four = m.horizontalAdvance(QStringLiteral("MMMM"));
  EXPECT_EQ(m.horizontalAdvance(QStringLiteral("iiii")), four);
  EXPECT_EQ(m.horizontalAdvance(QStringLiteral("Lang")), four);
  EXPECT_EQ(m.horizontalAdvance(QString::fromUtf8("時間")), four);
}

// The dialog units follow the template's font: the 10-point gothic gives base units
// 7 x 13, the 9-point P gothic 7 x 12 (the widths of its stand-in's Latin letters
// average 7 pixels, its cell is 12 pixels high).
TEST_F(DialogTest, DialogUnitsFollowTheTemplatesFont) {
  struct Case {
    const char* face;
    int points;
    const char* standIn;
    int pixelSize;
    plat::BaseUnits units;
    QSize size;  // of a 200 x 120 dialog
  };
  const Case cases[] = {
      {"ＭＳ ゴシック", 10, "IPAGothic", 13, {7, 13}, {350, 195}},
      {"ＭＳ Ｐゴシック", 9, "IPAPGothic", 12, {7, 12}, {350, 180}},
  };
  for (const Case& c : cases) {
    const QFont font = plat::DialogFont(c.face, c.points);
    EXPECT_EQ(font.pixelSize(), c.pixelSize) << c.face;
    EXPECT_EQ(QFontInfo(font).family(), QString::fromUtf8(c.standIn)) << c.face;
    const plat::BaseUnits units = plat::BaseUnitsOf(font);
    EXPECT_EQ(units.x, c.units.x) << c.face;
    EXPECT_EQ(units.y, c.units.y) << c.face;

    plat::DialogTemplate t = Tmpl();
    t.fontFace = c.face;
    t.fontPoints = c.points;
    Dialog d(t);
    EXPECT_EQ(d.Units(), c.units) << c.face;
    EXPECT_EQ(d.font().pixelSize(), c.pixelSize) << c.face;
    EXPECT_EQ(d.size(), c.size) << c.face;
    EXPECT_EQ(d.Child(10)->geometry(),
              QRect(10 * c.units.x / 4, 10 * c.units.y / 8, 60 * c.units.x / 4, 14 * c.units.y / 8))
        << c.face;
    EXPECT_EQ(d.DluToPxX(131), 131 * 7 / 4);
    EXPECT_EQ(d.DluToPxY(131), 131 * c.units.y / 8);
  }
}

TEST_F(DialogTest, GetTextGivesCp932CutOnCharacterBoundaries) {
  Probe d;
  d.SetTextU(10, QString::fromUtf8("電圧電圧電圧電圧電圧"));  // 20 bytes
  EXPECT_EQ(d.GetText(10, 19), J("電圧電圧電圧電圧電"));
  EXPECT_EQ(d.GetText(10, 19).size(), 18u);
  d.SetTextU(10, QString::fromUtf8("a😀"));
  EXPECT_EQ(d.GetText(10, 19), "a?");
  // Multi-line edits: CR LF in the bytes.
  d.SetText(11, "x=1;\r\ny=2;");
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(d.Child(11))->toPlainText(), "x=1;\ny=2;");
  d.SetTextU(11, "a\nb");
  EXPECT_EQ(d.GetText(11, 100), "a\r\nb");
  EXPECT_EQ(d.GetText(11, 2), "a");
}

TEST_F(DialogTest, UnchangedTextKeepsItsBytes) {
  Probe d;
  const std::string odd = "\x80" "ab\x93";  // not valid CP932: shown with U+FFFD
  d.SetText(10, odd);
  EXPECT_EQ(d.GetText(10, 19), odd);
  EXPECT_EQ(d.GetText(10, 2), "\x80" "a");
  d.SetText(11, "l1\r\nl2\r\n");
  EXPECT_EQ(d.GetText(11, 100), "l1\r\nl2\r\n");
  d.SetTextU(10, d.GetTextU(10) + "c");  // edited: encoded afresh
  EXPECT_EQ(d.GetText(10, 19), "?ab?c");
}

// Characters typed one at a time (QTest's key clicks carry Latin-1 only).
void Type(QWidget* w, const QString& text) {
  for (int i = 0; i < text.size(); ++i) {
    const int len = text[i].isHighSurrogate() ? 2 : 1;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, len));
    QApplication::sendEvent(w, &press);
    i += len - 1;
  }
}

// A byte cap refuses what does not fit, counting CP932 bytes (or UTF-8 ones), and never
// splits a character; GetText honours it; a text set and left alone keeps its bytes.
TEST_F(DialogTest, ByteCapsRefuseWhatDoesNotFitAtCharacterBoundaries) {
  Probe d;
  auto* edit = qobject_cast<QLineEdit*>(d.Child(10));
  auto* multi = qobject_cast<QPlainTextEdit*>(d.Child(11));
  d.SetByteLimit(10, 9);
  Type(edit, QString::fromUtf8("電圧電圧電a"));  // the fifth kanji would make 10 bytes
  EXPECT_EQ(edit->text(), QString::fromUtf8("電圧電圧a"));
  EXPECT_EQ(d.GetText(10), J("電圧電圧a"));
  Type(edit, QStringLiteral("b"));
  EXPECT_EQ(edit->text(), QString::fromUtf8("電圧電圧a"));

  // A paste in the middle keeps what fits of the pasted text; the rest stays.
  edit->setText(QStringLiteral("abcdef"));
  edit->setCursorPosition(3);
  edit->insert(QString::fromUtf8("電圧電"));
  EXPECT_EQ(edit->text(), QString::fromUtf8("abc電def"));
  EXPECT_EQ(edit->cursorPosition(), 4);
  // A character with no CP932 form counts as its '?'.
  d.SetTextU(10, QString::fromUtf8("12345678😀😀"));
  EXPECT_EQ(d.GetText(10), "12345678?");
  EXPECT_EQ(d.GetText(10, 4), "1234");  // a smaller limit of the caller still counts

  // Multi-line: a line end counts as CR LF.
  d.SetByteLimit(11, 10);
  multi->setFocus();
  Type(multi, QStringLiteral("ab"));
  QTest::keyClick(multi, Qt::Key_Return);
  Type(multi, QString::fromUtf8("cd電圧電"));
  EXPECT_EQ(multi->toPlainText(), QString::fromUtf8("ab\ncd電圧"));
  EXPECT_EQ(d.GetText(11), J("ab\r\ncd電圧"));
  multi->moveCursor(QTextCursor::Start);
  multi->insertPlainText(QStringLiteral("x"));
  EXPECT_EQ(multi->toPlainText(), QString::fromUtf8("ab\ncd電圧"));

  // SetText shows at most the cap; a text left alone comes back as the bytes set.
  const std::string odd = "\x80" "abcdefgh" "\x93";  // 10 bytes, not valid CP932
  d.SetText(10, odd);
  EXPECT_EQ(edit->text().size(), 9);
  EXPECT_EQ(d.GetText(10), "\x80" "abcdefgh");
  d.SetText(10, J("電圧電圧電"));
  EXPECT_EQ(edit->text(), QString::fromUtf8("電圧電圧"));
  EXPECT_EQ(d.GetText(10), J("電圧電圧"));

  // UTF-8 edits (settings values) count UTF-8 bytes.
  d.SetByteLimit(10, 5, Dialog::Encoding::Utf8);
  edit->clear();
  Type(edit, QString::fromUtf8("éé電x"));
  EXPECT_EQ(edit->text(), QString::fromUtf8("ééx"));
  EXPECT_EQ(d.GetText(10), "\xC3\xA9\xC3\xA9x");
  d.SetText(10, "cc -I\xE9t\xE9");  // not UTF-8, left alone: kept whole within the cap
  EXPECT_EQ(d.GetText(10), "cc -I");
  EXPECT_EQ(d.GetText(10, 3), "cc ");
}

// A filled edit shows the start of its text; the dialog opens with the focus on its
// first tab stop in template order.
TEST_F(DialogTest, FilledEditShowsItsStartAndTheFirstTabStopHasTheFocus) {
  plat::dlgscript::End();
  const std::string longText = "gcc -o temp -Wl,--no-as-needed -lm -O2 -Wall -Wextra -pedantic sources needed";
  QWidget* focused = nullptr;
  int cursor = -1;
  int firstCharX = -1;
  plat::dlgscript::SetShownHook([&](Dialog& d) {
    focused = d.focusWidget();
    auto* edit = qobject_cast<QLineEdit*>(d.Child(10));
    cursor = edit->cursorPosition();
    firstCharX = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    d.End(IDCANCEL);
  });
  Probe d;
  d.onInit = [&](Probe& p) { p.SetText(10, longText); };
  EXPECT_EQ(plat::RunModal(d, nullptr), IDCANCEL);
  EXPECT_EQ(focused, d.Child(IDOK));  // the OK button comes first in the template
  EXPECT_EQ(cursor, 0);
  EXPECT_LT(firstCharX, 20);

  // With the first controls disabled or hidden, the next tab stop; labels and group
  // boxes are none.
  plat::DialogTemplate t = Tmpl();
  t.controls.erase(t.controls.begin(), t.controls.begin() + 2);  // OK, Cancel
  Dialog e(t);
  EXPECT_EQ(e.FirstTabStop(), e.Child(10));
  e.Enable(10, false);
  e.Child(11)->hide();
  EXPECT_EQ(e.FirstTabStop(), e.Child(12));
}

TEST_F(DialogTest, ChecksRadiosAndEnabling) {
  Probe d;
  d.Press(12);
  EXPECT_TRUE(d.IsChecked(12));
  d.Press(12);
  EXPECT_FALSE(d.IsChecked(12));
  d.Check(13, true);
  d.Press(14);
  EXPECT_FALSE(d.IsChecked(13));
  EXPECT_TRUE(d.IsChecked(14));
  d.Check(14, false);  // an exclusive group still lets the program uncheck
  EXPECT_FALSE(d.IsChecked(14));
  d.Press(16);  // another group (a label between)
  d.Press(13);
  EXPECT_TRUE(d.IsChecked(16));
  EXPECT_TRUE(d.IsChecked(13));
  // Check() sends no command; clicks do.
  EXPECT_EQ(d.commands, (std::vector<int>{12, 12, 14, 16, 13}));
  d.Enable(17, false);
  EXPECT_FALSE(d.IsEnabled(17));
  d.Press(17);  // a disabled button does nothing
  EXPECT_EQ(d.commands.size(), 5u);
}

TEST_F(DialogTest, CombosStartWithNothingChosen) {
  Probe d;
  d.AddChildPx(20, Ctl::Combo, 0, 0, 80, 100);
  EXPECT_EQ(d.ComboSelection(20), -1);
  d.ComboAdd(20, "Effort");
  d.ComboAdd(20, J("実数"));
  EXPECT_EQ(d.ComboCount(20), 2);
  EXPECT_EQ(d.ComboSelection(20), -1);
  EXPECT_EQ(d.ComboText(20, 1), J("実数"));
  EXPECT_EQ(qobject_cast<QComboBox*>(d.Child(20))->itemText(1), QString::fromUtf8("実数"));
  d.ChooseCombo(20, 1);
  EXPECT_EQ(d.ComboSelection(20), 1);
  d.ComboAdd(20, "Flow");  // keeps the choice
  EXPECT_EQ(d.ComboSelection(20), 1);
  d.ComboSelect(20, 0);
  EXPECT_EQ(d.commands, (std::vector<int>{20}));
}

TEST_F(DialogTest, ListsKeepRowsAndSelections) {
  Probe d;
  d.AddChildPx(30, Ctl::List, 20, 100, 170, 135);
  d.ListAddColumn(30, "kind", 100, Dialog::Align::Left);
  d.ListAddColumn(30, "bond", 45, Dialog::Align::Center);
  auto* tree = qobject_cast<QTreeWidget*>(d.Child(30));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->columnCount(), 2);
  EXPECT_EQ(tree->columnWidth(0), 100);
  EXPECT_EQ(tree->columnWidth(1), 45);
  for (const char* b : {"1", "2", "3", "4"}) d.ListInsertRow(30, d.ListRowCount(30), {"Flow", b});
  d.ListInsertRow(30, 0, {J("電圧"), "9"});
  EXPECT_EQ(d.ListRowCount(30), 5);
  EXPECT_EQ(d.ListText(30, 0, 0), J("電圧"));
  EXPECT_EQ(d.ListText(30, 4, 1), "4");
  EXPECT_EQ(d.ListNextSelected(30), -1);
  d.ListSelect(30, 3, true);
  d.ListSelect(30, 1, true);
  EXPECT_EQ(d.ListNextSelected(30), 1);
  EXPECT_EQ(d.ListNextSelected(30, 1), 3);
  EXPECT_EQ(d.ListNextSelected(30, 3), -1);
  d.ListDeleteRow(30, 1);
  EXPECT_EQ(d.ListNextSelected(30), 2);
  EXPECT_EQ(d.ListText(30, 2, 1), "3");
}

// Escape and the close box send IDCANCEL and close nothing by themselves; Enter sends
// IDOK.
TEST_F(DialogTest, EscapeCloseBoxAndEnterAreCommands) {
  Probe d(std::vector<int>{});
  d.PressEscape();
  d.PressCloseBox();
  d.PressEnter();
  EXPECT_EQ(d.commands, (std::vector<int>{IDCANCEL, IDCANCEL, IDOK}));
  EXPECT_FALSE(d.Ended());
  Probe e({IDCANCEL});
  e.PressEscape();
  EXPECT_TRUE(e.Ended());
  EXPECT_EQ(e.EndCode(), IDCANCEL);
}

TEST_F(DialogTest, ScriptedRunsReturnTheEndCode) {
  plat::dlgscript::Queue("TEST_DIALOG", [](Dialog& d) {
    d.SetTextU(10, "typed");
    d.PressEscape();
    EXPECT_FALSE(d.Ended());
    d.Press(IDOK);
  });
  plat::dlgscript::Queue("TEST_DIALOG", [](Dialog& d) { d.PressEscape(); });
  Probe a;
  EXPECT_EQ(plat::RunModal(a, nullptr), IDOK);
  EXPECT_EQ(a.GetText(10, 19), "typed");
  EXPECT_EQ(a.commands, (std::vector<int>{IDCANCEL, IDOK}));
  Probe b;
  EXPECT_EQ(plat::RunModal(b, nullptr), -1);  // the script left it open
  Probe c;
  EXPECT_EQ(plat::RunModal(c, nullptr), -1);  // no script queued
  EXPECT_EQ(plat::dlgscript::Opened(), (std::vector<std::string>{"TEST_DIALOG", "TEST_DIALOG", "TEST_DIALOG"}));
  EXPECT_EQ(plat::dlgscript::Pending("TEST_DIALOG"), 0);
  // Ended in OnInit: no script is taken.
  plat::dlgscript::Queue("TEST_DIALOG", [](Dialog& d) { d.Press(IDCANCEL); });
  Probe e;
  e.onInit = [](Probe& p) { p.End(5); };
  EXPECT_EQ(plat::RunModal(e, nullptr), 5);
  EXPECT_EQ(plat::dlgscript::Pending("TEST_DIALOG"), 1);
}

// Real dialogs on the offscreen platform, driven by key events from the shown hook.
TEST_F(DialogTest, RealEscapeKeyAndCloseBoxKeepTheDialogOpenUntilEnd) {
  plat::dlgscript::End();
  bool checked = false;
  plat::dlgscript::SetShownHook([&](Dialog& d) {
    EXPECT_TRUE(d.isVisible());
    QTest::keyClick(&d, Qt::Key_Escape);
    d.close();
    EXPECT_TRUE(d.isVisible());
    checked = true;
    QTest::keyClick(d.Child(10), Qt::Key_A);
    QTest::keyClick(d.Child(10), Qt::Key_Return);  // Enter in an edit: IDOK
  });
  Probe d({IDOK});
  EXPECT_EQ(plat::RunModal(d, nullptr), IDOK);
  EXPECT_TRUE(checked);
  EXPECT_EQ(d.commands, (std::vector<int>{IDCANCEL, IDCANCEL, IDOK}));
  EXPECT_EQ(d.GetText(10, 19), "a");
  EXPECT_FALSE(d.isVisible());
}

TEST_F(DialogTest, RealEnterInAMultiLineEditMakesANewLine) {
  plat::dlgscript::End();
  plat::dlgscript::SetShownHook([](Dialog& d) {
    d.Child(11)->setFocus();
    QTest::keyClicks(d.Child(11), "ab");
    QTest::keyClick(d.Child(11), Qt::Key_Return);
    QTest::keyClicks(d.Child(11), "c");
    QTest::keyClick(&d, Qt::Key_Escape);  // IDCANCEL ends this one
  });
  Probe d({IDCANCEL});
  EXPECT_EQ(plat::RunModal(d, nullptr), IDCANCEL);
  EXPECT_EQ(d.GetText(11, 100), "ab\r\nc");
  EXPECT_EQ(d.commands, (std::vector<int>{IDCANCEL}));
}

TEST_F(DialogTest, RealMouseClickOnAButtonSendsItsId) {
  plat::dlgscript::End();
  plat::dlgscript::SetShownHook([](Dialog& d) {
    QTest::mouseClick(d.Child(17), Qt::LeftButton);
    QTest::mouseClick(d.Child(IDCANCEL), Qt::LeftButton);
  });
  Probe d({IDCANCEL});
  EXPECT_EQ(plat::RunModal(d, nullptr), IDCANCEL);
  EXPECT_EQ(d.commands, (std::vector<int>{17, IDCANCEL}));
}

// File dialogs: the hook answers instead of a dialog; the real one returns the chosen
// path, and a save name without extension gets the default one.
TEST(FileDialogTest, HookAnswersAndRealDialogReturnsThePath) {
  std::vector<bool> saves;
  plat::FileDialog::SetHook([&](bool save, const plat::FileDialogOptions& o) {
    saves.push_back(save);
    EXPECT_EQ(o.defaultSuffix, "VRK");
    return save ? QString() : QString("/x/a.VRK");
  });
  plat::FileDialogOptions o{"t", {{"VRK File", "*.VRK"}}, "VRK", "/x", true};
  EXPECT_EQ(plat::FileDialog::Open(nullptr, o), "/x/a.VRK");
  EXPECT_EQ(plat::FileDialog::Save(nullptr, o), "");
  EXPECT_EQ(saves, (std::vector<bool>{false, true}));
  plat::FileDialog::SetHook({});

  TempCwd cwd;
  const QString dir = plat::fs::ToQString(cwd.path());
  QFile f(dir + "/b.vrk");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  o.initialDirectory = dir;
  auto answer = [](const QString& name) {
    QTimer::singleShot(0, [name] {
      auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(fd, nullptr);
      fd->selectFile(name);
      QMetaObject::invokeMethod(fd, "accept");
    });
  };
  answer("b.vrk");
  EXPECT_EQ(plat::FileDialog::Open(nullptr, o), dir + "/b.vrk");
  answer("new");
  EXPECT_EQ(plat::FileDialog::Save(nullptr, o), dir + "/new.VRK");
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(plat::FileDialog::Open(nullptr, o), "");  // cancelled
}

// The filter Qt is given, as the editor's dialogs use it: the description, then its
// pattern once in parentheses.
TEST(FileDialogTest, FilterShowsItsPatternOnce) {
  struct Case {
    const char* description;
    const char* pattern;
    bool save;
    const char* shown;
  };
  const Case cases[] = {
      {"VRK File", "*.VRK", false, "VRK File (*.VRK)"},  // RUN_VRK's browse
      {"VRD File", "*.VRD", false, "VRD File (*.VRD)"},  // diagram open
      {"VRD File", "*.VRD", true, "VRD File (*.VRD)"},   // diagram save
      {"bmp File", "*.bmp", true, "bmp File (*.bmp)"},   // the picture
  };
  TempCwd cwd;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    QStringList filters;
    QTimer::singleShot(0, [&filters] {
      auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(fd, nullptr);
      filters = fd->nameFilters();
      fd->reject();
    });
    const plat::FileDialogOptions o{"t", {{c.description, c.pattern}}, "", QString::fromStdString(cwd.path()), !c.save};
    EXPECT_EQ(c.save ? plat::FileDialog::Save(nullptr, o) : plat::FileDialog::Open(nullptr, o), "");
    ASSERT_EQ(filters.size(), 1);
    EXPECT_EQ(filters[0], QString::fromLatin1(c.shown));
    EXPECT_EQ(filters[0].count(QString::fromLatin1(c.pattern)), 1);
  }
}

}  // namespace
