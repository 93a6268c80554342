#include "ui/picture_window.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "fs/object_table.h"
#include "ui/dpi.h"
#include "ui/picture_content.h"
#include "ui/top_level_windows.h"
#include "ui/win32/control_font.h"
#include "ui/win32/window_access.h"
#include "ui/win32/window_record.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x5049;  // "PI"
// The window's state, for the operations: the same the subclass is given.
constexpr wchar_t kStateProperty[] = L"WK_Picture";
// The client size for a text, in 1/96 inch.
constexpr SIZE kTextSize{400, 150};
// The least client size the window can be made, in 1/96 inch: the picture shrinks with it.
constexpr SIZE kSmallest{64, 48};

COLORREF Background() { return RGB(kPictureBackground, kPictureBackground, kPictureBackground); }

struct PictureState {
  explicit PictureState(double share) : content(share) {}
  PictureContent content;
};

void PaintPicture(HDC dc, const RECT& client, const Bitmap& picture) {
  const PictureSize fitted =
      PictureFit({picture.Width(), picture.Height()}, {client.right - client.left, client.bottom - client.top});
  const int width = static_cast<int>(fitted.width);
  const int height = static_cast<int>(fitted.height);
  const int left = static_cast<int>((client.right - width) / 2);
  const int top = static_cast<int>((client.bottom - height) / 2);
  // The grey goes around the picture only, so that nothing flickers under it.
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, left, top, left + width, top + height);
  const HBRUSH grey = CreateSolidBrush(Background());
  FillRect(dc, &client, grey);
  DeleteObject(grey);
  RestoreDC(dc, saved);
  if (width == 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = picture.Height();  // positive: the rows lie bottom-up, as ours do
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(picture.Depth());
  info.bmiHeader.biCompression = BI_RGB;
  // Averages the pixels a shrunk picture leaves out, instead of dropping them.
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, left, top, width, height, 0, 0, picture.Width(), picture.Height(), picture.Bits(), &info,
                DIB_RGB_COLORS, SRCCOPY);
}

void PaintText(HDC dc, RECT client, const std::u16string& text) {
  const HBRUSH grey = CreateSolidBrush(Background());
  FillRect(dc, &client, grey);
  DeleteObject(grey);
  const HGDIOBJ old_font = SelectObject(dc, ControlFont(UiDpiY()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  InflateRect(&client, -8, -8);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old_font);
}

LRESULT CALLBACK PictureProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                  DWORD_PTR data) {
  auto* state = reinterpret_cast<PictureState*>(data);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client{};
      GetClientRect(window, &client);
      if (const Bitmap* picture = state->content.Picture())
        PaintPicture(dc, client, *picture);
      else
        PaintText(dc, client, state->content.Text());
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SIZE:
      // The picture is placed for the whole client area: all of it is drawn anew.
      InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, PictureProcedure, id);
      RemovePropW(window, kStateProperty);
      delete state;  // owned by the subclass from PictureWindowOpen on
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

PictureState* StateOf(HWND window) {
  return window ? static_cast<PictureState*>(GetPropW(window, kStateProperty)) : nullptr;
}

RECT WorkArea(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  const HMONITOR monitor =
      window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY) : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

// The client size in pixels for what the state shows, on the screen whose work area is `work`.
SIZE ClientSize(const PictureState& state, const RECT& work) {
  const PictureSize pixels =
      state.content.ClientSize({work.right - work.left, work.bottom - work.top},
                               {MulDiv(kTextSize.cx, UiDpiX(), 96), MulDiv(kTextSize.cy, UiDpiY(), 96)});
  return {static_cast<LONG>(pixels.width), static_cast<LONG>(pixels.height)};
}

// The frame's size around that client size.
PictureSize FrameSize(HWND window, SIZE client) {
  RECT outer{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  return {outer.right - outer.left, outer.bottom - outer.top};
}

PictureRect Rect(const RECT& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

void SetFrame(HWND window, const PictureRect& frame) {
  SetWindowPos(window, nullptr, static_cast<int>(frame.x), static_cast<int>(frame.y), static_cast<int>(frame.width),
               static_cast<int>(frame.height), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int64_t PictureWindowOpen(int64_t number, const std::u16string& title, std::optional<Bitmap> picture,
                          const std::u16string& text, double screen_share, uint32_t flags,
                          std::optional<int64_t> owner) {
  auto state = std::make_unique<PictureState>(screen_share);
  state->content.Set(std::move(picture), text);
  const int64_t result = WindowCreate(number, kDefaultPosition, kDefaultPosition, kSmallest.cx, kSmallest.cy, title,
                                      flags | kWindowHidden | kWindowNotContainer, owner);
  if (result == 0) return 0;
  const int64_t id = number == kAutoNumber ? result : number;
  const HWND window = WindowHandle(id);
  if (WindowRecord* record = WindowRecordOf(id)) {
    // The least size is the layer's usual one (the size asked for): here that is the
    // small size it was made at, so that the picture shrinks with the window.
    record->design = {MulDiv(kSmallest.cx, UiDpiX(), 96), MulDiv(kSmallest.cy, UiDpiY(), 96)};
  }
  if (flags & kWindowNoActivate)
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_NOACTIVATE);
  const HWND owner_window = owner ? WindowHandle(*owner) : nullptr;
  const RECT work = WorkArea(owner_window);
  RECT owner_frame{};
  const bool beside = owner_window && GetWindowRect(owner_window, &owner_frame);
  const PictureRect owner_rect = Rect(owner_frame);
  SetFrame(window,
           PicturePlace(Rect(work), beside ? &owner_rect : nullptr, FrameSize(window, ClientSize(*state, work))));
  SetPropW(window, kStateProperty, state.get());
  SetWindowSubclass(window, PictureProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(state.release()));
  if (!(flags & kWindowHidden)) ShowWindow(window, (flags & kWindowNoActivate) ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);
  return result;
}

bool PictureWindowShow(int64_t number, const std::u16string& title, std::optional<Bitmap> picture,
                       const std::u16string& text) {
  const HWND window = WindowHandle(number);
  PictureState* state = StateOf(window);
  if (!state) return false;
  state->content.Set(std::move(picture), text);
  SetWindowTextW(window, reinterpret_cast<const wchar_t*>(title.c_str()));
  RECT frame{};
  GetWindowRect(window, &frame);
  const RECT work = WorkArea(window);
  const HWND owner = GetWindow(window, GW_OWNER);
  RECT owner_frame{};
  const bool beside = owner && GetWindowRect(owner, &owner_frame);
  const PictureRect owner_rect = Rect(owner_frame);
  SetFrame(window, PictureResize(Rect(work), beside ? &owner_rect : nullptr, Rect(frame),
                                 FrameSize(window, ClientSize(*state, work))));
  InvalidateRect(window, nullptr, FALSE);
  return true;
}

std::u16string PictureWindowText(int64_t number) {
  const PictureState* state = StateOf(WindowHandle(number));
  return state ? state->content.Text() : std::u16string();
}
