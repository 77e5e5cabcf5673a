// The window's two scroll bars with the classic meaning of range, page and
// position: a bar with minimum 0, maximum M and page P takes the positions
// 0 to M - P + 1. Every user action on a bar reaches WindowEvents::OnScroll
// as a scroll request; the bar then shows the position last set by SetInfo.
#pragma once

#include <QObject>

class QScrollBar;
class QWidget;

namespace plat {

class WindowEvents;

// The positions one arrow of a bar moves: the bar's own step and the window's line scroll.
inline constexpr int kScrollLine = 20;

struct ScrollInfo {
  int min = 0;
  int max = 0;
  int page = 0;
  int pos = 0;
};

class ScrollBars : public QObject {
  Q_OBJECT
 public:
  ScrollBars(WindowEvents* events, QWidget* parent);

  QScrollBar* Bar(int bar) const;  // SB_HORZ or SB_VERT
  // Range, page and position at once, then the bar is redrawn. The position
  // shown is kept within 0 .. max - page + 1; the value given is remembered.
  void SetInfo(int bar, const ScrollInfo& info);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Action(int bar, int action);
  void Released(int bar);
  static int Shown(const ScrollInfo& info);

  WindowEvents* events_;
  QScrollBar* bars_[2];
  ScrollInfo info_[2];
};

}  // namespace plat
