// The main window: start-up order with the compiler dialog, toolbar and menu,
// scroll ranges and steps, the tools, mouse and keys through real events
// (band and scroll offsets), the close question, and a picture of the window.
#include "canvas_drawing.h"
#include "document.h"
#include "main_window.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/ini.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "resources/dialog_templates.h"
#include "test_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>
#include <string>

namespace {

class MainWindowTest : public MainWindowFixture {
 protected:
  MainWindowTest() : MainWindowFixture(Startup::kByTest) {}

  plat::ClientView* View() const { return window_->View(); }
  void ScrollTo(int bar, int pos) { window_->OnScroll(bar, plat::SB_THUMBTRACK, pos); }
};

TEST_F(MainWindowTest, StartUpCreatesTheWindowThenRunsTheCompilerDialogOnce) {
  bool visibleAtDialog = false;
  std::string startAtDialog;
  plat::dlgscript::Queue("SELECT_COMPILER", [&](plat::Dialog& d) {
    visibleAtDialog = g_mainWindow && g_mainWindow->isVisible();
    startAtDialog = g_startDirectory;
    d.Press(plat::IDOK);
  });
  window_.reset(StartMainWindow(SW_SHOWNORMAL));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  EXPECT_EQ(plat::dlgscript::Opened(), std::vector<std::string>{"SELECT_COMPILER"});
  EXPECT_EQ(plat::dlgscript::Pending("SELECT_COMPILER"), 0);
  EXPECT_TRUE(visibleAtDialog);
  EXPECT_EQ(startAtDialog, plat::fs::CurrentDir());

  // Window creation: canvases, document defaults, flags.
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("VORK Ver. 2.0"));
  EXPECT_EQ(g_mainWindow, window_.get());
  ASSERT_NE(g_drawDC, nullptr);
  ASSERT_NE(g_cleanDC, nullptr);
  EXPECT_EQ(g_canvasRect.right, 2000);
  EXPECT_EQ(g_canvasRect.bottom, 1414);
  EXPECT_EQ(g_documentSaved, 1);
  EXPECT_EQ(g_autoTimeStep, 0);
  EXPECT_EQ(g_currentTool, kToolSelect);
  EXPECT_EQ(TextOf(g_document.numeric.timeStep), "1.00000E-05");
  plat::Ini ini(Path("vork.ini"));
  EXPECT_EQ(ini.GetString("Directory", "Data"), plat::fs::CurrentDir() + "/Csv/");
  EXPECT_EQ(ini.GetString("Directory", "Vrd"), plat::fs::CurrentDir() + "/Vrd/");
  EXPECT_EQ(ini.GetString("Compiler", "C_Command"), "gcc -o temp -Wl,--no-as-needed -lm");
  EXPECT_EQ(g_language, 0);

  // Placement at (80, 60), outer size 800 x 600.
  EXPECT_EQ(window_->frameGeometry().topLeft(), QPoint(80, 60));
  EXPECT_EQ(window_->frameGeometry().size(), QSize(800, 600));
  EXPECT_FALSE(window_->windowIcon().isNull());
}

TEST_F(MainWindowTest, ToolbarButtonsInTheirOrderWithTheSelectToolChecked) {
  StartShown();
  ASSERT_NE(g_toolbar, nullptr);
  const int ids[] = {kToolbarNew, kToolbarOpen, kToolbarSaveAs, kToolbarPrint, kToolbarGreyed,
                     0,
                     kToolSelect, ToolOfKind(kKindC), ToolOfKind(kKindI), ToolOfKind(kKindR), ToolOfKind(kKindSE),
                     ToolOfKind(kKindSF), ToolOfKind(kKindTF), ToolOfKind(kKindGY), ToolOfKind(kKindZeroJunction),
                     ToolOfKind(kKindOneJunction), kToolBond,
                     0,
                     kToolbarNumericConditions, kToolbarRun, kToolbarGraph};
  ASSERT_EQ(g_toolbar->ButtonCount(), 21);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(g_toolbar->IdAt(i), ids[i]) << "position " << i;
  EXPECT_FALSE(g_toolbar->IsEnabled(kToolbarGreyed));
  EXPECT_TRUE(g_toolbar->IsEnabled(kToolbarNew));
  EXPECT_TRUE(g_toolbar->IsChecked(kToolSelect));
  EXPECT_FALSE(g_toolbar->IsChecked(ToolOfKind(kKindC)));
  // The band covers client rows 0 to 29, the whole width.
  EXPECT_EQ(g_toolbar->parentWidget(), View());
  EXPECT_EQ(g_toolbar->geometry(), QRect(0, 0, View()->width(), 30));
}

