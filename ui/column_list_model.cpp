#include "ui/column_list_model.h"

#include <algorithm>
#include <unordered_map>

std::vector<std::u16string_view> ColumnRowPieces(std::u16string_view text) {
  std::vector<std::u16string_view> pieces;
  for (size_t start = 0;;) {
    const size_t end = std::min(text.find(u'\n', start), text.size());
    pieces.push_back(text.substr(start, end - start));
    if (end == text.size()) return pieces;
    start = end + 1;
  }
}

int ColumnListPlaceFor(int count, const std::function<int(int)>& shown) {
  int low = 0, high = count;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (shown(middle) < 0)
      high = middle;
    else
      low = middle + 1;
  }
  return low;
}

namespace {

std::u16string_view PieceFor(const std::vector<std::u16string_view>& pieces, size_t column) {
  return column < pieces.size() ? pieces[column] : std::u16string_view();
}

bool RowShows(const std::vector<std::u16string>& cells, const std::vector<std::u16string_view>& pieces) {
  for (size_t column = 0; column < cells.size(); ++column)
    if (cells[column] != PieceFor(pieces, column)) return false;
  return true;
}

}  // namespace

ColumnListEdit ColumnListEditFor(const std::vector<std::vector<std::u16string>>& shown,
                                 const std::vector<std::u16string>& rows, int sort_column) {
  std::unordered_map<std::u16string_view, const std::u16string*> wanted;
  std::vector<const std::u16string*> order;
  for (const std::u16string& text : rows)
    if (wanted.emplace(ColumnRowPieces(text).front(), &text).second) order.push_back(&text);
  ColumnListEdit edit;
  for (int row = static_cast<int>(shown.size()) - 1; row >= 0; --row) {
    const std::vector<std::u16string>& cells = shown[static_cast<size_t>(row)];
    const auto found = wanted.find(cells.empty() ? std::u16string_view() : std::u16string_view(cells.front()));
    if (found == wanted.end()) {
      edit.take_out.push_back(row);
      continue;
    }
    const std::u16string* text = found->second;
    wanted.erase(found);
    const std::vector<std::u16string_view> pieces = ColumnRowPieces(*text);
    if (RowShows(cells, pieces)) continue;
    const auto sort = static_cast<size_t>(sort_column);
    if (sort_column < 0 || sort >= cells.size() || cells[sort] == PieceFor(pieces, sort)) {
      edit.rewrite.push_back({text, row});
      continue;
    }
    edit.take_out.push_back(row);
    edit.put_in.push_back({text, row});
  }
  for (const std::u16string* text : order)
    if (wanted.count(ColumnRowPieces(*text).front())) edit.put_in.push_back({text, -1});
  return edit;
}
