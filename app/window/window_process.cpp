#include "app/window/window_process.h"

#include <chrono>

#include "app/scene/process_command.h"
#include "app/window/app_numbers.h"
#include "fs/text.h"
#include "ui/control_scroll.h"
#include "ui/events.h"
#include "ui/controls.h"
#include "ui/message_box.h"
#include "ui/window_busy.h"

namespace {

// How often the window is let repaint while a scan runs.
constexpr auto kRefreshInterval = std::chrono::milliseconds(50);

// Shows every image of a process run in ImageLog, and lets the window repaint and the
// user cancel while the scan runs.
class ImageLogObserver : public ScanObserver {
 public:
  explicit ImageLogObserver(WindowBusy& busy) : busy_(busy), last_refresh_(std::chrono::steady_clock::now()) {}

  void ImageFound(const std::u16string& relative_path) override {
    ControlAddItem(kImageLog, -1, relative_path);
  }

  bool ScanContinues() override {
    const auto now = std::chrono::steady_clock::now();
    if (!going_ || now - last_refresh_ < kRefreshInterval) return going_;
    last_refresh_ = now;
    ControlScrollToEnd(kImageLog);
    going_ = busy_.Refresh();
    return going_;
  }

 private:
  WindowBusy& busy_;
  std::chrono::steady_clock::time_point last_refresh_;
  bool going_ = true;
};

}  // namespace

void ProcessCommand() {
  const std::u16string selected = ControlGetText(kFolderTree);
  if (TextEquals(selected, u"")) return;
  WindowBusy busy(kMainWindow, kQuitButton);
  busy.StopOn(CommandEvent, kQuitCommand);  // Ctrl+Q
  ImageLogObserver log(busy);
  const ProcessResult result = ProcessFolder(selected, log);
  for (const std::u16string& row : ProcessSummaryRows(result)) ControlAddItem(kImageLog, -1, row);
  ControlScrollToEnd(kImageLog);
  busy.Release();
  const std::u16string failure = ProcessFailureText(result);
  if (!failure.empty()) MessageBoxShow(u"imagescan", failure, 0);
}
