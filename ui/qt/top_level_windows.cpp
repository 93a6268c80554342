#include "ui/top_level_windows.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <memory>

#include "fs/object_table.h"
#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/geometry.h"
#include "ui/qt/numbered_window.h"
#include "ui/qt/window_access.h"
#include "ui/window_style.h"
#include "ui/window_table.h"

namespace {

struct WindowRecord {
  std::unique_ptr<NumberedWindow> handle;
  bool InUse() const { return handle != nullptr; }
};

void WindowRelease(WindowRecord& record) {
  const int64_t number = record.handle->Number();
  if (QWidget* owner = record.handle->parentWidget()) owner->activateWindow();
  record.handle.reset();
  // Whatever the destruction itself posted (focus and activation changes) goes too.
  EventRemoveWindow(number);
}

constexpr int64_t kTableStep = 16;
std::unique_ptr<ObjectTable<WindowRecord>> g_windows;

// The window system's decorations for the style bits.
Qt::WindowFlags QtFlags(uint32_t style, bool tool) {
  Qt::WindowFlags flags = (tool ? Qt::Tool : Qt::Window) | Qt::CustomizeWindowHint;
  if ((style & kWindowCaption) == kWindowCaption) flags |= Qt::WindowTitleHint;
  if (style & kWindowSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style & kWindowMinimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  if (style & kWindowMaximizeBox) flags |= Qt::WindowMaximizeButtonHint;
  if (!(style & (kWindowCaption | kWindowSizingBorder))) flags |= Qt::FramelessWindowHint;
  return flags;
}

// Centre of `outer` in `area` per axis, the size first capped at the area's.
QPoint Centred(const QRect& area, const QSize& outer) {
  const int w = std::min(outer.width(), area.width());
  const int h = std::min(outer.height(), area.height());
  return {area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2};
}

}  // namespace

void UiWindowsInit() { g_windows = std::make_unique<ObjectTable<WindowRecord>>(kTableStep, WindowRelease); }

void UiWindowsEnd() {
  WindowCloseAll();
  g_windows.reset();
}

int64_t WindowCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, const std::u16string& title,
                     uint32_t flags, std::optional<int64_t> owner) {
  if (!g_windows) return 0;
  auto taken = g_windows->Take(number);
  if (!taken.record) return 0;
  // Looked up after the number was taken: a window that owned itself is gone now.
  QWidget* owner_widget = owner ? WindowHandle(*owner) : nullptr;

  const WindowStyle asked = WindowStyleOf(flags);
  const uint32_t style = asked.style;
  const bool no_activate = !asked.activate;

  auto window = std::make_unique<NumberedWindow>(taken.id, owner_widget, QtFlags(style, asked.tool));
  NumberedWindow& w = *window;
  taken.record->handle = std::move(window);
  w.setWindowTitle(QString::fromStdU16String(title));
  w.setObjectName(QStringLiteral("WindowClass_%1").arg(taken.id));
  w.setProperty("WK_WindowID", QVariant::fromValue<qlonglong>(taken.id + 1));
  w.setAttribute(Qt::WA_ShowWithoutActivating, no_activate);
  const bool sizable = style & kWindowSizingBorder;
  w.SetDesignSize(QSize(QtSize(width), QtSize(height)));
  if (sizable)
    w.resize(w.DesignSize());
  else
    w.setFixedSize(w.DesignSize());

  // The window system's window exists from here on, so the frame's size is known for
  // placing it.
  w.winId();
  const WindowPlace place = WindowPlacementOf(asked, x, y, owner_widget != nullptr).place;
  if (place == WindowPlace::kCentreOnScreen) {
    if (const QScreen* screen = w.screen()) w.move(Centred(screen->geometry(), w.frameGeometry().size()));
  } else if (place == WindowPlace::kCentreOnOwner) {
    const QPoint at = Centred(owner_widget->frameGeometry(), w.frameGeometry().size());
    w.move(std::max(at.x(), 0), std::max(at.y(), 0));
  } else if (place == WindowPlace::kAsked) {
    w.move(QtCoordinate(x), QtCoordinate(y));
    w.KeepOnScreen(sizable);
  }

  const bool maximised = style & kWindowStartMaximised;
  const bool minimised = style & kWindowStartMinimised;
  if (!asked.hidden) {
    if (maximised)
      w.showMaximized();
    else if (minimised)
      w.showMinimized();
    else
      w.show();
    if (!no_activate) w.activateWindow();
  }
  w.SetMinimisedOrMaximised(maximised || minimised);
  if (asked.container) ControlContainerSet(&w);
  w.SetReady(true);
  return number == kAutoNumber ? taken.id : static_cast<int64_t>(reinterpret_cast<intptr_t>(&w));
}

bool WindowAcceleratorAdd(int64_t number, const std::u16string& keys, int64_t command) {
  QWidget* window = WindowHandle(number);
  const QKeySequence sequence(QString::fromStdU16String(keys), QKeySequence::PortableText);
  if (!window || sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) return false;
  auto* shortcut = new QShortcut(sequence, window);  // goes with the window
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, window,
                   [number, command] { EventPost(CommandEvent, command, number, 0); });
  return true;
}

void WindowClose(int64_t number) { CloseNumberedWindow(g_windows.get(), number); }

void WindowCloseAll() { CloseNumberedWindow(g_windows.get(), kAutoNumber); }

NativeHandle WindowHandle(int64_t number) {
  if (!g_windows) return nullptr;
  const WindowRecord* record = g_windows->Find(number);
  return record ? record->handle.get() : nullptr;
}

int64_t WindowNumberOf(NativeHandle handle) {
  for (const QWidget* widget = handle; widget; widget = widget->parentWidget()) {
    const QVariant id = widget->property("WK_WindowID");
    if (id.isValid()) return id.toLongLong() - 1;
  }
  return -1;
}
