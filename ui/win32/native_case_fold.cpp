#include <windows.h>

#include "ui/native_hooks.h"

char32_t NativeCaseFold(char16_t unit) {
  // The invariant locale's lower case, so that an order does not change with the
  // user's language.
  wchar_t folded = unit;
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, reinterpret_cast<const wchar_t*>(&unit), 1, &folded, 1,
                    nullptr, nullptr, 0) != 1)
    return unit;
  return folded;
}