TEST_F(MainWindowTest, MenuHoldsThePopUpsAndItemsWithTheirIds) {
  StartShown();
  const QList<QAction*> tops = window_->menuBar()->actions();
  ASSERT_EQ(tops.size(), 4);
  EXPECT_EQ(tops[0]->text(), QStringLiteral("ファイル(&F)"));
  EXPECT_EQ(tops[1]->text(), QStringLiteral("実行(&R)"));
  EXPECT_EQ(tops[2]->text(), QStringLiteral("ツール(&T)"));
  EXPECT_EQ(tops[3]->text(), QStringLiteral("ヘルプ(&H)"));
  struct Item {
    int id;
    const char* text;
  };
  const Item items[] = {{kMenuNew, "新規作成(&N)"},
                        {kMenuOpen, "ファイルを開く(&O)"},
                        {kMenuSaveAs, "名前をつけて保存(&A)"},
                        {kMenuSave, "上書き保存(&S)"},
                        {kMenuSavePicture, "画像を保存(&B)"},
                        {kMenuExit, "終了(&Q)"},
                        {kMenuRunBondGraph, "ボンドグラフの実行"},
                        {kMenuRunFromModelSource, "VRKファイルから実行"},
                        {kMenuExperimentalData, "実験値入力(&E)"},
                        {kMenuSelectCompiler, "コンパイラの選択(&C)"},
                        {kMenuCheckVariables, "変数のチェック(&V)"},
                        {kMenuIntegralEquations, "積分方程式"},
                        {kMenuDifferentialEquations, "微分方程式"},
                        {kMenuHelp, "ヘルプの表示(&C)"},
                        {kMenuVersion, "バージョン情報(&A)"}};
  for (const Item& it : items) {
    QAction* a = window_->MainMenu()->Item(it.id);
    ASSERT_NE(a, nullptr) << it.id;
    EXPECT_EQ(a->text(), QString::fromUtf8(it.text)) << it.id;
  }
  // File pop-up order; the equations pop-up sits in Tools after the variable check.
  const QList<QAction*> file = tops[0]->menu()->actions();
  ASSERT_EQ(file.size(), 6);
  EXPECT_EQ(file[2]->data().toInt(), kMenuSaveAs);
  EXPECT_EQ(file[3]->data().toInt(), kMenuSave);
  const QList<QAction*> tools = tops[2]->menu()->actions();
  ASSERT_EQ(tools.size(), 4);
  ASSERT_NE(tools[3]->menu(), nullptr);
  EXPECT_EQ(tools[3]->text(), QStringLiteral("方程式を表示"));
}

TEST_F(MainWindowTest, ScrollRangesFollowTheClientSize) {
  StartShown();
  EXPECT_EQ(g_vertScrollInfo.page, View()->height() - 28);
  EXPECT_EQ(g_horzScrollInfo.page, View()->width());
  // The worked size: 800 x 520.
  window_->OnSize(800, 520);
  EXPECT_EQ(g_vertScrollInfo.max, 1000);
  EXPECT_EQ(g_vertScrollInfo.page, 492);
  EXPECT_EQ(g_horzScrollInfo.max, 1500);
  EXPECT_EQ(g_horzScrollInfo.page, 800);
  QScrollBar* v = window_->Bars()->Bar(plat::SB_VERT);
  QScrollBar* h = window_->Bars()->Bar(plat::SB_HORZ);
  EXPECT_EQ(v->maximum(), 509);
  EXPECT_EQ(v->pageStep(), 492);
  EXPECT_EQ(h->maximum(), 701);

  struct Step {
    int bar, request, track, from, to;
  };
  const Step steps[] = {
      {plat::SB_VERT, plat::SB_LINEDOWN, 0, 500, 509},   // bounded at the last position
      {plat::SB_VERT, plat::SB_PAGEUP, 0, 10, 0},
      {plat::SB_VERT, plat::SB_LINEUP, 0, 30, 10},
      {plat::SB_VERT, plat::SB_PAGEDOWN, 0, 0, 492},
      {plat::SB_VERT, plat::SB_THUMBTRACK, 300, 0, 300},
      {plat::SB_VERT, plat::SB_BOTTOM, 0, 100, 100},      // other requests do not move
      {plat::SB_VERT, plat::SB_THUMBPOSITION, 250, 100, 100},
      {plat::SB_HORZ, plat::SB_PAGEDOWN, 0, 0, 701},
      {plat::SB_HORZ, plat::SB_LINEDOWN, 0, 700, 701},
      {plat::SB_HORZ, plat::SB_LINEUP, 0, 5, 0},
  };
  for (const Step& s : steps) {
    window_->OnScroll(s.bar, plat::SB_THUMBTRACK, s.from);
    window_->OnScroll(s.bar, plat::SB_THUMBTRACK, s.from);
    window_->OnScroll(s.bar, s.request, s.track);
    const int now = s.bar == plat::SB_VERT ? g_scrollY : g_scrollX;
    EXPECT_EQ(now, s.to) << "request " << s.request << " from " << s.from;
    EXPECT_EQ((s.bar == plat::SB_VERT ? g_vertScrollInfo : g_horzScrollInfo).pos, s.to);
    EXPECT_EQ((s.bar == plat::SB_VERT ? v : h)->value(), s.to);
  }
  // A step from the bar itself reaches the window as a line request.
  ScrollTo(plat::SB_VERT, 100);
  v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(g_scrollY, 120);
  EXPECT_EQ(v->value(), 120);
  v->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(g_scrollY, 0);
}

