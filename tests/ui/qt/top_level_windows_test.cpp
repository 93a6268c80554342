#include "ui/top_level_windows.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

#include "fs/object_table.h"
#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/column_list.h"
#include "ui/control_anchor.h"
#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/window_access.h"

namespace {

constexpr uint32_t kAppFlags = kTestWindowFlags;

struct WindowTest : ::testing::Test {
  void SetUp() override { DrainEvents(); }
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
  }
};

TEST_F(WindowTest, CloseBoxQueuesCloseEventAndWindowStaysUntilClosed) {
  ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"SELECT", kAppFlags), 0);
  QWidget* window = WindowHandle(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->property("WK_WindowID").toLongLong(), 1);
  EXPECT_EQ(window->objectName(), QStringLiteral("WindowClass_0"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("SELECT"));
  DrainEvents();

  QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent());
  // First the wait dispatches the close request; the event comes with the next call.
  int32_t code = EventWait(-1);
  EXPECT_NE(code, CloseEvent);
  EXPECT_EQ(EventDetail(), -1);
  for (int i = 0; i < 10 && code != CloseEvent; ++i) code = EventWait(0);
  ASSERT_EQ(code, CloseEvent);
  EXPECT_EQ(EventControl(), 0);
  EXPECT_EQ(EventWindow(), 0);
  EXPECT_EQ(EventDetail(), 0);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(WindowHandle(0), window);

  WindowClose(0);
  EXPECT_EQ(WindowHandle(0), nullptr);
  WindowClose(0);  // nothing left: no effect
}

TEST_F(WindowTest, WaitWithoutEventsKeepsObjectAndClearsDetail) {
  EventPost(ControlEvent, 42, 0, 768);
  ASSERT_EQ(EventWait(0), ControlEvent);
  EXPECT_EQ(EventControl(), 42);
  EXPECT_EQ(EventDetail(), 768);
  DrainEvents();
  EXPECT_EQ(EventWait(0), 0);
  EXPECT_EQ(EventWait(30), 0);  // a finite wait with nothing to dispatch runs out
  EXPECT_EQ(EventControl(), 42);
  EXPECT_EQ(EventDetail(), -1);
}

TEST_F(WindowTest, WakeUpEndsAnUnlimitedWait) {
  EventWakeUp();
  EXPECT_EQ(EventWait(-1), kOtherMessage);
}

