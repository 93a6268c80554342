// Times the window's process runs on a folder: the real program's window with its
// controls, the folder selected in the tree and the process command run as the process
// button runs it, from its start until the scene file is replaced; then as many runs
// again in the same window, whose image list keeps every earlier run's rows. With
// HOLD, the window stays up that many seconds after the last run (for a screenshot).
//   window_scan_bench FOLDER [RUNS [HOLD]]
// Prints one line per run ("run N: R rows before, S s"), then "done".
#include "bench/window_bench.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/window/app_numbers.h"
#include "app/window/folder_listing.h"
#include "app/window/main_window.h"
#include "app/window/window_process.h"
#include "fs/path_separator.h"
#include "fs/text_encoding.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/folder_tree.h"
#include "ui/top_level_windows.h"

namespace {

// The rows of ImageLog: the first row without a text ends them.
int LogRows() {
  int rows = 0;
  while (!ControlItemText(kImageLog, rows, 0).empty()) ++rows;
  return rows;
}

}  // namespace

int WindowBench(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_scan_bench FOLDER [RUNS [HOLD]]\n");
    return 2;
  }
  std::u16string folder = TextFromEscapedBytes(argv[1]);
  if (!PathEndsInSeparator(folder)) folder += kFolderSeparator;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 2;
  MainWindowStart();
  // The window shows before the first run, as it does for the user.
  while (EventWait(0) != 0) {
  }
  FolderTreeNavigate(kFolderTree, folder);
  int rows = LogRows();
  for (int run = 1; run <= runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    ProcessCommand();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("run %d: %d rows before, %.3f s\n", run, rows, seconds);
    std::fflush(stdout);
    rows = LogRows();
  }
  // The file list as the window's loop shows it for the selected folder.
  ListFolderFiles(folder);
  std::printf("done\n");
  std::fflush(stdout);
  const auto hold_until = std::chrono::steady_clock::now() + std::chrono::seconds(argc > 3 ? std::atoi(argv[3]) : 0);
  while (std::chrono::steady_clock::now() < hold_until)
    if (EventWait(100) == CommandEvent && EventControl() == kDimensionsCommand) ShowMeasuredDimensions();
  WindowClose(kMainWindow);
  MainWindowStop();
  return 0;
}
