#include "app/window/window_entry.h"

#include <exception>
#include <new>

#include "app/window/main_window.h"

int MainWindowLife(void (*tell)(const std::string& text)) {
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
  tell(reason + "; no scene file was changed");
  return 1;
}
