// The main window "VORK Ver. 2.0": start-up, the window's messages (creation,
// destruction, size and scroll ranges, paint, scrolling, mouse, keys, close),
// the toolbar with the current tool, the menu "mymenu" and the command
// dispatch.
#pragma once

#include "platform/client_view.h"
#include "platform/scroll_bars.h"
#include "platform/toolbar.h"

#include <QMainWindow>

#include <memory>

class QMenuBar;
namespace plat {
class Menu;
}

inline constexpr char kMainWindowTitle[] = "VORK Ver. 2.0";
inline constexpr int kMainWindowX = 80;
inline constexpr int kMainWindowY = 60;
inline constexpr int kMainWindowWidth = 800;   // outer size
inline constexpr int kMainWindowHeight = 600;
inline constexpr int kToolbarId = 900;
inline constexpr int kToolbarBitmap = 1000;
inline constexpr int kVertScrollMax = 1000;
inline constexpr int kHorzScrollMax = 1500;

// Show states of the program's start.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWDEFAULT = 10;

// The toolbar's buttons in order (19 buttons, then the separator entry).
inline constexpr int kToolbarButtonCount = 19;
extern const plat::ToolbarButton kToolbarButtons[kToolbarButtonCount + 1];

class MainWindow;

extern MainWindow* g_mainWindow;
extern plat::Toolbar* g_toolbar;
extern plat::ScrollInfo g_vertScrollInfo;  // rebuilt at every size change; pos follows g_scrollY
extern plat::ScrollInfo g_horzScrollInfo;  // pos follows g_scrollX
extern unsigned long g_helpCookie;         // help is not available: stays 0

class MainWindow : public QMainWindow, public plat::WindowEvents {
  Q_OBJECT
 public:
  // Window creation: menu, client area, scroll bars, then the toolbar, the
  // canvases and the document.
  MainWindow();
  ~MainWindow() override;

  plat::ClientView* View() const { return view_; }
  plat::ScrollBars* Bars() const { return bars_; }
  plat::Menu* MainMenu() const { return menu_.get(); }

  // Destroys the window without asking (the menu's Exit): regions and canvases
  // released, the message loop ended with code 0.
  void DestroyWindow();
  bool IsDestroyed() const { return destroyed_; }

  // Window messages (client coordinates).
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnRButtonDown(int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnKeyDown(int vk) override;
  void OnPaint(plat::WindowPaint& paint) override;
  void OnSize(int width, int height) override;
  void OnScroll(int bar, int request, int track) override;
  // Every menu item and toolbar button.
  void OnCommand(int id);
  // The close box: asks "終了しますか？"; true when the window was destroyed.
  bool OnClose();
  // Sizes the window to 800 x 600 with its frame, unless the user resized it.
  void KeepOuterSize();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnDestroy();
  // The end of an element drag: the box back in the occupied region, the bonds
  // drawn and their hit regions rebuilt at the new place.
  void EndElementDrag();

  plat::ClientView* view_ = nullptr;
  plat::ScrollBars* bars_ = nullptr;
  std::unique_ptr<plat::Menu> menu_;
  bool destroying_ = false;
  bool destroyed_ = false;
  QSize requestedSize_;
};

// Builds the toolbar in the client area's band and checks the current tool.
void CreateToolbar(MainWindow* window);
// The tool change, then the toolbar action of the id.
void OnToolbarCommand(int id, MainWindow* window);

// Start-up up to the message loop: the main window created at (80, 60), 800 x
// 600, shown with the show state, then SELECT_COMPILER run modally. The
// caller owns the window.
MainWindow* StartMainWindow(int showState);
// The message loop; the code the window's destruction ends it with.
int RunMessageLoop();
// The whole program: start-up, then the message loop; the exit code.
int WinMain(int showState);
