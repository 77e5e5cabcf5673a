#include "platform/scroll_bars.h"

#include "platform/client_view.h"

#include <QAbstractSlider>
#include <QEvent>
#include <QScrollBar>

#include <algorithm>

namespace plat {

ScrollBars::ScrollBars(WindowEvents* events, QWidget* parent) : QObject(parent), events_(events) {
  bars_[SB_HORZ] = new QScrollBar(Qt::Horizontal, parent);
  bars_[SB_VERT] = new QScrollBar(Qt::Vertical, parent);
  for (int bar : {SB_HORZ, SB_VERT}) {
    QScrollBar* b = bars_[bar];
    b->setFocusPolicy(Qt::NoFocus);
    b->setContextMenuPolicy(Qt::PreventContextMenu);
    b->setSingleStep(kScrollLine);
    b->setRange(0, 0);
    b->installEventFilter(this);
    connect(b, &QAbstractSlider::actionTriggered, this, [this, bar](int action) { Action(bar, action); });
    connect(b, &QAbstractSlider::sliderReleased, this, [this, bar]() { Released(bar); });
  }
}

QScrollBar* ScrollBars::Bar(int bar) const { return bars_[bar == SB_VERT ? SB_VERT : SB_HORZ]; }

int ScrollBars::Shown(const ScrollInfo& info) {
  const int top = std::max(info.min, info.max - std::max(info.page, 1) + 1);
  return std::max(info.min, std::min(info.pos, top));
}

void ScrollBars::SetInfo(int bar, const ScrollInfo& info) {
  const int i = bar == SB_VERT ? SB_VERT : SB_HORZ;
  info_[i] = info;
  QScrollBar* b = bars_[i];
  const QSignalBlocker block(b);
  const int page = std::max(info.page, 0);
  const int top = std::max(info.min, info.max - std::max(page, 1) + 1);
  b->setRange(info.min, top);
  b->setPageStep(std::max(page, 1));
  b->setSliderPosition(Shown(info));
  b->setValue(Shown(info));
  // A page that covers the whole range leaves nothing to scroll.
  b->setEnabled(page <= info.max - info.min);
  b->update();
}

void ScrollBars::Action(int bar, int action) {
  QScrollBar* b = bars_[bar];
  int request = SB_ENDSCROLL;
  int track = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: request = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: request = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: request = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: request = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: request = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: request = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
      request = SB_THUMBTRACK;
      track = b->sliderPosition();
      break;
    default: break;
  }
  if (events_) events_->OnScroll(bar, request, track);
  // The handler decides the position (through SetInfo); Qt's own step is overridden.
  b->setSliderPosition(Shown(info_[bar]));
}

void ScrollBars::Released(int bar) {
  if (events_) events_->OnScroll(bar, SB_THUMBPOSITION, bars_[bar]->sliderPosition());
  const QSignalBlocker block(bars_[bar]);
  bars_[bar]->setSliderPosition(Shown(info_[bar]));
  bars_[bar]->setValue(Shown(info_[bar]));
}

bool ScrollBars::eventFilter(QObject* watched, QEvent* event) {
  // No wheel scrolling.
  if (event->type() == QEvent::Wheel) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace plat
