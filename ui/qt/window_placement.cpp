#include "ui/qt/window_placement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// The screen whose available area holds the whole frame; null for none.
const QScreen* ScreenHolding(const QRect& frame) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().contains(frame)) return screen;
  return nullptr;
}

const QScreen* PointerScreen() {
  if (const QScreen* screen = QGuiApplication::screenAt(QCursor::pos())) return screen;
  return QGuiApplication::primaryScreen();
}

}  // namespace

void WindowKeepOnScreen(QWidget& window, bool sizable) {
  const QSize client = window.size();
  const QRect frame = window.frameGeometry();
  const QSize borders = frame.size() - client;
  const QScreen* holding = ScreenHolding(frame);
  const QScreen* screen = holding ? holding : PointerScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  // First the least size, so that a window framed only now (its frame was not known
  // at first) may still shrink to fit.
  if (sizable) {
    const QSize fits = (area.size() - borders).expandedTo(QSize(0, 0));
    window.setMinimumSize(client.boundedTo(fits));
  }
  if (holding) return;
  const QSize size = frame.size().boundedTo(area.size());
  const int x = std::clamp(frame.x(), area.left(), area.left() + area.width() - size.width());
  const int y = std::clamp(frame.y(), area.top(), area.top() + area.height() - size.height());
  if (size != frame.size()) window.resize(size - borders);
  window.move(x, y);
}