TEST_F(WindowTest, WaitReturnsTheNumberOfTheInputItDispatched) {
  ASSERT_NE(WindowCreate(0, 0, 0, 100, 100, u"", kAppFlags), 0);
  QWidget* window = WindowHandle(0);
  DrainEvents();
  const struct {
    QEvent::Type type;
    Qt::MouseButton button;
    int32_t number;
  } inputs[] = {{QEvent::MouseButtonRelease, Qt::LeftButton, 514},
                {QEvent::MouseButtonPress, Qt::RightButton, 516},
                {QEvent::MouseButtonRelease, Qt::MiddleButton, 520},
                {QEvent::MouseButtonDblClick, Qt::MiddleButton, 521},
                {QEvent::MouseButtonPress, Qt::BackButton, 523}};
  for (const auto& input : inputs) {
    PostMouse(window, input.type, input.button, {5, 5});
    EXPECT_EQ(EventWait(-1), input.number) << input.number;
    DrainEvents();
  }
  QCoreApplication::postEvent(
      window, new QWheelEvent(QPointF(5, 5), QPointF(window->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
  EXPECT_EQ(EventWait(-1), 522);
}

TEST_F(WindowTest, NumberInUseIsClosedFirstWithItsEvents) {
  ASSERT_NE(WindowCreate(3, 10, 10, 100, 100, u"old", kAppFlags), 0);
  QPointer<QWidget> old_window = WindowHandle(3);
  DrainEvents();
  EventPost(ControlEvent, 9, 3, 0);
  EventPost(ControlEvent, 9, 4, 0);
  ASSERT_NE(WindowCreate(3, 10, 10, 100, 100, u"new", kAppFlags), 0);
  EXPECT_TRUE(old_window.isNull());
  ASSERT_NE(WindowHandle(3), nullptr);
  EXPECT_EQ(WindowHandle(3)->windowTitle(), QStringLiteral("new"));
  // The old window's event went with it; the other window's stays.
  int32_t code;
  bool saw_other = false;
  while ((code = EventWait(0)) != 0) {
    if (code != ControlEvent) continue;
    EXPECT_EQ(EventWindow(), 4);
    saw_other = true;
  }
  EXPECT_TRUE(saw_other);
}

TEST_F(WindowTest, FreshWindowsGetIdsOfTheirOwnAndCloseAllTakesEveryWindow) {
  const int64_t a = WindowCreate(kAutoNumber, 0, 0, 50, 50, u"", 0);
  const int64_t b = WindowCreate(kAutoNumber, 0, 0, 50, 50, u"", 0);
  ASSERT_LT(a, -1);
  ASSERT_LT(b, -1);
  EXPECT_NE(a, b);
  ASSERT_NE(WindowHandle(a), nullptr);
  EXPECT_EQ(WindowHandle(a)->objectName(), QStringLiteral("WindowClass_%1").arg(a));
  EXPECT_EQ(WindowNumberOf(WindowHandle(b)), b);
  ASSERT_NE(WindowCreate(1, 0, 0, 50, 50, u"", 0), 0);
  WindowClose(kAutoNumber);
  EXPECT_EQ(WindowHandle(a), nullptr);
  EXPECT_EQ(WindowHandle(b), nullptr);
  EXPECT_EQ(WindowHandle(1), nullptr);
}

TEST_F(WindowTest, FlagsGiveDecorationsAndPlacement) {
  // The application's flags: title, close box and sizing border; no minimise or
  // maximise button; the frame at the position asked for.
  ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"", kAppFlags), 0);
  const QWidget* window = WindowHandle(0);
  const Qt::WindowFlags f = window->windowFlags();
  EXPECT_TRUE(f & Qt::WindowTitleHint);
  EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(f & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(800, 100));
  EXPECT_EQ(window->size(), QSize(600, 600));
  EXPECT_NE(window->minimumSize(), window->maximumSize());

  // Without a sizing border the size is fixed; hidden windows are not shown; a
  // centred window sits in the middle of the screen.
  ASSERT_NE(WindowCreate(1, 0, 0, 200, 100, u"", kWindowCaption | kWindowHidden | kWindowCentreOnScreen), 0);
  const QWidget* fixed = WindowHandle(1);
  EXPECT_EQ(fixed->minimumSize(), fixed->maximumSize());
  EXPECT_FALSE(fixed->isVisible());
  const QRect screen = fixed->screen()->geometry();
  const QSize outer = fixed->frameGeometry().size();  // the client area and the frame
  EXPECT_EQ(fixed->size(), QSize(200, 100));
  EXPECT_EQ(fixed->frameGeometry().topLeft(), QPoint(screen.x() + (screen.width() - outer.width()) / 2,
                                                     screen.y() + (screen.height() - outer.height()) / 2));
}

TEST_F(WindowTest, MovesSizesStatesAndClicksOfTheWindowBecomeEvents) {
  ASSERT_NE(WindowCreate(2, 100, 100, 300, 200, u"", kAppFlags), 0);
  QWidget* window = WindowHandle(2);
  DrainEvents();
  auto taken = [] {
    std::vector<std::pair<int32_t, int64_t>> events;
    for (int32_t code = EventWait(kSettleMs); code != 0; code = EventWait(kSettleMs))
      if (code >= ActivatedEvent && code <= ResizedEvent) events.emplace_back(code, EventControl());
    return events;
  };
  auto has = [](const auto& events, int32_t code) {
    return std::any_of(events.begin(), events.end(), [&](const auto& e) { return e.first == code; });
  };

  window->move(150, 120);
  auto events = taken();
  EXPECT_TRUE(has(events, MovedEvent));
  for (const auto& e : events) {
    if (e.first == MovedEvent) {
      EXPECT_EQ(e.second, 2);  // the window's number
    }
  }
  window->resize(320, 240);
  EXPECT_TRUE(has(taken(), ResizedEvent));

  window->setWindowState(Qt::WindowMinimized);
  events = taken();
  EXPECT_TRUE(has(events, MinimisedEvent));
  EXPECT_FALSE(has(events, ResizedEvent));
  window->setWindowState(Qt::WindowNoState);
  events = taken();
  ASSERT_TRUE(has(events, RestoredEvent));
  EXPECT_TRUE(has(events, ResizedEvent));
  window->setWindowState(Qt::WindowMaximized);
  EXPECT_TRUE(has(taken(), MaximisedEvent));

  // Clicks on the window's own client area.
  SendClick(window, QPoint(5, 5));
  SendClick(window, QPoint(5, 5), Qt::RightButton);
  SendDoubleClick(window, QPoint(5, 5));
  events = taken();
  EXPECT_TRUE(has(events, LeftButtonUpEvent));
  EXPECT_TRUE(has(events, RightButtonUpEvent));
  EXPECT_TRUE(has(events, LeftDoubleClickEvent));
}

TEST_F(WindowTest, OwnedWindowClosesWithItsOwner) {
  ASSERT_NE(WindowCreate(0, 0, 0, 400, 400, u"", kAppFlags), 0);
  ASSERT_NE(WindowCreate(1, 0, 0, 100, 100, u"", kAppFlags | kWindowCentreOnOwner, 0), 0);
  const QWidget* owned = WindowHandle(1);
  EXPECT_EQ(owned->frameGeometry().topLeft(), QPoint(150, 150));
  EXPECT_TRUE(owned->isWindow());
  WindowClose(0);
  EXPECT_EQ(WindowHandle(1), nullptr);
  // The number is free again; a window asked to be owned by the one it replaces
  // gets no owner. Without an owner to centre on, it stands where it was asked to.
  EXPECT_NE(WindowCreate(1, 120, 80, 100, 100, u"", kAppFlags | kWindowCentreOnOwner), 0);
  EXPECT_EQ(WindowHandle(1)->frameGeometry().topLeft(), QPoint(120, 80));
  ASSERT_NE(WindowCreate(1, 0, 0, 100, 100, u"", kAppFlags, 1), 0);
  EXPECT_EQ(WindowHandle(1)->parentWidget(), nullptr);
}

}  // namespace

