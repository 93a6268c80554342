#include "fs/win32/system_path.h"

std::optional<std::wstring> SystemPath(std::u16string_view path) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's strings are UTF-16");
  if (path.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  return std::wstring(path.begin(), path.end());
}
