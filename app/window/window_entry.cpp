#include "app/window/window_entry.h"

#include <exception>
#include <new>

#include "app/window/main_window.h"
#include "app/window/window_process.h"
#include "fs/text_encoding.h"

int MainWindowLife(const std::vector<std::string>& arguments, void (*tell)(const std::u16string& text)) {
  std::u16string reason;
  try {
    MainWindowStart(ChooseStartFolder(arguments));
    const int code = MainWindowRun();
    MainWindowStop();
    return code;
  } catch (const std::bad_alloc&) {
    reason = u"out of memory";
  } catch (const std::exception& error) {
    reason = TextFromUtf8(error.what());
  }
  // The scenes of runs that ended are complete; the one being made is not replaced.
  const std::u16string& scene = SceneBeingWritten();
  tell(scene.empty() ? reason : reason + u"; " + scene + u" left as it was");
  return 1;
}
