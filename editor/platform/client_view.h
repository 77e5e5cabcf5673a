// The main window's client area: a widget whose coordinates are client
// coordinates (the toolbar band, rows 0 to 29, lies inside it), turning Qt's
// mouse, key, paint and size events into the window messages the editor
// handles.
#pragma once

#include <QWidget>

#include <functional>

class QPainter;

namespace plat {

class Canvas;
struct Pen;

// Virtual-key codes of the keys the editor may see.
constexpr int VK_BACK = 8;
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_DELETE = 46;

// The key code a key press delivers, or 0 when the press is not a key-down
// message of the window (Alt, Alt-modified keys and F10 belong to the menu).
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// Scroll-bar identities and requests.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

// The window's surface while it is being painted.
class WindowPaint {
 public:
  explicit WindowPaint(QPainter& painter) : painter_(painter) {}
  // Copies w x h pixels from (srcLeft, srcTop) of the canvas to client point (dstLeft, dstTop).
  void CopyFrom(const Canvas& src, int srcLeft, int srcTop, int w, int h, int dstLeft, int dstTop);
  // A hollow ellipse in the box left..right-1 x top..bottom-1 of the client area.
  void Ellipse(int left, int top, int right, int bottom, const Pen& pen);

 private:
  QPainter& painter_;
};

// What the window does with its messages; client coordinates throughout.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnLButtonDown(int /*x*/, int /*y*/) {}
  virtual void OnLButtonUp(int /*x*/, int /*y*/) {}
  virtual void OnRButtonDown(int /*x*/, int /*y*/) {}
  virtual void OnMouseMove(int /*x*/, int /*y*/) {}
  virtual void OnKeyDown(int /*vk*/) {}
  virtual void OnPaint(WindowPaint& /*paint*/) {}
  virtual void OnSize(int /*width*/, int /*height*/) {}
  // request: SB_*; track: the thumb position for SB_THUMBTRACK/SB_THUMBPOSITION.
  virtual void OnScroll(int /*bar*/, int /*request*/, int /*track*/) {}
};

class ClientView : public QWidget {
  Q_OBJECT
 public:
  explicit ClientView(WindowEvents* events, QWidget* parent = nullptr);

  // Marks left..right-1 x top..bottom-1 for the next paint, without erasing.
  void Invalidate(int left, int top, int right, int bottom);
  // Paints the whole client area now, without waiting for the event loop.
  void PresentNow();
  // A child covering client rows 0 .. height-1 across the whole width (the toolbar band).
  void SetBand(QWidget* band, int height);
  // A picture on the window only, over the canvas copy and never part of the canvas:
  // drawn over every paint until the canvas is next shown anew (Invalidate, PresentNow,
  // a size change) after the current event has been handled; the updates of the event
  // that draws it leave it. An empty function removes it.
  void SetOverlay(std::function<void(WindowPaint&)> draw);
  void ClearOverlay() { SetOverlay({}); }
  bool HasOverlay() const { return static_cast<bool>(overlay_); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  WindowEvents* events_;
  QWidget* band_ = nullptr;
  int bandHeight_ = 0;
  QPoint lastPos_{-100000, -100000};
  std::function<void(WindowPaint&)> overlay_;
  bool overlayArmed_ = false;  // the next invalidation removes the overlay
  unsigned overlayGeneration_ = 0;
  // Removes an armed overlay (and repaints); true when there was one.
  bool DropArmedOverlay();
};

}  // namespace plat
