#include "ui/column_list.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>

#include "ui/column_list_control.h"
#include "ui/win32/column_list_events.h"
#include "ui/win32/control_create.h"
#include "ui/win32/dpi_scale.h"

namespace {

// Room beside a cell's text, both sides together, and the least the first column
// keeps; in 1/96 inch.
constexpr int kCellMargins = 16;
constexpr int kLeastFirstWidth = 48;

// The shared codes are the list view's own.
constexpr int32_t Code(UINT code) { return static_cast<int32_t>(code); }
static_assert(kListClick == Code(NM_CLICK) && kListDoubleClick == Code(NM_DBLCLK) && kListReturn == Code(NM_RETURN) &&
              kListRightClick == Code(NM_RCLICK) && kListRightDoubleClick == Code(NM_RDBLCLK) &&
              kListItemChanged == Code(LVN_ITEMCHANGED) && kListColumnClick == Code(LVN_COLUMNCLICK) &&
              kListBeginDrag == Code(LVN_BEGINDRAG));

LRESULT Send(HWND list, UINT message, WPARAM wparam, const void* lparam) {
  return SendMessageW(list, message, wparam, reinterpret_cast<LPARAM>(lparam));
}

class Win32ColumnListView final : public ColumnListView {
 public:
  explicit Win32ColumnListView(HWND list) : list_(list) {}

  ControlNotice Read(const ControlNotice& notice) const override { return ColumnListReport(notice); }

  bool InsertColumn(int at, const std::u16string& title, int64_t width) override {
    std::u16string owned_title = title;
    LVCOLUMNW added{};
    added.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    added.cx = std::max(DpiScaleX(width), 0);
    added.pszText = reinterpret_cast<wchar_t*>(owned_title.data());
    added.iSubItem = at;
    if (Send(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at), &added) != at) return false;
    numbers_.insert(numbers_.begin() + at, false);
    FillFirst();
    return true;
  }
  void ShowAsNumbers(int column) override {
    numbers_[static_cast<size_t>(column)] = true;
    LVCOLUMNW format{};
    format.mask = LVCF_FMT;
    format.fmt = LVCFMT_RIGHT;
    Send(list_, LVM_SETCOLUMNW, static_cast<WPARAM>(column), &format);
    FillFirst();
  }
  int ColumnWidth(int column) const override {
    return static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
  }
  void SetColumnWidth(int column, int width) override {
    if (ColumnWidth(column) == width) return;
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
    if (column != 0) FillFirst();
  }
  int CellWidth(std::u16string_view text) const override {
    const std::u16string owned(text);  // the message wants the text with its end
    return static_cast<int>(Send(list_, LVM_GETSTRINGWIDTHW, 0, owned.c_str())) + DpiScaleX(kCellMargins);
  }
  void ShowSortArrow(int column, bool descending) override {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    for (int at = 0; at < static_cast<int>(numbers_.size()); ++at) {
      HDITEMW item{};
      item.mask = HDI_FORMAT;
      if (!Send(header, HDM_GETITEMW, static_cast<WPARAM>(at), &item)) continue;
      item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
      if (at == column) item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
      Send(header, HDM_SETITEMW, static_cast<WPARAM>(at), &item);
    }
  }

