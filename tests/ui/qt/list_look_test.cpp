// How the lists look: rows as tall as the fonts that draw them, a fallback font
// included, and a frame that shows the keyboard focus.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTextLayout>
#include <QTreeWidget>

#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/column_list.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/line_list.h"
#include "ui/qt/window_access.h"
#include "ui/top_level_windows.h"

namespace {

// The lists draw with the mathematical font (fonts-dejavu-extra); this sign is drawn by
// the fallback, DejaVu Sans, whose lines are taller.
const char kListFont[] = "DejaVu Math TeX Gyre";
const std::u16string kMixed = u"plain \u2A1B";

// The height of one line of the text as Qt lays it out with the fonts it picks.
int LineHeight(const QWidget& widget, const std::u16string& text) {
  QTextLayout layout(QString::fromStdU16String(text), widget.font());
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(10000);
  layout.endLayout();
  return qCeil(line.height());
}

TEST(RowHeight, RowsWithFallbackFontsAreTallEnough) {
  ASSERT_NE(WindowCreate(0, 100, 100, 600, 600, u"", kTestWindowFlags), 0);
  ASSERT_NE(LineListCreate(6, 10, 350, 500, 200, 0), 0);
  ASSERT_NE(ColumnListCreate(2, 220, 10, 300, 300, u"Name", 250, 0), 0);
  for (const int64_t list : {6, 2}) {
    ControlFind(list)->handle->setFont(QFont(QString::fromLatin1(kListFont)));
    ControlAddItem(list, -1, u"plain");
    ControlAddItem(list, -1, kMixed);
  }
  auto& lines = *static_cast<QListWidget*>(ControlFind(6)->handle);
  auto& rows = *static_cast<QTreeWidget*>(ControlFind(2)->handle);
  const int needed = LineHeight(lines, kMixed);
  // Only meaningful where the fallback font is taller than the list's own.
  if (needed <= LineHeight(lines, u"plain")) GTEST_SKIP() << "no taller fallback font";
  EXPECT_GE(lines.visualItemRect(lines.item(1)).height(), needed);
  EXPECT_GE(rows.visualItemRect(rows.topLevelItem(1)).height(), needed);
  WindowCloseAll();
  DrainEvents();
}

TEST(FocusFrame, TheFocusedListShowsItsFocus) {
  ASSERT_NE(WindowCreate(0, 100, 100, 600, 600, u"", kTestWindowFlags), 0);
  WindowHandle(0)->activateWindow();
  ASSERT_NE(LineListCreate(6, 10, 350, 500, 200, 0), 0);
  ASSERT_NE(ColumnListCreate(2, 220, 10, 300, 300, u"Name", 250, 0), 0);
  DrainEvents();
  for (const int64_t number : {6, 2}) {
    QWidget& list = *ControlFind(number)->handle;
    const QColor highlight = list.palette().color(QPalette::Active, QPalette::Highlight);
    const auto edge = [&] { return list.grab().toImage().pixelColor(0, list.height() / 2); };
    list.setFocus();
    DrainEvents();
    ASSERT_TRUE(list.hasFocus());
    EXPECT_EQ(edge(), highlight) << number;
    list.clearFocus();
    DrainEvents();
    EXPECT_NE(edge(), highlight) << number;
  }
  WindowCloseAll();
  DrainEvents();
}

}  // namespace
