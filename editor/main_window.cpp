#include "main_window.h"

#include "canvas_drawing.h"
#include "document.h"
#include "bond_creation.h"
#include "commands.h"
#include "element_dialogs.h"
#include "selection.h"
#include "platform/fs.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "run_settings_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QIcon>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <string>

MainWindow* g_mainWindow = nullptr;
plat::Toolbar* g_toolbar = nullptr;
plat::ScrollInfo g_vertScrollInfo;
plat::ScrollInfo g_horzScrollInfo;
unsigned long g_helpCookie = 0;

const plat::ToolbarButton kToolbarButtons[kToolbarButtonCount + 1] = {
    {0, kToolbarNew, plat::kButtonEnabled, plat::kStyleButton},
    {1, kToolbarOpen, plat::kButtonEnabled, plat::kStyleButton},
    {2, kToolbarSaveAs, plat::kButtonEnabled, plat::kStyleButton},
    {3, kToolbarPrint, plat::kButtonEnabled, plat::kStyleButton},
    {4, kToolbarGreyed, plat::kButtonIndeterminate, plat::kStyleButton},
    {5, kToolSelect, plat::kButtonEnabled, plat::kStyleButton},
    {6, ToolOfKind(kKindC), plat::kButtonEnabled, plat::kStyleButton},
    {7, ToolOfKind(kKindI), plat::kButtonEnabled, plat::kStyleButton},
    {8, ToolOfKind(kKindR), plat::kButtonEnabled, plat::kStyleButton},
    {9, ToolOfKind(kKindSE), plat::kButtonEnabled, plat::kStyleButton},
    {10, ToolOfKind(kKindSF), plat::kButtonEnabled, plat::kStyleButton},
    {11, ToolOfKind(kKindTF), plat::kButtonEnabled, plat::kStyleButton},
    {12, ToolOfKind(kKindGY), plat::kButtonEnabled, plat::kStyleButton},
    {13, ToolOfKind(kKindZeroJunction), plat::kButtonEnabled, plat::kStyleButton},
    {14, ToolOfKind(kKindOneJunction), plat::kButtonEnabled, plat::kStyleButton},
    {15, kToolBond, plat::kButtonEnabled, plat::kStyleButton},
    {16, kToolbarNumericConditions, plat::kButtonEnabled, plat::kStyleButton},
    {17, kToolbarRun, plat::kButtonEnabled, plat::kStyleButton},
    {18, kToolbarGraph, plat::kButtonEnabled, plat::kStyleButton},
    {0, 0, 0, plat::kStyleSeparator},                           // the separator entry
};

// Resources of the program (menu, toolbar pictures, icon), linked from the library.
static void InitProgramResources() { Q_INIT_RESOURCE(vrkt); }

namespace {

// Whether the message loop runs: only then does the window's destruction end it.
bool g_messageLoopRunning = false;

// The window pointers are set and cleared by the window itself.
void ResetMainWindowGlobals() {
  g_vertScrollInfo = plat::ScrollInfo{};
  g_horzScrollInfo = plat::ScrollInfo{};
  g_helpCookie = 0;
  g_messageLoopRunning = false;
}
const EditorResetHook kResetHook(&ResetMainWindowGlobals);

// The toolbar's pictures: bitmap 1000, one 25 x 17 image per bitmap index.
std::vector<QPixmap> ToolbarPictures() {
  std::vector<QString> glyphs;
  std::string text;
  if (plat::fs::ReadResource(":/vrkt/toolbar_glyphs.txt", &text)) {
    const QString all = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QStringList lines = all.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
      if (!line.trimmed().isEmpty()) glyphs.push_back(line.trimmed());
    }
  }
  glyphs.resize(kToolbarButtonCount);
  return plat::TextPictures(glyphs, 25, 17);
}

}  // namespace

// ---- creation and destruction -----------------------------------------------------------

