// imagescan: the window program on Windows. It reads no command line and no
// configuration.
#include <windows.h>

#include <exception>
#include <new>
#include <string>

#include "app/window/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Whatever fails on the way out of a scan, its temporary file is gone by now and the
  // old scene stays: that is a failure to say, not an abort.
  std::string reason;
  try {
    MainWindowStart();
    const int code = MainWindowRun();
    MainWindowStop();
    return code;
  } catch (const std::bad_alloc&) {
    reason = "out of memory";
  } catch (const std::exception& error) {
    reason = error.what();
  }
  MessageBoxA(nullptr, (reason + "; no scene file was changed").c_str(), "imagescan", MB_OK | MB_ICONERROR);
  return 1;
}