namespace {

TEST_F(WindowTest, ShortcutsBecomeCommandEventsOfTheirWindow) {
  ASSERT_NE(WindowCreate(3, 100, 100, 300, 200, u"", kAppFlags), 0);
  EXPECT_TRUE(WindowAcceleratorAdd(3, u"Ctrl+Q", 7));
  EXPECT_TRUE(WindowAcceleratorAdd(3, u"F5", 8));
  EXPECT_FALSE(WindowAcceleratorAdd(3, u"", 9));
  EXPECT_FALSE(WindowAcceleratorAdd(4, u"F6", 9));  // no such window
  QWidget* window = WindowHandle(3);
  window->activateWindow();
  DrainEvents();
  QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
  QTest::keyClick(window, Qt::Key_F5);
  QTest::keyClick(window, Qt::Key_Q);  // Q alone is no shortcut

  std::vector<std::pair<int64_t, int64_t>> commands;
  for (int32_t code = EventWait(kSettleMs); code != 0; code = EventWait(kSettleMs))
    if (code == CommandEvent) commands.emplace_back(EventControl(), EventWindow());
  EXPECT_EQ(commands, (std::vector<std::pair<int64_t, int64_t>>{{7, 3}, {8, 3}}));
}

}  // namespace

namespace {

TEST_F(WindowTest, AnchoredControlsFollowTheWindowFromTheirDesignedPlaces) {
  ASSERT_NE(WindowCreate(3, 100, 100, 400, 300, u"", kAppFlags), 0);
  QWidget* window = WindowHandle(3);
  ASSERT_NE(ColumnListCreate(5, 10, 20, 100, 50, u"", 10, 0), 0);
  ASSERT_NE(ColumnListCreate(6, 200, 20, 100, 50, u"", 10, 0), 0);
  QWidget* fixed = ControlFind(5)->handle;
  QWidget* anchored = ControlFind(6)->handle;
  ControlAnchorSet(6, {0.5, 0, 1, 1});
  EXPECT_EQ(anchored->geometry(), QRect(200, 20, 100, 50));
  // The window cannot be made smaller than it was asked for.
  EXPECT_EQ(window->minimumSize(), QSize(400, 300));

  window->resize(600, 400);  // 200 wider, 100 taller
  EXPECT_EQ(anchored->geometry(), QRect(300, 20, 200, 150));
  EXPECT_EQ(fixed->geometry(), QRect(10, 20, 100, 50));
  window->resize(400, 300);
  EXPECT_EQ(anchored->geometry(), QRect(200, 20, 100, 50));
  ControlAnchorSet(99, {1, 1, 1, 1});  // no such control: nothing happens
}

}  // namespace
