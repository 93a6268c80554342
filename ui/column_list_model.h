#pragma once
// What a column list does with its rows, the same on every window system: a row's text
// split into its columns, the place a row takes in a sorted list, and the edit that
// brings the rows shown to new texts. Each window system's list applies these to its
// own widget.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The pieces of a row's text: split at each line feed, one piece per column (those past
// the last column are shown nowhere). A text that ends with a line feed ends with an
// empty piece; an empty text is one empty piece.
std::vector<std::u16string_view> ColumnRowPieces(std::u16string_view text);

// Where a row goes among `count` rows that stand in order: after every row it sorts
// with or after, so that rows alike keep the order they came in. `shown(i)` is negative,
// 0 or positive as the row sorts before, with or after row i in the order shown.
int ColumnListPlaceFor(int count, const std::function<int(int)>& shown);

// What brings the rows shown to new texts, rows matched by their first column (of a
// name given twice, the first text counts). Rows whose name is gone are taken out; a
// row whose other cells change is rewritten where it stands, unless its cell in the
// column that sorts the list changes: then it is taken out and put in again, at its new
// place. New names are put in. Rows that stay as they are stay where they are.
struct ColumnListEdit {
  struct PutIn {
    const std::u16string* text;  // one of the new texts
    int replaces;                // the row it rewrites; -1 for a new name
  };
  // Rows rewritten where they stand: done first, while the indexes are those of the
  // list as it stands.
  std::vector<PutIn> rewrite;
  // Rows of the list as it stands, last first, so that each index is still true when
  // its row is taken out.
  std::vector<int> take_out;
  // In the order to put them in: the rows taken out to move, then the new names as
  // given.
  std::vector<PutIn> put_in;
};
// `shown` holds each row's cells, one per column of the list; a row shows a text when
// each cell holds the text's piece for its column (an empty one past its last piece).
// `sort_column` is the column that sorts the list; -1 for a list that keeps its rows in
// the order they came.
ColumnListEdit ColumnListEditFor(const std::vector<std::vector<std::u16string>>& shown,
                                 const std::vector<std::u16string>& rows, int sort_column);
