#include "app/window/main_window_layout.h"

#include "app/window/app_numbers.h"
#include "ui/control_anchor.h"
#include "ui/controls.h"
#include "ui/folder_drop.h"
#include "ui/top_level_windows.h"

namespace {

// The window's extra width goes two fifths to the tree and three fifths to the file
// list, its extra height three fifths to the two lists and two fifths to the image
// list, as they share the designed size; the buttons stay under the lists' common edge.
constexpr double kTreeShare = 0.4;
constexpr double kListsShare = 0.6;

}  // namespace

void MainWindowLayout() {
  ControlAnchorSet(kFolderTree, {0, 0, kTreeShare, kListsShare});
  ControlAnchorSet(kFileList, {kTreeShare, 0, 1, kListsShare});
  ControlAnchorSet(kProcessButton, {0, kListsShare, 0, kListsShare});
  ControlAnchorSet(kQuitButton, {kTreeShare, kListsShare, kTreeShare, kListsShare});
  ControlAnchorSet(kRenderButton, {0, kListsShare, 0, kListsShare});
  ControlAnchorSet(kImageLog, {0, kListsShare, 1, 1});
  // The spaced-out captions would be read letter by letter.
  ControlSetAccessibleName(kProcessButton, u"process");
  ControlSetAccessibleName(kQuitButton, u"quit");
  ControlSetAccessibleName(kRenderButton, u"render");
  WindowAcceleratorAdd(kMainWindow, u"Ctrl+Q", kQuitCommand);
  WindowAcceleratorAdd(kMainWindow, u"F5", kRefreshCommand);
  WindowAcceleratorAdd(kMainWindow, u"Ctrl+R", kRenderCommand);
  FolderDropAccept(kMainWindow, kFolderDroppedCommand);
}