  bool InsertRow(int at, std::span<const std::u16string> cells) override {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<wchar_t*>(L"");
    // Each row's parameter tells it from the others while the list view sorts.
    item.lParam = ++rows_added_;
    const auto row = static_cast<int>(Send(list_, LVM_INSERTITEMW, 0, &item));
    if (row < 0) return false;
    RewriteRow(row, cells);
    return true;
  }
  void RewriteRow(int row, std::span<const std::u16string> cells) override {
    for (size_t column = 0; column < cells.size(); ++column) {
      std::u16string owned = cells[column];  // the message wants the text with its end
      LVITEMW item{};
      item.iSubItem = static_cast<int>(column);
      item.pszText = reinterpret_cast<wchar_t*>(owned.data());
      Send(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), &item);
    }
  }
  void RemoveRow(int row) override { SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }
  void ClearRows() override { SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0); }
  void Reorder(std::span<const int> order) override {
    std::unordered_map<LPARAM, size_t> rank;
    for (size_t at = 0; at < order.size(); ++at) {
      LVITEMW item{};
      item.mask = LVIF_PARAM;
      item.iItem = order[at];
      Send(list_, LVM_GETITEMW, 0, &item);
      rank[item.lParam] = at;
    }
    Send(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rank), reinterpret_cast<const void*>(&ByRank));
  }

  int FirstSelected() const override { return NextRow(-1, LVNI_SELECTED); }
  std::vector<int> SelectedRows() const override {
    std::vector<int> rows;
    for (int row = NextRow(-1, LVNI_SELECTED); row >= 0; row = NextRow(row, LVNI_SELECTED)) rows.push_back(row);
    return rows;
  }
  void Select(int row, bool selected) override { SetState(row, LVIS_SELECTED, selected ? LVIS_SELECTED : 0); }
  int CurrentRow() const override { return NextRow(-1, LVNI_FOCUSED); }
  void SetCurrentRow(int row) override { SetState(row, LVIS_FOCUSED, LVIS_FOCUSED); }
  int TopRow() const override {
    return SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) > 0
               ? static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0))
               : -1;
  }
  void ScrollToTop(int row) override {
    const int now = TopRow();
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    if (row != now && Send(list_, LVM_GETITEMRECT, 0, &bounds))
      SendMessageW(list_, LVM_SCROLL, 0, static_cast<LPARAM>((row - now) * (bounds.bottom - bounds.top)));
  }

  void SetMark(ColumnListMark mark, int64_t value) override {
    SetPropW(list_, ColumnListMarkName(mark), reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)));
  }
  int64_t Mark(ColumnListMark mark) const override {
    return reinterpret_cast<intptr_t>(GetPropW(list_, ColumnListMarkName(mark)));
  }

  // With a number column beside it, the first column takes what the others leave of
  // the list's width.
  void FillFirst() {
    bool numbers_beside = false;
    int others = 0;
    for (int column = 1; column < static_cast<int>(numbers_.size()); ++column) {
      numbers_beside = numbers_beside || numbers_[static_cast<size_t>(column)];
      others += ColumnWidth(column);
    }
    if (!numbers_beside) return;
    RECT client{};
    GetClientRect(list_, &client);
    SetColumnWidth(0, std::max<int>(client.right - others, DpiScaleX(kLeastFirstWidth)));
  }

 private:
  static int CALLBACK ByRank(LPARAM a, LPARAM b, LPARAM context) {
    const auto& rank = *reinterpret_cast<const std::unordered_map<LPARAM, size_t>*>(context);
    const auto x = rank.find(a), y = rank.find(b);
    if (x == rank.end() || y == rank.end()) return 0;
    return x->second < y->second ? -1 : x->second > y->second ? 1 : 0;
  }
  int NextRow(int after, UINT flags) const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(after), flags));
  }
  void SetState(int row, UINT mask, UINT state) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    Send(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), &item);
  }

  HWND list_;
  std::vector<bool> numbers_;  // per column: it shows numbers
  LPARAM rows_added_ = 0;
};

}  // namespace

void ColumnListFillFirst(HWND list) {
  if (ColumnListControl* control = ColumnListOf(ControlOf(list)))
    static_cast<Win32ColumnListView&>(*control->view).FillFirst();
}

int64_t ColumnListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& title, int64_t title_width, uint32_t flags) {
  // Only the flags the list knows reach its styles: another list view style could make
  // it a list of another kind (one that asks for its texts, say).
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
  if (!(flags & kColumnListMultipleSelection)) style |= LVS_SINGLESEL;
  const CreatedControl created =
      ControlCreate(number, {WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, u""}, x, y, width, height, kColumnListOps);
  if (!created.record) return 0;
  HWND list = created.record->handle;
  // Texts cut short show whole in a tip.
  DWORD extended = LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
  if (flags & kColumnListMovableColumns) extended |= LVS_EX_HEADERDRAGDROP;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  ColumnListWatch(list);
  ColumnListStart(*created.record, std::make_unique<Win32ColumnListView>(list), flags, title, title_width);
  return created.result;
}
