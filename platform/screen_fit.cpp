#include "platform/screen_fit.h"

#include <algorithm>

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

namespace {

// The smallest a shrunk window is made: its buttons stay in reach by
// scrolling.
constexpr int SmallestWidth = 200;
constexpr int SmallestHeight = 150;

}  // namespace

QScrollArea* NewContentScroller(QWidget* content, QWidget* parent) {
  auto* scroller = new QScrollArea(parent);
  scroller->setObjectName("contentScroller");
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->setWidgetResizable(false);
  scroller->setWidget(content);
  return scroller;
}

namespace {

QRect FreeArea(QSize size) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), size);
}

}  // namespace

bool FitsOnScreen(QSize size) {
  const QRect area = FreeArea(size);
  return area.width() >= size.width() && area.height() >= size.height();
}

void PlaceOnScreen(QWidget& window, QSize size) {
  const QRect area = FreeArea(size);
  if (FitsOnScreen(size)) {
    window.setFixedSize(size);
    window.move(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2));
    return;
  }
  const QSize fitted(std::min(size.width(), std::max(SmallestWidth, area.width() - FrameAllowanceWidth)),
                     std::min(size.height(), std::max(SmallestHeight, area.height() - FrameAllowanceHeight)));
  window.setMinimumSize(fitted.boundedTo(QSize(SmallestWidth, SmallestHeight)));
  window.setMaximumSize(size);
  window.resize(fitted);
  window.move(area.topLeft());
}