// Dragging a bar's thumb with the mouse: every move is a thumb-tracking request whose
// step is the tracked position minus the current one, so the scroll position follows
// the thumb (to the last position at most); releasing it moves nothing.
TEST_F(MainWindowTest, ThumbDragScrollsByTheTrackedPosition) {
  StartShown();
  for (int bar : {plat::SB_VERT, plat::SB_HORZ}) {
    QScrollBar* b = window_->Bars()->Bar(bar);
    const int& position = bar == plat::SB_VERT ? g_scrollY : g_scrollX;
    const plat::ScrollInfo& info = bar == plat::SB_VERT ? g_vertScrollInfo : g_horzScrollInfo;
    const bool vertical = bar == plat::SB_VERT;
    ASSERT_EQ(position, 0);
    QStyleOptionSlider option;
    option.initFrom(b);
    option.subControls = QStyle::SC_All;
    option.orientation = b->orientation();
    if (vertical) option.state &= ~QStyle::State_Horizontal;
    else option.state |= QStyle::State_Horizontal;
    option.minimum = b->minimum();
    option.maximum = b->maximum();
    option.sliderPosition = option.sliderValue = b->value();
    option.singleStep = b->singleStep();
    option.pageStep = b->pageStep();
    QStyle* style = b->style();
    const QRect handle = style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, b);
    const QRect groove = style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, b);
    ASSERT_FALSE(handle.isEmpty());
    const int length = vertical ? handle.height() : handle.width();
    const int span = (vertical ? groove.height() : groove.width()) - length;
    const auto along = [vertical](int d) { return vertical ? QPoint(0, d) : QPoint(d, 0); };

    const QPoint press = handle.center();
    QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, press);
    const int moved = span / 3;
    QTest::mouseMove(b, press + along(moved));
    const int expected = QStyle::sliderValueFromPosition(b->minimum(), b->maximum(),
                                                        (vertical ? handle.top() - groove.top()
                                                                  : handle.left() - groove.left()) + moved,
                                                        span);
    ASSERT_GT(expected, 0);
    EXPECT_EQ(position, expected) << "bar " << bar;
    EXPECT_EQ(info.pos, expected);
    EXPECT_EQ(b->sliderPosition(), expected);
    // Past the end of the groove: the last position M - P + 1.
    QTest::mouseMove(b, press + along(span * 2));
    EXPECT_EQ(position, info.max - info.page + 1) << "bar " << bar;
    QTest::mouseMove(b, press + along(moved));
    EXPECT_EQ(position, expected) << "bar " << bar;
    QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, press + along(moved));
    EXPECT_EQ(position, expected) << "bar " << bar;
    EXPECT_EQ(b->value(), expected);
  }
}

