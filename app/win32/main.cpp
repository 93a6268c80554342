// imagescan: the window program on Windows. It reads no command line and no
// configuration.
#include <windows.h>

#include <string>

#include "app/window/window_entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return MainWindowLife([](const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "imagescan", MB_OK | MB_ICONERROR);
  });
}
