#include "app/window/window_render.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "app/scene/povray_platform.h"
#include "app/scene/povray_version.h"
#include "app/scene/render_report.h"
#include "app/scene/scene_render.h"
#include "app/window/app_numbers.h"
#include "app/window/scene_version_choice.h"
#include "app/window/window_process.h"
#include "fs/path_ops.h"
#include "fs/path_separator.h"
#include "fs/system_errors.h"
#include "fs/text.h"
#include "image/image_picture.h"
#include "ui/control_scroll.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/message_box.h"
#include "ui/picture_window.h"
#include "ui/top_level_windows.h"
#include "ui/window_busy.h"
#include "ui/window_title.h"

namespace {

// How long the window waits for POV-Ray's next word before it looks at the user's input.
constexpr auto kRefreshInterval = std::chrono::milliseconds(50);
// The share of the screen the picture may take: all of it but room for the frame.
constexpr double kPictureScreenShare = 0.9;

// POV-Ray's progress as the render's thread learns it, for the window's thread.
class RenderProgress : public RenderObserver {
 public:
  void PixelsRendered(int64_t done, int64_t total) override {
    const std::lock_guard lock(mutex_);
    percent_ = static_cast<int>(std::min(done, total) * 100 / total);
    changed_.notify_one();
  }
  void Finish() {
    const std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_one();
  }
  // Waits a while for news; false once the render is over. `percent`: how much is done.
  bool Wait(int& percent) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kRefreshInterval, [&] { return finished_ || percent_ != percent; });
    percent = percent_;
    return !finished_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int percent_ = 0;
  bool finished_ = false;
};

void AddRow(const std::u16string& row) {
  ControlAddItem(kImageLog, -1, row);
  ControlScrollToEnd(kImageLog);
}

// Renders on a thread of its own while the window stays alive; the user may stop it.
RenderResult RenderShowingProgress(const std::u16string& folder, const RenderSettings& settings) {
  WindowBusy busy(kMainWindow, kQuitButton);
  busy.StopOn(CommandEvent, kQuitCommand);  // Ctrl+Q
  busy.DropPressesOf(kRenderButton);
  const std::u16string title = WindowTitle(kMainWindow);
  RenderProgress progress;
  RenderStop stop;
  RenderResult result;
  std::thread render([&] {
    // Memory that runs out on this thread is a failure to tell, not the program's end.
    try {
      result = RenderSceneFile(folder, settings, progress, &stop);
    } catch (const std::bad_alloc&) {
      result.outcome = RenderOutcome::NotWritten;
      result.path = folder + kPictureFileName;
      result.system_error = kOutOfMemoryError;
    }
    progress.Finish();
  });
  int percent = 0, shown_tenths = 0;
  // The news that came with the render's end is shown too: the last tenths may come with it.
  for (bool going = true, rendering = true; rendering;) {
    rendering = progress.Wait(percent);
    if (rendering && going && !busy.Refresh()) {
      going = false;
      stop.Stop();
    }
    WindowSetTitle(kMainWindow, title + u" \u2013 " + DecimalText(percent) + u"% rendered");
    for (; shown_tenths < percent / 10; ++shown_tenths) AddRow(DecimalText((shown_tenths + 1) * 10) + u"% rendered");
  }
  render.join();
  WindowSetTitle(kMainWindow, title);
  busy.Release();
  EventRemove(ControlEvent, kRenderButton, kAnyValue, kAnyValue);
  EventRemove(CommandEvent, kRenderCommand, kAnyValue, kAnyValue);
  return result;
}

// The picture in a window of its own, fitted to the screen; a picture our decoder cannot
// read says so in its place.
void ShowPicture(const std::u16string& path) {
  std::optional<Bitmap> picture = ReadImagePicture(path);
  const std::u16string text = picture ? u"" : u"cannot be read as an image";
  PictureWindowOpen(kRenderedWindow, path, std::move(picture), text, kPictureScreenShare,
                    kWindowCaption | kWindowSystemMenu | kWindowSizingBorder, kMainWindow);
}

}  // namespace

void RenderCommand() {
  const std::u16string folder = ControlGetText(kFolderTree);
  if (folder.empty()) return;
  if (!PathEndsInSeparator(folder)) {
    MessageBoxShow(u"imagescan", folder + u" is not a folder: select a folder to render", 0);
    return;
  }
  const PovRayVersion version = QueryPovRayVersion(kPovRayProgram);
  if (version.program_missing || version.system_error != 0) {
    RenderResult failed;
    failed.outcome = version.program_missing ? RenderOutcome::ProgramMissing : RenderOutcome::NotStarted;
    failed.system_error = version.system_error;
    MessageBoxShow(u"imagescan", RenderFailureText(failed, kPovRayProgram, Placing::Sentence), 0);
    return;
  }
  const PovVersion scene = SceneVersionFor(version, WindowSceneVersionChosen());
  if (SceneUnreadableBy(version, scene)) {
    MessageBoxShow(u"imagescan",
                   SceneTooNewText(*version.major, *version.minor, Placing::Sentence) +
                       u": choose \u201CScene for POV-Ray 3.7\u201D in the process button's menu (right click)",
                   0);
    return;
  }
  if (!ProcessCommand(scene, kRenderButton)) return;

  RenderSettings settings;
  settings.include_folder = PovRayIncludeFolder(version);
  const std::u16string picture = folder + kPictureFileName;
  const bool had_picture = PathExists(picture);
  AddRow(u"Rendering " + picture + u" (" + DecimalText(settings.width) + u" x " + DecimalText(settings.height) + u")");
  const RenderResult result = RenderShowingProgress(folder, settings);
  switch (result.outcome) {
    case RenderOutcome::Rendered:
      AddRow(u"Rendered " + picture);
      ShowPicture(picture);
      return;
    case RenderOutcome::Stopped:
      AddRow(had_picture ? u"Render cancelled: the previous " + picture + u" is kept"
                         : u"Render cancelled: " + picture + u" was not written");
      return;
    default:
      break;
  }
  std::u16string told;
  for (const std::u16string& line : result.povray_lines) {
    AddRow(u"POV-Ray: " + line);
    told += line + u"\n";
  }
  const std::u16string failure = RenderFailureText(result, kPovRayProgram, Placing::Sentence);
  AddRow(failure);
  MessageBoxShow(u"imagescan", told.empty() ? failure : failure + u"\n\nPOV-Ray said:\n" + told, 0);
}