MainWindow::MainWindow() {
  InitProgramResources();
  g_mainWindow = this;
  setWindowTitle(QString::fromLatin1(kMainWindowTitle));
  setWindowIcon(QIcon(QStringLiteral(":/vrkt/my_icon.xpm")));
  setContextMenuPolicy(Qt::PreventContextMenu);

  // The menu "mymenu".
  auto* bar = new QMenuBar(this);
  bar->setNativeMenuBar(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  setMenuBar(bar);
  menu_ = std::make_unique<plat::Menu>();
  menu_->Load(bar, QStringLiteral(":/vrkt/mymenu.menu"), [this](int id) { OnCommand(id); });

  // Client area (with the toolbar band inside it) and both scroll bars beside it.
  auto* frame = new QWidget(this);
  auto* grid = new QGridLayout(frame);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  view_ = new plat::ClientView(this, frame);
  bars_ = new plat::ScrollBars(this, frame);
  grid->addWidget(view_, 0, 0);
  grid->addWidget(bars_->Bar(plat::SB_VERT), 0, 1);
  grid->addWidget(bars_->Bar(plat::SB_HORZ), 1, 0);
  setCentralWidget(frame);
  setFocusProxy(view_);

  // Window creation proper.
  CreateToolbar(this);
  CreateCanvasBuffers(view_);
  InitDocumentAndSettings();
  g_helpCookie = 0;  // no help viewer on this platform
  g_documentSaved = 1;
  g_autoTimeStep = 0;

  requestedSize_ = QSize(kMainWindowWidth, kMainWindowHeight);
  resize(requestedSize_);
  move(kMainWindowX, kMainWindowY);
  view_->setFocus();
}

MainWindow::~MainWindow() {
  if (!destroyed_) OnDestroy();
  // The client area and the bars call back into this window: they go first.
  g_toolbar = nullptr;
  delete takeCentralWidget();
  view_ = nullptr;
  bars_ = nullptr;
  if (g_mainWindow == this) g_mainWindow = nullptr;
}

void MainWindow::OnDestroy() {
  destroyed_ = true;
  DeleteRegions();
  DeleteCanvasBuffers();
  if (g_messageLoopRunning) QCoreApplication::exit(0);
}

void MainWindow::DestroyWindow() {
  if (destroyed_) return;
  destroying_ = true;
  OnDestroy();
  close();
}

void MainWindow::KeepOuterSize() {
  if (isMaximized() || isMinimized() || isFullScreen()) return;
  const QSize extra = frameGeometry().size() - size();
  const QSize inner(kMainWindowWidth - extra.width(), kMainWindowHeight - extra.height());
  // A size other than the one asked for last is the user's: it stays.
  if (size() != requestedSize_ || inner == size()) return;
  requestedSize_ = inner;
  resize(inner);
}

bool MainWindow::OnClose() {
  if (destroyed_) return true;
  const int answer = plat::MessageBox(this, QStringLiteral("終了しますか？"), QStringLiteral("終了確認"),
                                      plat::MB_YESNO | plat::MB_ICONQUESTION);
  if (answer != plat::IDYES) return false;
  OnDestroy();
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (destroying_ || destroyed_ || OnClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

// ---- command dispatch -----------------------------------------------------------------------

namespace {

// A command id and what it runs.
struct CommandAction {
  int id;
  void (*run)();
};

// Runs the action of id; an id the table does not name does nothing.
template <std::size_t N>
void RunAction(const CommandAction (&table)[N], int id) {
  for (const CommandAction& a : table)
    if (a.id == id) return a.run();
}

}  // namespace

// ---- toolbar and tools --------------------------------------------------------------------

void CreateToolbar(MainWindow* window) {
  auto* bar = new plat::Toolbar(window->View(), ToolbarPictures(), [window](int id) { window->OnCommand(id); });
  bar->setObjectName(QStringLiteral("toolbar%1").arg(kToolbarId));
  bar->AddButtons(kToolbarButtons, kToolbarButtonCount);
  bar->InsertButton(5, kToolbarButtons[kToolbarButtonCount]);
  bar->InsertButton(17, kToolbarButtons[kToolbarButtonCount]);
  bar->Check(g_currentTool, true);
  window->View()->SetBand(bar, kToolbarBand);
  g_toolbar = bar;
}

void OnToolbarCommand(int id, MainWindow* /*window*/) {
  if (id >= kToolSelect && id <= kToolBond && id != g_currentTool) {
    if (g_toolbar) {
      g_toolbar->Check(id, true);
      g_toolbar->Check(g_currentTool, false);
    }
    g_currentTool = id;
  }
  // The tools and the greyed button have no action of their own.
  static constexpr CommandAction kToolbarActions[] = {
      {kToolbarNew, ToolbarNew},
      {kToolbarOpen, ToolbarOpen},
      {kToolbarSaveAs, ToolbarSaveAs},
      {kToolbarPrint, ToolbarPrint},
      {kToolbarNumericConditions, ToolbarNumericConditions},
      {kToolbarRun, ToolbarRun},
      {kToolbarGraph, ToolbarGraph},
  };
  RunAction(kToolbarActions, id);
}

void MainWindow::OnCommand(int id) {
  // The menu's own action first.
  static constexpr CommandAction kMenuActions[] = {
      {kMenuNew, MenuNew},
      {kMenuOpen, MenuOpen},
      {kMenuSave, MenuSave},
      {kMenuSaveAs, MenuSaveAs},
      {kMenuExit, MenuExit},
      {kMenuSavePicture, MenuSavePicture},
      {kMenuIntegralEquations, [] { MenuShowEquations(0); }},
      {kMenuDifferentialEquations, [] { MenuShowEquations(1); }},
      {kMenuRunBondGraph, MenuRunBondGraph},
      {kMenuRunFromModelSource, MenuRunFromModelSource},
      {kMenuExperimentalData, MenuExperimentalData},
      {kMenuSelectCompiler, MenuSelectCompiler},
      {kMenuCheckVariables, MenuCheckVariables},
      {kMenuHelp, MenuHelp},
      {kMenuVersion, MenuVersion},
  };
  RunAction(kMenuActions, id);
  if (destroyed_) return;
  // Then, for every command: no selection, no bond in progress.
  ClearSelection(view_);
  if (g_bondDrawing) CancelBondDrawing(view_);
  RedrawCurrentElementBonds(view_);
  OnToolbarCommand(id, this);
}

// ---- size, paint, scrolling -------------------------------------------------------------------

void MainWindow::OnSize(int width, int height) {
  g_vertScrollInfo = plat::ScrollInfo{0, kVertScrollMax, height - 28, g_scrollY};
  bars_->SetInfo(plat::SB_VERT, g_vertScrollInfo);
  g_horzScrollInfo = plat::ScrollInfo{0, kHorzScrollMax, width, g_scrollX};
  bars_->SetInfo(plat::SB_HORZ, g_horzScrollInfo);
}

void MainWindow::OnPaint(plat::WindowPaint& paint) {
  PaintMainWindow(paint);
  DrawMarks(view_);
}

void MainWindow::OnScroll(int bar, int request, int track) {
  const bool vertical = bar == plat::SB_VERT;
  plat::ScrollInfo& info = vertical ? g_vertScrollInfo : g_horzScrollInfo;
  int& position = vertical ? g_scrollY : g_scrollX;
  const int m = info.max;
  const int page = info.page;
  int p = info.pos;
  int d = 0;
  switch (request) {
    case plat::SB_LINEUP: d = -plat::kScrollLine; break;
    case plat::SB_LINEDOWN: d = plat::kScrollLine; break;
    case plat::SB_PAGEUP: d = -page; break;
    case plat::SB_PAGEDOWN: d = page; break;
    case plat::SB_THUMBTRACK: d = track - p; break;
    default: d = 0; break;
  }
  d = std::max(-p, std::min(d, m - page - p + 1));
  if (d == 0) return;
  p += d;
  position = p;
  info.pos = p;
  bars_->SetInfo(bar, info);
  view_->PresentNow();
}

// ---- mouse and keys -----------------------------------------------------------------------------

void MainWindow::OnMouseMove(int x, int y) {
  if (g_elementDragging) DragElement(view_, x, y);
  if (g_bondDrawing) TrackBondRubberBand(view_, x, y);
}

void MainWindow::OnLButtonDown(int x, int y) {
  if (g_currentTool == kToolSelect) OnSelectToolClick(view_, x, y);
  if (g_currentTool >= kToolFirstElement && g_currentTool <= kToolLastElement) {
    const int placed = AppendElementAt(x, y);
    if (placed >= 0) {
      DrawElement(view_, placed);
      g_documentSaved = 0;
    }
  }
  if (g_currentTool == kToolBond) {
    OnBondToolClick(view_, x, y);
    g_documentSaved = 0;
  }
  view_->PresentNow();
}

void MainWindow::EndElementDrag() {
  g_elementDragging = 0;
  AddCurrentElementToRegion();
  RedrawCurrentElementBonds(view_);
  InvalidateCanvas(view_);
  RebuildCurrentElementBondRegions();
  // An element put down elsewhere is a change of the document.
  if (DragMovedCurrentElement()) g_documentSaved = 0;
}

void MainWindow::OnLButtonUp(int /*x*/, int /*y*/) {
  if (g_currentTool == kToolSelect && g_elementDragging == 1) EndElementDrag();
}

void MainWindow::OnRButtonDown(int /*x*/, int /*y*/) {
  // The right button puts down an element the left one still holds: a dialog
  // takes the left button's release, and a tool change leaves it unheeded, so
  // the drag would go on with no button held.
  if (g_elementDragging == 1) EndElementDrag();
  const int hit = ClassifySelection();
  if (hit == HIT_ELEMENT) {
    RunElementParameterDialog(this);
    if (InElementTable(g_currentIndex)) g_document.elements[g_currentIndex].staleMark = 0;
    ClearSelection(view_);
    DrawMarks(view_);
    RedrawCurrentElementBonds(view_);
    InvalidateCanvas(view_);
  } else if (hit == HIT_BOND) {
    g_strokeBond = g_currentIndex;
    if (InBondTable(g_currentIndex)) {
      g_document.strokeHeadElement = g_document.bonds[g_currentIndex].headElement;
      g_document.strokeTailElement = g_document.bonds[g_currentIndex].tailElement;
    }
    // A stroke changed through the dialog is a change of the document.
    if (RunStrokeSelectDialog(this) == plat::IDOK) g_documentSaved = 0;
    ClearSelection(view_);
  } else if (g_document.selectionActive == 0 && g_bondDrawing == 0) {
    // Nothing selected, no bond in progress: the right button switches the tool.
    const int next = (g_currentTool >= kToolFirstElement && g_currentTool <= kToolBond) ? kToolSelect : kToolBond;
    if (g_toolbar) {
      g_toolbar->Check(g_currentTool, false);
      g_toolbar->Check(next, true);
    }
    g_currentTool = next;
  }
}

void MainWindow::OnKeyDown(int vk) {
  if (vk == plat::VK_DELETE) {
    // Deleting the element the button still holds ends its drag.
    const bool deletesDragged = g_elementDragging == 1 && g_document.selectionActive == 1 &&
                                g_document.selectionIsElement == 1;
    DeleteSelection(view_, g_document.selectedIndex);
    if (deletesDragged) g_elementDragging = 0;
    RedrawDiagram();
    g_document.selectionActive = 0;
    MarkStaleFeedbackRefs();
    // A drag still under way restores its steps from the clean canvas, which
    // must not hold the element it carries; the occupied region stays as it is.
    if (g_elementDragging == 1 && g_cleanDC) {
      const plat::Region occupied = g_document.occupiedRegion;
      RepaintAllButElement(*g_cleanDC, g_currentIndex);
      g_document.occupiedRegion = occupied;
    }
    InvalidateCanvas(view_);
    g_documentSaved = 0;
  }
  if (g_document.selectionIsElement != 1) {
    EditInitialValueOfSelectedBond(view_);
    ClearSelection(view_);
    g_documentSaved = 0;
  }
}

// ---- start-up -----------------------------------------------------------------------------------

MainWindow* StartMainWindow(int showState) {
  auto* window = new MainWindow();
  switch (showState) {
    case SW_HIDE: break;
    case SW_SHOWMINIMIZED: window->showMinimized(); break;
    case SW_SHOWMAXIMIZED: window->showMaximized(); break;
    default: window->show(); break;
  }
  if (showState != SW_HIDE && showState != SW_SHOWMAXIMIZED && showState != SW_SHOWMINIMIZED) {
    // 800 x 600 is the outer size, frame included; a window manager may report
    // its frame only after the window is mapped, so look again a moment later.
    window->KeepOuterSize();
    QTimer::singleShot(250, window, [window]() { window->KeepOuterSize(); });
  }
  window->View()->PresentNow();
  plat::RunDialog<SelectCompilerDialog>(window);
  return window;
}

int RunMessageLoop() {
  g_messageLoopRunning = true;
  const int code = QApplication::exec();
  g_messageLoopRunning = false;
  return code;
}

int WinMain(int showState) {
  std::unique_ptr<MainWindow> window(StartMainWindow(showState));
  const int code = RunMessageLoop();
  return code;
}
