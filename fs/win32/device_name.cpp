#include "fs/win32/device_name.h"

#include <array>

#include "fs/path_separator.h"

namespace {

char16_t Upper(char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - (u'a' - u'A') : unit; }

bool SameLetters(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

bool InDeviceNamespace(std::u16string_view path) {
  if (path.size() < 4 || !IsFolderSeparator(path[0]) || !IsFolderSeparator(path[1]) || !IsFolderSeparator(path[3]))
    return false;
  if (path[2] == u'.') return true;
  if (path[2] != u'?') return false;
  const std::u16string_view rest = path.substr(4);
  const bool drive = rest.size() >= 3 && rest[1] == u':' && IsFolderSeparator(rest[2]);
  const bool share = rest.size() >= 4 && SameLetters(rest.substr(0, 3), u"UNC") && IsFolderSeparator(rest[3]);
  return !drive && !share;
}

bool IsReservedName(std::u16string_view name) {
  // The system reads "nul.txt" and "nul  " as "nul".
  name = name.substr(0, name.find(u'.'));
  while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
  constexpr std::array<std::u16string_view, 6> kNames = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  for (const std::u16string_view reserved : kNames)
    if (SameLetters(name, reserved)) return true;
  return name.size() == 4 && (SameLetters(name.substr(0, 3), u"COM") || SameLetters(name.substr(0, 3), u"LPT")) &&
         name[3] >= u'1' && name[3] <= u'9';
}

}  // namespace

bool NamesDevice(std::u16string_view path) {
  std::u16string_view name = path.substr(PathNameStart(path));
  if (name.size() >= 2 && name[1] == u':') name.remove_prefix(2);  // "C:nul"
  return InDeviceNamespace(path) || IsReservedName(name);
}
