#include "platform/client_view.h"

#include "platform/canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>

namespace plat {

int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::AltModifier) return 0;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
    if (key == Qt::Key_F10) return 0;
    return 0x70 + (key - Qt::Key_F1);
  }
  switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Meta: return 0x5B;
    case Qt::Key_Menu: return 0x5D;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 0xBA;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 0xBC;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 0xBD;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 0xBE;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 0xBF;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 0xDE;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_unknown: return 0;
    default: break;
  }
  // Any other printable key still arrives as a key-down message.
  if (key > 0 && key < 0x01000000) return 0xDF;
  return 0;
}

void WindowPaint::CopyFrom(const Canvas& src, int srcLeft, int srcTop, int w, int h, int dstLeft, int dstTop) {
  if (w <= 0 || h <= 0) return;
  const QRect block(srcLeft, srcTop, w, h);
  const QRect clipped = block.intersected(src.Image().rect());
  if (clipped.isEmpty()) return;
  const QPoint target(dstLeft + (clipped.left() - srcLeft), dstTop + (clipped.top() - srcTop));
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.drawImage(target, src.Image(), clipped);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void WindowPaint::Ellipse(int left, int top, int right, int bottom, const Pen& pen) {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  PaintEllipse(painter_, left, top, right, bottom, pen, Brush::Null());
  painter_.restore();
}

ClientView::ClientView(WindowEvents* events, QWidget* parent) : QWidget(parent), events_(events) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  // Pointer moves arrive with no button down too (the bond rubber band).
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // The right button is an ordinary button here.
  setContextMenuPolicy(Qt::PreventContextMenu);
}

void ClientView::Invalidate(int left, int top, int right, int bottom) {
  if (DropArmedOverlay()) return;
  if (right > left && bottom > top) update(QRect(left, top, right - left, bottom - top));
}

void ClientView::SetOverlay(std::function<void(WindowPaint&)> draw) {
  overlay_ = std::move(draw);
  overlayArmed_ = false;
  const unsigned generation = ++overlayGeneration_;
  if (overlay_) {
    // Invalidations of the event that draws it leave it; later ones remove it.
    QTimer::singleShot(0, this, [this, generation]() {
      if (generation == overlayGeneration_) overlayArmed_ = true;
    });
  }
  update();
}

bool ClientView::DropArmedOverlay() {
  if (!overlay_ || !overlayArmed_) return false;
  SetOverlay({});  // repaints the whole window
  return true;
}

void ClientView::PresentNow() {
  DropArmedOverlay();
  if (isVisible()) repaint();
}

void ClientView::SetBand(QWidget* band, int height) {
  band_ = band;
  bandHeight_ = height;
  if (band_) {
    band_->setParent(this);
    band_->setGeometry(0, 0, width(), bandHeight_);
    band_->show();
  }
}

void ClientView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // What the copy does not reach shows the white window background.
  painter.fillRect(event->rect(), Qt::white);
  WindowPaint paint(painter);
  if (events_) events_->OnPaint(paint);
  if (overlay_) overlay_(paint);
}

void ClientView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  DropArmedOverlay();  // the whole window is shown anew
  if (band_) band_->setGeometry(0, 0, width(), bandHeight_);
  if (events_) events_->OnSize(width(), height());
}

void ClientView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  lastPos_ = p;
  event->accept();
  if (!events_) return;
  if (event->button() == Qt::LeftButton) {
    events_->OnLButtonDown(p.x(), p.y());
  } else if (event->button() == Qt::RightButton) {
    events_->OnRButtonDown(p.x(), p.y());
  }
}

void ClientView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  lastPos_ = p;
  event->accept();
  if (events_ && event->button() == Qt::LeftButton) events_->OnLButtonUp(p.x(), p.y());
}

void ClientView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  event->accept();
  if (p == lastPos_) return;
  lastPos_ = p;
  if (events_) events_->OnMouseMove(p.x(), p.y());
}

void ClientView::keyPressEvent(QKeyEvent* event) {
  const int vk = VirtualKeyOf(event->key(), event->modifiers());
  if (vk == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  if (events_) events_->OnKeyDown(vk);
}

void ClientView::wheelEvent(QWheelEvent* event) {
  // The window does not scroll by the wheel.
  event->accept();
}

bool ClientView::focusNextPrevChild(bool) {
  // Tab is a key of the window, not a focus move.
  return false;
}

}  // namespace plat
