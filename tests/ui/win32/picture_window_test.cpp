#include "ui/picture_window.h"

#include <gtest/gtest.h>

#include "tests/ui/test_pictures.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/window_title.h"

namespace {

constexpr int64_t kPicture = 3;
const COLORREF kGrey = RGB(0x60, 0x60, 0x60);
const COLORREF kBlue = RGB(0, 0, 255);

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

COLORREF PixelAt(HWND window, int x, int y) {
  UpdateWindow(window);
  const HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

TEST(PictureWindow, ShowsThePictureCentredUnderItsTitleAndATextInItsPlace) {
  ASSERT_NE(PictureWindowOpen(kPicture, u"small.png", SolidPicture(40, 20, {0, 0, 255}), u"", 0.5, kTestWindowFlags),
            0);
  const HWND window = WindowHandle(kPicture);
  ASSERT_NE(window, nullptr);
  SettleActive(window);
  EXPECT_EQ(WindowTitle(kPicture), u"small.png");
  EXPECT_TRUE(PictureWindowText(kPicture).empty());
  // Made larger, the picture stays at its own size, in the middle of the grey.
  RECT frame{};
  GetWindowRect(window, &frame);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 360, frame.bottom - frame.top + 280,
               SWP_NOMOVE | SWP_NOZORDER);
  DrainEvents();
  const SIZE larger = ClientSize(window);
  EXPECT_EQ(PixelAt(window, larger.cx / 2, larger.cy / 2), kBlue);
  EXPECT_EQ(PixelAt(window, larger.cx / 2, (larger.cy - 20) / 2), RGB(255, 0, 0));  // upright: red on top
  EXPECT_EQ(PixelAt(window, 2, 2), kGrey);
  EXPECT_EQ(PixelAt(window, larger.cx / 2 - 19, larger.cy / 2), kBlue);
  EXPECT_EQ(PixelAt(window, larger.cx / 2 - 22, larger.cy / 2), kGrey);
  EXPECT_EQ(PixelAt(window, larger.cx / 2, larger.cy / 2 + 12), kGrey);

  ASSERT_TRUE(PictureWindowShow(kPicture, u"notes.txt", std::nullopt, u"cannot be read as an image"));
  EXPECT_EQ(WindowTitle(kPicture), u"notes.txt");
  EXPECT_EQ(PictureWindowText(kPicture), u"cannot be read as an image");
  DrainEvents();
  EXPECT_EQ(PixelAt(window, 2, 2), kGrey);
  WindowClose(kPicture);
  EXPECT_EQ(WindowHandle(kPicture), nullptr);
  EXPECT_FALSE(PictureWindowShow(kPicture, u"x", std::nullopt, u"text"));
}

}  // namespace