// Resizing the window rebuilds both bars from the new client size; the scroll
// positions stay as they were even where the bar can no longer show them.
TEST_F(MainWindowTest, WindowResizeRebuildsTheBarsWithoutClampingThePositions) {
  StartShown();
  ScrollTo(plat::SB_VERT, 400);
  ScrollTo(plat::SB_HORZ, 600);
  ASSERT_EQ(g_scrollY, 400);
  ASSERT_EQ(g_scrollX, 600);
  window_->resize(window_->width() + 200, window_->height() + 150);
  QApplication::processEvents();
  const int w = View()->width();
  const int h = View()->height();
  EXPECT_EQ(g_vertScrollInfo.page, h - 28);
  EXPECT_EQ(g_horzScrollInfo.page, w);
  QScrollBar* v = window_->Bars()->Bar(plat::SB_VERT);
  QScrollBar* hb = window_->Bars()->Bar(plat::SB_HORZ);
  EXPECT_EQ(v->pageStep(), h - 28);
  EXPECT_EQ(v->maximum(), 1000 - (h - 28) + 1);
  EXPECT_EQ(hb->maximum(), 1500 - w + 1);
  ASSERT_LT(v->maximum(), 400);  // the bar cannot show 400 any more
  EXPECT_EQ(g_scrollY, 400);
  EXPECT_EQ(g_vertScrollInfo.pos, 400);
  EXPECT_EQ(v->value(), v->maximum());
  EXPECT_EQ(g_scrollX, 600);
  EXPECT_EQ(g_horzScrollInfo.pos, 600);
  EXPECT_EQ(hb->value(), hb->maximum());
}

// The right button on the toolbar (a button, a separator, the empty end) or on a
// scroll bar is not a right click of the window: the tool stays.
TEST_F(MainWindowTest, RightClicksOnTheToolbarAndTheBarsLeaveTheToolAlone) {
  StartShown();
  window_->OnCommand(ToolOfKind(kKindSE));
  const QPoint emptyEnd(View()->width() - 10, 10);
  struct Target {
    const char* name;
    QWidget* widget;
    QPoint at;
  };
  const Target targets[] = {
      {"tool button", g_toolbar->ButtonWidget(kToolBond), g_toolbar->ButtonWidget(kToolBond)->rect().center()},
      {"greyed button", g_toolbar->ButtonWidget(kToolbarGreyed), g_toolbar->ButtonWidget(kToolbarGreyed)->rect().center()},
      {"empty end of the band", View(), emptyEnd},
      {"vertical bar", window_->Bars()->Bar(plat::SB_VERT), window_->Bars()->Bar(plat::SB_VERT)->rect().center()},
      {"horizontal bar", window_->Bars()->Bar(plat::SB_HORZ), window_->Bars()->Bar(plat::SB_HORZ)->rect().center()},
  };
  for (const Target& t : targets) {
    // Through the window, so that the click lands on whatever lies at that point.
    QTest::mouseClick(Handle(), Qt::RightButton, Qt::NoModifier, t.widget->mapTo(window_.get(), t.at));
    QApplication::processEvents();
    EXPECT_EQ(g_currentTool, ToolOfKind(kKindSE)) << t.name;
    EXPECT_TRUE(g_toolbar->IsChecked(ToolOfKind(kKindSE))) << t.name;
    EXPECT_FALSE(g_toolbar->IsChecked(kToolSelect)) << t.name;
    EXPECT_FALSE(g_toolbar->IsChecked(kToolBond)) << t.name;
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << t.name;  // no context menu
    EXPECT_EQ(g_scrollX, 0) << t.name;
    EXPECT_EQ(g_scrollY, 0) << t.name;
  }
  // The same button on the canvas does switch the tool.
  RealClick(400, 300, Qt::RightButton);
  EXPECT_EQ(g_currentTool, kToolSelect);
}

