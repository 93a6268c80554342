#include "app/window/window_process.h"

#include <algorithm>
#include <chrono>

#include "app/scene/process_command.h"
#include "app/scene/process_report.h"
#include "app/scene/scene_format.h"
#include "app/scene/size_store.h"
#include "app/window/app_numbers.h"
#include "app/window/scene_version_choice.h"
#include "fs/path_separator.h"
#include "fs/text.h"
#include "ui/control_scroll.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/message_box.h"
#include "ui/window_busy.h"
#include "ui/window_title.h"

namespace {

// How often the window is let repaint while a scan runs, at the least: the pause after
// a refresh is also this many times as long as the refresh took, so that a list grown
// long (whose refresh costs more) never takes more than its share from the scan.
constexpr auto kRefreshInterval = std::chrono::milliseconds(50);
constexpr int kPausePerRefreshCost = 9;
// A refresh slow for another reason (a folder the tree reads again) never stops the
// list from following the scan for long.
constexpr auto kLongestPause = std::chrono::milliseconds(500);

// Shows every image of a process run in ImageLog and how many there are so far in the
// window's title (the list alone does not tell how far the scan is), and lets the window
// repaint and the user cancel while the scan runs. The title is as it was afterwards.
class ImageLogObserver : public ScanObserver {
 public:
  explicit ImageLogObserver(WindowBusy& busy)
      : busy_(busy),
        title_(WindowTitle(kMainWindow)),
        next_refresh_(std::chrono::steady_clock::now() + kRefreshInterval) {}
  ~ImageLogObserver() override { WindowSetTitle(kMainWindow, title_); }
  ImageLogObserver(const ImageLogObserver&) = delete;
  ImageLogObserver& operator=(const ImageLogObserver&) = delete;

  void ImageFound(const std::u16string& relative_path, ImageSize /*size*/) override {
    ControlAddItem(kImageLog, -1, relative_path);
    ++images_;
  }

  bool ScanContinues() override {
    const auto start = std::chrono::steady_clock::now();
    if (!going_ || start < next_refresh_) return going_;
    ControlScrollToEnd(kImageLog);
    WindowSetTitle(kMainWindow, title_ + u" \u2013 " + DecimalText(images_) + (images_ == 1 ? u" image" : u" images"));
    going_ = busy_.Refresh();
    // Timed from the refresh's end: one that took long is never followed at once by the next.
    const auto end = std::chrono::steady_clock::now();
    next_refresh_ = end + std::clamp<std::chrono::steady_clock::duration>((end - start) * kPausePerRefreshCost,
                                                                          kRefreshInterval, kLongestPause);
    return going_;
  }

 private:
  WindowBusy& busy_;
  const std::u16string title_;
  int64_t images_ = 0;
  std::chrono::steady_clock::time_point next_refresh_;
  bool going_ = true;
};

std::u16string g_scene_being_written;

}  // namespace

const std::u16string& SceneBeingWritten() { return g_scene_being_written; }

bool ProcessCommand(std::optional<PovVersion> version, int64_t button) {
  const std::u16string selected = ControlGetText(kFolderTree);
  if (selected.empty()) return false;
  // The tree shows files too; only a folder has a scene.
  if (!PathEndsInSeparator(selected)) {
    MessageBoxShow(u"imagescan", selected + u" is not a folder: select a folder to process", 0);
    return false;
  }
  WindowBusy busy(kMainWindow, kQuitButton);
  busy.StopOn(CommandEvent, kQuitCommand);  // Ctrl+Q
  busy.DropPressesOf(button);
  ImageLogObserver log(busy);
  // Cleared only on the way out as usual: an exception leaves the scene named for the message.
  g_scene_being_written = selected + kSceneFileName;
  // Opened for each run, so that a store damaged or cleared meanwhile is made afresh. The
  // window tells nothing of a store it cannot use: the scene is right all the same.
  SizeStore store = SizeStore::ForUser();
  const ProcessResult result =
      ProcessFolder(selected, log, {{MeasureMode::Exact, 0, &store}, version.value_or(WindowSceneVersion())});
  g_scene_being_written.clear();
  for (const std::u16string& row : ProcessSummaryRows(result)) ControlAddItem(kImageLog, -1, row);
  ControlScrollToEnd(kImageLog);
  busy.Release();
  // A press that reached the program some other way during the run is dropped too.
  EventRemove(ControlEvent, button, kAnyValue, kAnyValue);
  const std::u16string failure = ProcessFailureText(result);
  if (!failure.empty()) MessageBoxShow(u"imagescan", failure, 0);
  return result.scene.system_error == 0 && !result.scene.stopped && result.read_error == 0;
}
