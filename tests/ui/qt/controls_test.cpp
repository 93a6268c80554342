// The generic control operations, through a control type made here the way every
// type is made: a widget, a record, a table of operations, ControlRegister.
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <algorithm>

#include "fs/object_table.h"
#include "fs/text.h"
#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/window_access.h"
#include "ui/top_level_windows.h"

namespace {

int g_released = 0;

// A label whose rows are kept in its text; it reports a command when a row is added,
// which the generic operation must keep out of the queue.
struct Rows : ControlTypeState {
  std::u16string items;
};

std::u16string Items(ControlRecord& r) { return static_cast<Rows&>(*r.state).items; }

const ControlOps kLabelOps = [] {
  ControlOps ops;
  ops.type_id = 99;
  ops.release = [](ControlRecord&) { ++g_released; };
  ops.get_state = [](ControlRecord& r) { return static_cast<int64_t>(Items(r).size()); };
  ops.add_item = [](ControlRecord& r, int64_t position, const std::u16string& text, int64_t) {
    static_cast<Rows&>(*r.state).items += text;
    ControlNotify(r.handle, {NoticeKind::kCommand, 5});
    return position + 100;
  };
  ops.clear_items = [](ControlRecord& r) {
    static_cast<Rows&>(*r.state).items.clear();
    ControlNotify(r.handle, {NoticeKind::kCommand, 6});
  };
  ops.get_item_text = [](ControlRecord& r, int64_t row, int64_t column) {
    return row == -1 ? u"title" + DecimalText(column) : Items(r);
  };
  // Notifications with code 7 are answered; every other falls through.
  ops.notify = [](ControlRecord&, QWidget*, const ControlNotice& n) { return n.code == 7 ? int64_t{1} : kNotHandled; };
  return ops;
}();

int64_t LabelCreate(int64_t number, const QString& text) {
  QWidget* container = ControlContainer();
  if (!container) return 0;
  auto* label = new QLabel(text, container);
  const ControlSlot slot = ControlTake(number);
  if (slot.record) slot.record->state = std::make_unique<Rows>();
  return ControlRegister(number, slot, label, kLabelOps);
}

struct ControlsTest : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(WindowCreate(0, 0, 0, 300, 300, u"", kTestWindowFlags), 0);
    DrainEvents();
    g_released = 0;
  }
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
  }
};

TEST_F(ControlsTest, RegisteredControlCarriesItsNumberAndAnswersThroughItsTable) {
  ASSERT_NE(LabelCreate(7, "caption"), 0);
  ControlRecord* record = ControlFind(7);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->handle->property("WK_ID").toLongLong(), 7);
  EXPECT_EQ(record->handle->parentWidget(), WindowHandle(0));
  EXPECT_EQ(ControlOf(record->handle), record);

  // No GetText slot: the widget's own text.
  EXPECT_EQ(ControlGetText(7), u"caption");
  EXPECT_EQ(ControlAddItem(7, 3, u"ab"), 103);
  EXPECT_EQ(ControlAddItem(7, -1, u"c"), 99);
  EXPECT_EQ(ControlGetState(7), 3);
  EXPECT_EQ(ControlItemText(7, 0, 0), u"abc");
  ControlClearItems(7);
  EXPECT_EQ(ControlGetState(7), 0);
  // What the control reported while rows were added or cleared was not queued.
  EXPECT_TRUE(DrainControlEvents().empty());

  // Empty numbers and missing slots fall back.
  ControlAddColumn(7, 0, u"x", 10);
  EXPECT_EQ(ControlGetText(8), u"");
  EXPECT_EQ(ControlGetState(8), 0);
  EXPECT_EQ(ControlItemText(8, 0, 0), u"");
  EXPECT_EQ(ControlAddItem(8, 0, u"x"), 0);
  ControlClearItems(8);
}

TEST_F(ControlsTest, CommandsBecomeControlEventsUnlessNotifyAnswers) {
  const int64_t id = LabelCreate(kAutoNumber, "");
  ASSERT_LT(id, -1);
  QWidget* label = ControlFind(id)->handle;
  EXPECT_EQ(ControlNotify(label, {NoticeKind::kCommand, 7}), 1);  // answered: no event
  EXPECT_EQ(ControlNotify(label, {NoticeKind::kNotify, 4}), 0);   // a notification unanswered: none either
  ControlNotify(label, {NoticeKind::kCommand, 4});
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{id, 0, 4}}));

  // A widget that is no control of the layer reports nothing.
  QLabel stray;
  ControlNotify(&stray, {NoticeKind::kCommand, 4});
  ControlEventPost(&stray, 0);
  EXPECT_TRUE(DrainControlEvents().empty());
}

TEST_F(ControlsTest, ReplacedOrDestroyedControlTakesItsEventsAlong) {
  ASSERT_NE(LabelCreate(2, "old"), 0);
  QPointer<QWidget> old_label = ControlFind(2)->handle;
  ControlEventPost(old_label, DetailChange);
  ASSERT_NE(LabelCreate(3, "other"), 0);
  ControlEventPost(ControlFind(3)->handle, DetailChange);

  ASSERT_NE(LabelCreate(2, "new"), 0);
  EXPECT_TRUE(old_label.isNull());
  EXPECT_EQ(g_released, 1);
  EXPECT_EQ(ControlGetText(2), u"new");
  EXPECT_EQ(DrainControlEvents(), (std::vector<SeenControlEvent>{{3, 0, DetailChange}}));

  // Closing the window destroys its controls, runs their Release routines and drops
  // every event of the window.
  ControlEventPost(ControlFind(2)->handle, 0);
  EventPost(ResizedEvent, 0, 0, 0);
  WindowClose(0);
  EXPECT_EQ(ControlFind(2), nullptr);
  EXPECT_EQ(ControlFind(3), nullptr);
  EXPECT_EQ(g_released, 3);
  const std::vector<int32_t> left = DrainEvents();
  EXPECT_EQ(std::count(left.begin(), left.end(), ControlEvent), 0);
  EXPECT_EQ(std::count(left.begin(), left.end(), ResizedEvent), 0);
  // No container any more: nothing can be created.
  EXPECT_EQ(LabelCreate(4, ""), 0);
}

TEST_F(ControlsTest, ControlDeletedByQtIsForgotten) {
  ASSERT_NE(LabelCreate(5, ""), 0);
  QWidget* label = ControlFind(5)->handle;
  ControlEventPost(label, 0);
  delete label;
  EXPECT_EQ(ControlFind(5), nullptr);
  EXPECT_EQ(g_released, 1);
  EXPECT_TRUE(DrainControlEvents().empty());
}

}  // namespace
