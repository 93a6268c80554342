// Scrolling the lists to their last row, as the image log follows a scan.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/ui/win32/win32_test_support.h"
#include "ui/column_list.h"
#include "ui/control_scroll.h"
#include "ui/controls.h"
#include "ui/line_list.h"
#include "ui/push_button.h"

TEST(Win32ControlScroll, BothListsShowTheirLastRowAndOtherControlsStay) {
  TestWindow window(0);
  const HWND lines = ControlHandle(LineListCreate(1, 10, 10, 200, 100, 0));
  const HWND rows = ControlHandle(ColumnListCreate(2, 220, 10, 150, 100, u"Name", 120, 0));
  PushButtonCreate(3, 10, 120, 80, 30, u"button", 0);
  for (int i = 0; i < 200; ++i) {
    ControlAddItem(1, -1, u"line " + std::u16string(1, u'a' + i % 26));
    ControlAddItem(2, -1, u"row");
  }
  ControlScrollToEnd(1);
  ControlScrollToEnd(2);
  ControlScrollToEnd(3);  // not a list: nothing happens
  ControlScrollToEnd(4);  // no control
  RECT client{}, last{};
  GetClientRect(lines, &client);
  SendMessageW(lines, LB_GETITEMRECT, 199, reinterpret_cast<LPARAM>(&last));
  EXPECT_GT(SendMessageW(lines, LB_GETTOPINDEX, 0, 0), 0);
  EXPECT_LE(last.bottom, client.bottom);
  const auto top = SendMessageW(rows, LVM_GETTOPINDEX, 0, 0);
  EXPECT_GT(top, 0);
  EXPECT_GE(top + SendMessageW(rows, LVM_GETCOUNTPERPAGE, 0, 0), 200);
}
