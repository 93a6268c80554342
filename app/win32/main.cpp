// imagescan: the window program on Windows. It reads no command line and no
// configuration.
#include <windows.h>

#include "app/window/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MainWindowStart();
  const int code = MainWindowRun();
  MainWindowStop();
  return code;
}
