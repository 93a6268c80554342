#include "ui/window_title.h"

#include <QWidget>

#include "ui/qt/window_access.h"

std::u16string WindowTitle(int64_t number) {
  const QWidget* window = WindowHandle(number);
  return window ? window->windowTitle().toStdU16String() : std::u16string();
}

void WindowSetTitle(int64_t number, const std::u16string& title) {
  if (QWidget* window = WindowHandle(number)) window->setWindowTitle(QString::fromStdU16String(title));
}