// A settings name that is no readable file (a directory, a FIFO, a file without read
// permission) reads as empty settings: the window starts, the compiler dialog shows
// nothing, and nothing is written.
TEST_F(MainWindowTest, StartsWithAnUnreadableSettingsFile) {
  struct Case {
    const char* name;
    int (*make)(const char* path);
  };
  const Case cases[] = {
      {"vork.ini", [](const char* p) { return mkdir(p, 0755); }},
      {"VORK.INI", [](const char* p) { return mkdir(p, 0755); }},
      {"vork.ini", [](const char* p) { return mkfifo(p, 0644); }},
      {"vork.ini", [](const char* p) {
         WriteFileBytes(p, "[Compiler]\r\nType=1\r\n[Directory]\r\nData=None\r\n");
         return chmod(p, 0);
       }},
  };
  for (const Case& c : cases) {
    TempCwd start;
    ASSERT_EQ(c.make(c.name), 0) << c.name;
    struct stat before;
    ASSERT_EQ(lstat(c.name, &before), 0);
    if (S_ISREG(before.st_mode) && access(c.name, R_OK) == 0) continue;  // root reads it all the same
    ResetEditorState();
    plat::dlgscript::Begin();
    std::string c1 = "<unset>";
    plat::dlgscript::Queue("SELECT_COMPILER", [&c1](plat::Dialog& d) {
      c1 = d.GetText(dlgres::kCCommandEdit);
      d.Press(plat::IDOK);
    });
    window_.reset(StartMainWindow(SW_SHOWNORMAL));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get())) << c.name;
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(plat::dlgscript::Pending("SELECT_COMPILER"), 0);
    EXPECT_EQ(c1, "");
    EXPECT_EQ(g_language, 0);
    EXPECT_EQ(g_advanceMode, 0);
    EXPECT_EQ(g_startDirectory, start.path());
    struct stat after;
    ASSERT_EQ(lstat(c.name, &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode) << c.name;  // still what it was
    EXPECT_EQ(after.st_size, before.st_size) << c.name;
    window_.reset();
    if (S_ISREG(before.st_mode)) chmod(c.name, 0600);
  }
}

TEST_F(MainWindowTest, ClicksPlaceElementsAtTheCanvasPointOfTheClientPoint) {
  StartShown();
  window_->OnCommand(ToolOfKind(kKindC));
  EXPECT_EQ(g_currentTool, ToolOfKind(kKindC));
  EXPECT_TRUE(g_toolbar->IsChecked(ToolOfKind(kKindC)));
  EXPECT_FALSE(g_toolbar->IsChecked(kToolSelect));

  RealClick(200, 150);
  ASSERT_EQ(g_elementCount, 1);
  EXPECT_EQ(g_document.elements[0].box.left, 185);
  EXPECT_EQ(g_document.elements[0].box.top, 135);
  EXPECT_EQ(g_documentSaved, 0);

  // Scrolled by (100, 40): the same client point is canvas (300, 190).
  ScrollTo(plat::SB_HORZ, 100);
  ScrollTo(plat::SB_VERT, 40);
  RealClick(200, 150);
  ASSERT_EQ(g_elementCount, 2);
  EXPECT_EQ(g_document.elements[1].box.left, 285);
  EXPECT_EQ(g_document.elements[1].box.top, 175);
  EXPECT_EQ(ElementLabel(1), "C2");

  // The window shows canvas (x + 100, y + 40) at client (x, y): C2's label at client (185, 135).
  const QImage shown = View()->grab().toImage();
  int ink = 0;
  for (int y = 135; y < 165; ++y)
    for (int x = 185; x < 215; ++x)
      if ((shown.pixel(x, y) & 0xFFFFFF) == 0) ++ink;
  EXPECT_GT(ink, 30);

  // A click in the band hits the toolbar, never the canvas: its empty end, or the greyed button.
  RealClick(View()->width() - 20, 10);
  EXPECT_EQ(g_elementCount, 2);
  const QPoint greyed = g_toolbar->ButtonWidget(kToolbarGreyed)->geometry().center();
  RealClick(greyed.x(), greyed.y());
  EXPECT_EQ(g_elementCount, 2);
  EXPECT_EQ(g_currentTool, ToolOfKind(kKindC));
  // A click onto an existing box is refused.
  RealClick(200, 150);
  EXPECT_EQ(g_elementCount, 2);
}

TEST_F(MainWindowTest, RightClickCyclesTheToolsWhileNothingIsSelected) {
  StartShown();
  window_->OnCommand(ToolOfKind(kKindC));
  const int expected[] = {kToolSelect, kToolBond, kToolSelect, kToolBond};
  for (int tool : expected) {
    RealClick(400, 300, Qt::RightButton);
    EXPECT_EQ(g_currentTool, tool);
    EXPECT_TRUE(g_toolbar->IsChecked(tool));
    EXPECT_FALSE(g_toolbar->IsChecked(tool == kToolSelect ? kToolBond : kToolSelect));
    EXPECT_FALSE(g_toolbar->IsChecked(ToolOfKind(kKindC)));
  }
  // With something selected, or a bond in progress, the tool stays.
  g_document.selectionActive = 1;
  RealClick(400, 300, Qt::RightButton);
  EXPECT_EQ(g_currentTool, kToolBond);
  g_document.selectionActive = 0;
  g_bondDrawing = 1;
  window_->OnRButtonDown(400, 300);
  EXPECT_EQ(g_currentTool, kToolBond);
  g_bondDrawing = 0;
}

