#pragma once
// A dialog template built in memory, for a dialog that needs no resource of the
// program's: a caption and font, then its items, each a control of a system class.
#include <windows.h>

#include <string>
#include <vector>

// The system's classes of dialog items, by their ordinal.
inline constexpr WORD kDialogStaticClass = 0x0082;
inline constexpr WORD kDialogButtonClass = 0x0080;

class DialogTemplate {
 public:
  // Sizes and places in dialog units; `items` is how many Item calls follow.
  DialogTemplate(DWORD style, short width, short height, const std::u16string& title, WORD items);
  void Item(DWORD style, short x, short y, short width, short height, WORD id, WORD type, const std::u16string& text);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD value);
  void Box(short x, short y, short width, short height);
  void Text(const std::u16string& text);

  std::vector<WORD> words_;
};
