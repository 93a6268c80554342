#include "ui/win32/dialog_template.h"

DialogTemplate::DialogTemplate(DWORD style, short width, short height, const std::u16string& title, WORD items) {
  Dword(style);
  Dword(0);
  words_.push_back(items);
  Box(0, 0, width, height);
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the standard class
  Text(title);
  words_.push_back(8);  // the font's size in points
  Text(u"MS Shell Dlg");
}

void DialogTemplate::Item(DWORD style, short x, short y, short width, short height, WORD id, WORD type,
                          const std::u16string& text) {
  if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
  Dword(style | WS_CHILD | WS_VISIBLE);
  Dword(0);
  Box(x, y, width, height);
  words_.push_back(id);
  words_.push_back(0xFFFF);
  words_.push_back(type);
  Text(text);
  words_.push_back(0);  // no creation data
}

void DialogTemplate::Dword(DWORD value) {
  words_.push_back(LOWORD(value));
  words_.push_back(HIWORD(value));
}

void DialogTemplate::Box(short x, short y, short width, short height) {
  for (short value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
}

void DialogTemplate::Text(const std::u16string& text) {
  words_.insert(words_.end(), text.begin(), text.end());
  words_.push_back(0);
}