TEST_F(MainWindowTest, ToolbarClicksChangeTheToolAndAChosenToolStaysChecked) {
  StartShown();
  QWidget* se = g_toolbar->ButtonWidget(ToolOfKind(kKindSE));
  ASSERT_NE(se, nullptr);
  QTest::mouseClick(se, Qt::LeftButton);
  EXPECT_EQ(g_currentTool, ToolOfKind(kKindSE));
  EXPECT_TRUE(g_toolbar->IsChecked(ToolOfKind(kKindSE)));
  EXPECT_TRUE(g_toolbar->Action(ToolOfKind(kKindSE))->isChecked());
  EXPECT_FALSE(g_toolbar->Action(kToolSelect)->isChecked());
  // Choosing it again changes nothing (the button does not toggle off).
  QTest::mouseClick(se, Qt::LeftButton);
  EXPECT_EQ(g_currentTool, ToolOfKind(kKindSE));
  EXPECT_TRUE(g_toolbar->Action(ToolOfKind(kKindSE))->isChecked());
  // A non-tool button is never left checked.
  QTest::mouseClick(g_toolbar->ButtonWidget(kToolbarNumericConditions), Qt::LeftButton);
  EXPECT_FALSE(g_toolbar->Action(kToolbarNumericConditions)->isChecked());
  EXPECT_EQ(g_currentTool, ToolOfKind(kKindSE));
}

TEST_F(MainWindowTest, EveryCommandEndsABondInProgressAndRestoresTheDrawing) {
  StartShown();
  g_drawDC->Line(0, 500, 1999, 500, plat::Pen::Dot(1, plat::MakeRgb(7, 0, 0)));
  g_bondDrawing = 1;
  window_->MainMenu()->Item(kMenuVersion)->trigger();
  EXPECT_EQ(g_bondDrawing, 0);
  EXPECT_EQ(g_drawDC->Pixel(1000, 500), plat::kWhite);
  EXPECT_EQ(g_currentTool, kToolSelect);
}

TEST_F(MainWindowTest, BondToolClickAndKeysMarkTheDocumentModified) {
  StartShown();
  window_->OnCommand(kToolBond);
  RealClick(600, 400);
  EXPECT_EQ(g_documentSaved, 0);

  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int selectionIsElement;
    int savedAfter;
  };
  const Case cases[] = {
      {Qt::Key_Left, Qt::NoModifier, 0, 0},    // nothing selected: modified
      {Qt::Key_Tab, Qt::NoModifier, 0, 0},     // Tab reaches the window
      {Qt::Key_A, Qt::NoModifier, 1, 1},       // an element selected: keys other than Delete do nothing
      {Qt::Key_Delete, Qt::NoModifier, 1, 0},  // Delete always marks
      {Qt::Key_A, Qt::AltModifier, 0, 1},      // Alt keys belong to the menu
      {Qt::Key_F10, Qt::NoModifier, 0, 1},
  };
  for (const Case& c : cases) {
    g_documentSaved = 1;
    g_document.selectionIsElement = c.selectionIsElement;
    QTest::keyClick(View(), c.key, c.mods);
    EXPECT_EQ(g_documentSaved, c.savedAfter) << "key " << c.key;
  }
  g_document.selectionIsElement = 0;
}

TEST_F(MainWindowTest, DeletingTheElementHeldByTheButtonEndsItsDrag) {
  StartShown();
  g_elementDragging = 1;
  g_document.selectionActive = 1;
  g_document.selectionIsElement = 1;
  window_->OnKeyDown(plat::VK_DELETE);
  EXPECT_EQ(g_elementDragging, 0);
  EXPECT_EQ(g_document.selectionActive, 0);
  // Without a selection the drag goes on.
  g_elementDragging = 1;
  window_->OnKeyDown(plat::VK_DELETE);
  EXPECT_EQ(g_elementDragging, 1);
  g_elementDragging = 0;
}

TEST_F(MainWindowTest, PointerMovesArriveWithNoButtonDownAndOnlyWhenThePointerMoved) {
  struct Recorder : plat::WindowEvents {
    std::vector<QPoint> moves;
    void OnMouseMove(int x, int y) override { moves.emplace_back(x, y); }
  } recorder;
  plat::ClientView view(&recorder);
  view.resize(300, 200);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  QTest::mouseMove(view.windowHandle(), QPoint(50, 60));
  QTest::mouseMove(view.windowHandle(), QPoint(50, 60));
  QTest::mouseMove(view.windowHandle(), QPoint(70, 80));
  QApplication::processEvents();
  ASSERT_GE(recorder.moves.size(), 2u);
  EXPECT_EQ(recorder.moves.back(), QPoint(70, 80));
  for (size_t i = 1; i < recorder.moves.size(); ++i) EXPECT_NE(recorder.moves[i], recorder.moves[i - 1]);
}

