#include "ui/line_list.h"

#include "ui/line_list_notify.h"
#include "ui/line_list_view.h"
#include "ui/win32/control_create.h"
#include "ui/win32/line_list_lines.h"
#include "ui/win32/line_list_window.h"

namespace {

class Win32LineListView final : public LineListView {
 public:
  explicit Win32LineListView(HWND list) : list_(list) {}

  int64_t Count() const override { return static_cast<int64_t>(lines.Count()); }
  void Insert(int64_t at, const std::u16string& text) override {
    if (static_cast<size_t>(at) == lines.Count()) {
      lines.Insert(lines.Count(), text);
      LineListCountLater(list_, lines);
      return;
    }
    // A line put in between moves the selection below it down: the list box does that.
    LineListCountNow(list_, lines);
    lines.Insert(static_cast<size_t>(at), text);
    if (SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(at), 0) < 0)
      lines.Erase(static_cast<size_t>(at));
    else if (SendMessageW(list_, LB_GETHORIZONTALEXTENT, 0, 0) < lines.Extent())
      SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(lines.Extent()), 0);
  }
  void Clear() override {
    lines.Clear();
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, 0, 0);
  }
  std::u16string Line(int64_t row) const override { return std::u16string(lines.Line(static_cast<size_t>(row))); }
  int64_t Selected() const override {
    if (!LineListSeveralSelectable(list_)) {
      const LRESULT line = SendMessageW(list_, LB_GETCURSEL, 0, 0);
      return line < 0 ? -1 : line;
    }
    int first = -1;
    return SendMessageW(list_, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) == 1 ? first : -1;
  }

  LineListLines lines;

 private:
  HWND list_;
};

static_assert(LBN_SELCHANGE == kLineSelectionChange && LBN_DBLCLK == kLineDoubleClick);

}  // namespace

LineListLines& LineListLinesOf(ControlRecord& record) { return static_cast<Win32LineListView&>(*record.state).lines; }

int64_t LineListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, uint32_t flags) {
  // Of the flags, only the selection styles reach the list box: another style could
  // make it a list of another kind. The list box keeps no data of its own: it draws
  // its lines from the view's LineListLines.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_GROUP | WS_TABSTOP | LBS_NOINTEGRALHEIGHT |
                      LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                      (flags & (kLineListMultipleSelection | kLineListExtendedSelection));
  const CreatedControl created =
      ControlCreate(number, {L"ListBox", style, WS_EX_CLIENTEDGE, u""}, x, y, width, height, kLineListOps);
  if (!created.record) return 0;
  HWND list = created.record->handle;
  auto view = std::make_unique<Win32LineListView>(list);
  LineListLines& lines = view->lines;
  LineListStart(*created.record, std::move(view));
  LineListWindowWatch(list, lines);
  return created.result;
}
