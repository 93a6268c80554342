#include "ui/settings.h"

#include <windows.h>

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\imagescan";

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace

std::u16string SettingsRead(const std::u16string& name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, Wide(name), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      bytes < sizeof(wchar_t)) {
    return {};
  }
  std::u16string text(bytes / sizeof(char16_t), u'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, Wide(name), RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  // The size counts the closing NUL; a value changed in between may be shorter.
  text.resize(wcsnlen(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
  return text;
}

void SettingsWrite(const std::u16string& name, const std::u16string& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
  RegCloseKey(key);
}
