// imagescan: the window program on Windows. It reads no command line and no
// configuration.
#include <windows.h>

#include <string>

#include "app/window/window_entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return MainWindowLife([](const std::u16string& text) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"imagescan", MB_OK | MB_ICONERROR);
  });
}
