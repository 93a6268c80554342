#pragma once
// What a line list keeps beside its list box. The list box holds no text: it counts
// the lines and asks for each one it draws, so that a list of a million lines grows as
// fast as a short one. The texts, the widest line's width and the lines the list box
// has not counted yet are kept here.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_register.h"

class LineListLines {
 public:
  LineListLines();
  ~LineListLines();
  LineListLines(const LineListLines&) = delete;
  LineListLines& operator=(const LineListLines&) = delete;

  size_t Count() const { return spans_.size(); }
  // The line's text; empty beyond the last line.
  std::u16string_view Line(size_t row) const;
  // Puts the text in at the row (at most Count()) and widens the widest line to it.
  void Insert(size_t row, std::u16string_view text);
  void Erase(size_t row);
  void Clear();

  // The font the lines are drawn in: every line is measured again in it. Returns the
  // height of a line.
  int SetFont(HFONT font);
  HFONT Font() const { return font_; }
  // The width the list must scroll to so that the widest line shows whole, in pixels.
  int Extent() const { return widest_; }

  // The width of the text drawn in the font, in pixels.
  int TextWidth(std::u16string_view text) const;

  // Lines were appended since the list box was last told the count.
  bool uncounted = false;
  // The text the tooltip shows, and the line the pointer was last on (-1: none).
  std::u16string tip;
  int64_t tip_line = -1;

 private:
  // The width a line takes in the list, with room after its text.
  int Width(std::u16string_view text) const;

  struct Span {
    size_t start;
    size_t length;
  };
  std::u16string text_;      // every line's text, one after another, in the order put in
  std::vector<Span> spans_;  // per row, where its text stands in text_
  HDC measure_ = nullptr;    // a memory device context with the font selected
  HFONT font_ = nullptr;
  HGDIOBJ first_font_ = nullptr;
  int widest_ = 0;
};

// The lines of a line list's record (one that has its view).
LineListLines& LineListLinesOf(ControlRecord& record);