// Overlay marks are drawn over the canvas copy at once and stay through the updates of
// the event that drew them and through other repaints, until the canvas is next shown
// anew after that event.
TEST_F(MainWindowTest, OverlayStaysUntilTheNextCanvasUpdate) {
  struct Copy : plat::WindowEvents {
    int paints = 0;
    void OnPaint(plat::WindowPaint&) override { ++paints; }
  } events;
  plat::ClientView view(&events);
  view.resize(200, 150);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const auto marked = [&view] {
    const QImage image = view.grab().toImage();
    for (int y = 40; y < 70; ++y)
      for (int x = 40; x < 70; ++x)
        if (image.pixel(x, y) == qRgb(255, 0, 0)) return true;
    return false;
  };
  const plat::Pen red = plat::Pen::Solid(1, plat::MakeRgb(255, 0, 0));
  const auto mark = [red](plat::WindowPaint& p) { p.Ellipse(40, 40, 70, 70, red); };
  struct Case {
    const char* update;
    std::function<void()> run;
    bool kept;
  };
  const Case cases[] = {
      {"repaint of the window", [&view] { view.repaint(); }, true},
      {"Invalidate elsewhere", [&view] { view.Invalidate(150, 100, 160, 110); }, false},
      {"PresentNow", [&view] { view.PresentNow(); }, false},
      {"size change", [&view] { view.resize(view.width() + 10, 150); }, false},
      {"ClearOverlay", [&view] { view.ClearOverlay(); }, false},
  };
  for (const Case& c : cases) {
    const int paints = events.paints;
    view.SetOverlay(mark);
    // An update within the same event leaves the overlay.
    view.Invalidate(0, 0, 10, 10);
    QApplication::processEvents();
    EXPECT_GT(events.paints, paints) << c.update;
    EXPECT_TRUE(view.HasOverlay()) << c.update;
    EXPECT_TRUE(marked()) << c.update;
    c.run();
    QApplication::processEvents();
    EXPECT_EQ(view.HasOverlay(), c.kept) << c.update;
    EXPECT_EQ(marked(), c.kept) << c.update;
  }
}

TEST_F(MainWindowTest, CloseBoxAsksAndOnlyYesEndsTheWindow) {
  StartShown();
  plat::msgscript::Answer(plat::IDNO);
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(plat::msgscript::Records().size(), 1u);
  EXPECT_EQ(plat::msgscript::Records()[0].text, QStringLiteral("終了しますか？"));
  EXPECT_EQ(plat::msgscript::Records()[0].title, QStringLiteral("終了確認"));
  EXPECT_EQ(plat::msgscript::Records()[0].flags, plat::MB_YESNO | plat::MB_ICONQUESTION);
  // The question does not depend on the saved flag.
  g_documentSaved = 0;
  plat::msgscript::Answer(plat::IDYES);
  EXPECT_TRUE(window_->close());
  EXPECT_EQ(plat::msgscript::Records().size(), 2u);
  EXPECT_TRUE(window_->IsDestroyed());
  EXPECT_EQ(g_drawDC, nullptr);
  EXPECT_EQ(g_cleanDC, nullptr);
}

