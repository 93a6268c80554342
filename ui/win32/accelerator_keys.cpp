#include "ui/win32/accelerator_keys.h"

#include <array>
#include <string_view>

namespace {

struct NamedKey {
  std::u16string_view name;
  WORD key;
};

constexpr std::array<NamedKey, 24> kNamedKeys{{
    {u"Esc", VK_ESCAPE},    {u"Escape", VK_ESCAPE}, {u"Tab", VK_TAB},        {u"Backspace", VK_BACK},
    {u"Return", VK_RETURN}, {u"Enter", VK_RETURN},  {u"Ins", VK_INSERT},     {u"Insert", VK_INSERT},
    {u"Del", VK_DELETE},    {u"Delete", VK_DELETE}, {u"Home", VK_HOME},      {u"End", VK_END},
    {u"PgUp", VK_PRIOR},    {u"PageUp", VK_PRIOR},  {u"PgDown", VK_NEXT},    {u"PageDown", VK_NEXT},
    {u"Left", VK_LEFT},     {u"Up", VK_UP},         {u"Right", VK_RIGHT},    {u"Down", VK_DOWN},
    {u"Space", VK_SPACE},   {u"Pause", VK_PAUSE},   {u"Print", VK_SNAPSHOT}, {u"Menu", VK_APPS},
}};

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

// Takes "name+" off the front of the keys when it is there.
bool TakeModifier(std::u16string_view& keys, std::u16string_view name) {
  if (keys.size() <= name.size() || keys[name.size()] != u'+' || !SameName(keys.substr(0, name.size()), name))
    return false;
  keys.remove_prefix(name.size() + 1);
  return true;
}

std::optional<WORD> KeyOf(std::u16string_view name) {
  if (name.size() == 1) {
    const char16_t c = Upper(name[0]);
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return static_cast<WORD>(c);
    if (c == u'+') return VK_OEM_PLUS;
    if (c == u'-') return VK_OEM_MINUS;
    if (c == u',') return VK_OEM_COMMA;
    if (c == u'.') return VK_OEM_PERIOD;
    return std::nullopt;
  }
  if (name.size() >= 2 && name.size() <= 3 && Upper(name[0]) == u'F') {
    int n = 0;
    for (const char16_t c : name.substr(1)) {
      if (c < u'0' || c > u'9') return std::nullopt;
      n = n * 10 + (c - u'0');
    }
    if (n >= 1 && n <= 24) return static_cast<WORD>(VK_F1 + n - 1);
    return std::nullopt;
  }
  for (const NamedKey& named : kNamedKeys)
    if (SameName(named.name, name)) return named.key;
  return std::nullopt;
}

}  // namespace

std::optional<ACCEL> AcceleratorFromKeys(const std::u16string& keys, WORD command) {
  std::u16string_view rest = keys;
  BYTE flags = FVIRTKEY;
  for (bool more = true; more;) {
    more = false;
    if (TakeModifier(rest, u"Ctrl")) flags |= FCONTROL, more = true;
    if (TakeModifier(rest, u"Shift")) flags |= FSHIFT, more = true;
    if (TakeModifier(rest, u"Alt")) flags |= FALT, more = true;
    // The Windows key cannot be part of an accelerator.
    if (TakeModifier(rest, u"Meta")) return std::nullopt;
  }
  const std::optional<WORD> key = KeyOf(rest);
  if (!key) return std::nullopt;
  return ACCEL{flags, *key, command};
}
