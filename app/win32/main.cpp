// imagescan: the window program on Windows. Its one argument is the folder to open at.
#include <windows.h>

#include <string>

#include "app/window/window_entry.h"
#include "fs/console.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return MainWindowLife(ConsoleStart(0, nullptr), [](const std::u16string& text) {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"imagescan", MB_OK | MB_ICONERROR);
  });
}