// Places one element of every kind and some bonds, then writes the window's picture.
TEST_F(MainWindowTest, PictureOfTheWindowWithEveryKindOfElement) {
  StartShown();
  struct Place {
    int tool, x, y;
  };
  const Place places[] = {{ToolOfKind(kKindC), 100, 120},  {ToolOfKind(kKindI), 100, 220},
                          {ToolOfKind(kKindR), 100, 320},  {ToolOfKind(kKindSE), 300, 120},
                          {ToolOfKind(kKindSF), 300, 320}, {ToolOfKind(kKindTF), 500, 120},
                          {ToolOfKind(kKindGY), 500, 320}, {ToolOfKind(kKindZeroJunction), 300, 220},
                          {ToolOfKind(kKindOneJunction), 500, 220}};
  for (const Place& p : places) {
    window_->OnCommand(p.tool);
    RealClick(p.x, p.y);
  }
  ASSERT_EQ(g_elementCount, 9);
  // Bonds as bond creation leaves them: C1 -> 0 (side 4 -> 0), 0 -> SE1 (2 -> 6), SF1 -> 0 (2 -> 6), 0 -> 1 (4 -> 0).
  struct B {
    int tail, f, head, g, strokeAtHead;
  };
  const B bonds[] = {{0, 4, 7, 0, 0}, {7, 2, 3, 6, 1}, {4, 2, 7, 6, 0}, {7, 4, 8, 0, 1}};
  for (const B& b : bonds) {
    const int k = AppendBond(b.tail, b.f, b.head, b.g);
    ASSERT_GE(k, 0);
    g_document.bonds[k].strokeAtHead = b.strokeAtHead;
    DrawBond(b.f, b.g, b.tail, b.head, *g_drawDC, k);
  }
  g_document.elements[6].staleMark = 1;  // GY1 circled
  View()->PresentNow();
  QApplication::processEvents();
  const QImage picture = window_->grab().toImage();
  const QString path = QStringLiteral(VORK_BINARY_DIR) + QStringLiteral("/editor/main_window.png");
  ASSERT_TRUE(picture.save(path));
  EXPECT_TRUE(QFile::exists(path));
  const std::vector<std::string> labels = {"C1", "I1", "R1", "SE1", "SF1", "TF1", "GY1", "0", "1"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ElementLabel(i), labels[i]);
}

}  // namespace

namespace {

TEST(MenuResource, BadResourceTextLeavesTheBarEmpty) {
  struct Case {
    const char* text;
    bool ok;
  };
  const Case cases[] = {
      {"m MENU BEGIN POPUP \"A\" BEGIN MENUITEM \"x\", 5 END END", true},
      {"m MENU BEGIN POPUP \"A\" BEGIN MENUITEM \"x\", five END END", false},  // id not a number
      {"m MENU BEGIN POPUP \"A\" BEGIN MENUITEM \"x\", 5 END", false},         // END missing
      {"m MENU BEGIN POPUP \"A BEGIN END END", false},                       // open quote
      {"m DIALOG BEGIN END", false},
  };
  for (const Case& c : cases) {
    QMenuBar bar;
    plat::Menu menu;
    int got = 0;
    EXPECT_EQ(menu.LoadText(&bar, QString::fromUtf8(c.text), [&](int id) { got = id; }), c.ok) << c.text;
    EXPECT_EQ(bar.actions().isEmpty(), !c.ok) << c.text;
    if (c.ok) {
      menu.Item(5)->trigger();
      EXPECT_EQ(got, 5);
    }
  }
}

TEST(VirtualKeys, KeyDownCodesOfTheWindow) {
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    int vk;
  };
  const Case cases[] = {
      {Qt::Key_Delete, Qt::NoModifier, 46},   {Qt::Key_Left, Qt::NoModifier, 37},
      {Qt::Key_Down, Qt::NoModifier, 40},     {Qt::Key_A, Qt::ShiftModifier, 'A'},
      {Qt::Key_7, Qt::NoModifier, '7'},       {Qt::Key_Tab, Qt::NoModifier, 9},
      {Qt::Key_Shift, Qt::ShiftModifier, 16}, {Qt::Key_Control, Qt::ControlModifier, 17},
      {Qt::Key_F1, Qt::NoModifier, 0x70},     {Qt::Key_F10, Qt::NoModifier, 0},
      {Qt::Key_Alt, Qt::AltModifier, 0},      {Qt::Key_X, Qt::AltModifier, 0},
      {Qt::Key_Comma, Qt::NoModifier, 0xBC},  {Qt::Key_unknown, Qt::NoModifier, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::VirtualKeyOf(c.key, c.mods), c.vk) << c.key;
}

// The window's scroll state and help cookie go back to their start values with
// the rest of the editor's state.
TEST(MainWindowState, ResetGivesTheStartValues) {
  g_vertScrollInfo = plat::ScrollInfo{0, 1000, 572, 40};
  g_horzScrollInfo = plat::ScrollInfo{0, 1500, 800, 60};
  g_helpCookie = 7;
  ResetEditorState();
  for (const plat::ScrollInfo& info : {g_vertScrollInfo, g_horzScrollInfo})
    EXPECT_EQ(info.min + info.max + info.page + info.pos, 0);
  EXPECT_EQ(g_helpCookie, 0u);
}

}  // namespace
