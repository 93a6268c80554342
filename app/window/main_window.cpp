#include "app/window/main_window.h"

#include <utility>

#include "app/window/app_numbers.h"
#include "app/window/folder_listing.h"
#include "app/window/image_preview.h"
#include "app/window/main_window_layout.h"
#include "app/window/scene_version_choice.h"
#include "app/window/window_process.h"
#include "app/window/window_render.h"
#include "fs/console.h"
#include "fs/files.h"
#include "fs/listings.h"
#include "image/image_setup.h"
#include "ui/column_list.h"
#include "ui/control_shortcut.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/folder_drop.h"
#include "ui/folder_follow.h"
#include "ui/folder_tree.h"
#include "ui/line_list.h"
#include "ui/message_box.h"
#include "ui/push_button.h"
#include "ui/top_level_windows.h"

namespace {

// Title bar, close box and sizing border; no minimise or maximise box.
constexpr uint32_t kMainWindowFlags = kWindowCaption | kWindowSystemMenu | kWindowSizingBorder;

// Told once the loop runs, over the window rather than before it.
std::u16string g_start_problem;

// The folder the tree selects, shown in the file list and remembered for the next start.
void ShowSelectedFolder() {
  const std::u16string folder = ControlGetText(kFolderTree);
  ListFolderFiles(folder);
  RememberFolder(folder);
  PreviewFollowSelection();
}

}  // namespace

void MainWindowStart(const StartFolder& start) {
  // A write beyond a file size limit fails like a full disk instead of ending the program.
  ConsoleKeepFileSizeErrors();
  UiEventsInit();
  FileFilesInit();
  ImageLayerInit();
  UiDpiInit();
  UiWindowsInit();
  UiControlsInit();
  UiCommonInit();
  ImageDecodersInit();

  // The caption's spelling is the one users know the window by: it stays as it is.
  WindowCreate(kMainWindow, 800, 100, 600, 600, u"SELECT DIRECTORTY TO SCAN FOR IMAGES", kMainWindowFlags);
  FolderTreeCreate(kFolderTree, 10, 10, 200, 300, u"", kFolderTreeSorted | kFolderTreeShowSelectionAlways);
  ColumnListCreate(kFileList, 220, 10, 300, 300, u"Name", 250, kColumnListSorted);
  ControlAddColumn(kFileList, 1, u"Size", 100);
  ColumnListNumberColumn(kFileList, 1);
  ControlAddColumn(kFileList, 2, u"Dimensions", 90);
  ColumnListDimensionsColumn(kFileList, 2);
  // Space shows the selected image, as file managers' quick look does; Escape closes it.
  ControlShortcutAdd(kFileList, u"Space", kPreviewCommand);
  ControlShortcutAdd(kFileList, u"Escape", kPreviewCloseCommand);
  PushButtonCreate(kProcessButton, 10, 315, 100, 30, u" p r o c e s s ", 0);
  // Between process and quit, where the row has room, and next after process for Tab: the
  // others keep their places.
  PushButtonCreate(kRenderButton, 120, 315, 100, 30, u" &r e n d e r ", 0);
  PushButtonCreate(kQuitButton, 310, 315, 100, 30, u" q u i t  ", 0);
  LineListCreate(kImageLog, 10, 350, 500, 200, 0);
  ControlAddItem(kImageLog, -1, u"image list");
  MainWindowLayout();
  if (!start.folder.empty()) {
    FolderTreeNavigate(kFolderTree, start.folder);
    ShowSelectedFolder();
  }
  g_start_problem = start.problem;
}

int MainWindowRun() {
  if (!g_start_problem.empty()) MessageBoxShow(u"imagescan", std::exchange(g_start_problem, {}), 0);
  for (;;) {
    const int32_t code = EventWait(-1);
    if (code == ControlEvent) {
      switch (EventControl()) {
        case kFolderTree:
          ShowSelectedFolder();
          break;
        case kProcessButton:
          // Its menu: which POV-Ray the scenes are for.
          if (EventDetail() == DetailRightClick) {
            ChooseSceneVersion();
            break;
          }
          ProcessCommand();
          // The scene file replaced in the folder listed shows its new size at once.
          UpdateFolderFiles();
          break;
        case kRenderButton:
          RenderCommand();
          UpdateFolderFiles();
          break;
        case kQuitButton:
          WindowClose(kMainWindow);
          return 0;
        case kFileList:
          if (EventDetail() == DetailLeftDoubleClick) ShowFileMessage();
          if (EventDetail() == DetailChange) PreviewFollowSelection();
          break;
        default:
          break;
      }
    }
    if (code == CommandEvent && EventControl() == kQuitCommand) {
      WindowClose(kMainWindow);
      return 0;
    }
    if (code == CommandEvent && EventControl() == kRenderCommand) {
      RenderCommand();
      UpdateFolderFiles();
    }
    if (code == CommandEvent && EventControl() == kRefreshCommand) {
      FolderTreeRefresh(kFolderTree);
      ListFolderFiles(ControlGetText(kFolderTree));
      PreviewFollowSelection();
    }
    if (code == CommandEvent && EventControl() == kFilesChangedCommand) {
      UpdateFolderFiles();
      PreviewFollowSelection();
    }
    if (code == CommandEvent && EventControl() == kPreviewCommand) PreviewToggle();
    if (code == CommandEvent && EventControl() == kPreviewCloseCommand) PreviewClose();
    if (code == CommandEvent && EventControl() == kPreviewLoadedCommand) PreviewDeliver();
    if (code == CommandEvent && EventControl() == kDimensionsCommand) ShowMeasuredDimensions();
    if (code == CommandEvent && EventControl() == kFolderDroppedCommand) {
      // An empty path would rebuild the tree: a drop already taken changes nothing.
      if (const std::u16string dropped = FolderDropTake(); !dropped.empty()) {
        FolderTreeNavigate(kFolderTree, dropped);
        ShowSelectedFolder();
      }
    }
    if (code == CloseEvent && EventControl() == kPreviewWindow) PreviewClose();
    if (code == CloseEvent && EventControl() == kRenderedWindow) WindowClose(kRenderedWindow);
    if (code == CloseEvent && EventControl() == kMainWindow) return 0;
  }
}

void MainWindowStop() {
  FolderFollow(kMainWindow, u"", 0);
  PreviewEnd();
  FolderFilesEnd();
  UiControlsEnd();
  UiWindowsEnd();
  ImageLayerStop();
  ListingCloseAll();
  FileFilesEnd();
  UiEventsEnd();
}
