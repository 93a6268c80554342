// Times the window's file list on a folder of images: the real program's window, the
// folder listed as the tree's selection lists it, then the loop run until every image's
// Dimensions cell is filled. Per round it prints how long the listing took, when the
// last dimensions showed, and how long the interface thread was held by showing them
// (all deliveries together, and the longest one): the window answers the user between
// deliveries, so the longest is how long it can seem to hang.
//   file_list_bench FOLDER [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/scene/scanned_names.h"
#include "app/window/app_numbers.h"
#include "app/window/folder_listing.h"
#include "app/window/main_window.h"
#include "bench/window_bench.h"
#include "fs/path_separator.h"
#include "fs/text_encoding.h"
#include "ui/controls.h"
#include "ui/events.h"
#include "ui/top_level_windows.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

// Whether every image row of the list shows its dimensions.
bool AllMeasured() {
  for (int64_t row = 0;; ++row) {
    const std::u16string name = ControlItemText(kFileList, row, 0);
    if (name.empty()) return true;
    if (IsImageName(name) && ControlItemText(kFileList, row, 2).empty()) return false;
  }
}

}  // namespace

int WindowBench(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: file_list_bench FOLDER [ROUNDS]\n");
    return 2;
  }
  std::u16string folder = TextFromEscapedBytes(argv[1]);
  if (!PathEndsInSeparator(folder)) folder += kFolderSeparator;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  MainWindowStart();
  while (EventWait(0) != 0) {
  }
  for (int round = 1; round <= rounds; ++round) {
    ListFolderFiles(u"");  // another folder: what was measured is forgotten
    const Clock::time_point start = Clock::now();
    ListFolderFiles(folder);
    const Clock::time_point listed = Clock::now();
    Clock::duration held{}, longest{};
    int deliveries = 0;
    const Clock::time_point give_up = listed + std::chrono::seconds(60);
    while (!AllMeasured() && Clock::now() < give_up) {
      if (EventWait(1000) != CommandEvent || EventControl() != kDimensionsCommand) continue;
      const Clock::time_point before = Clock::now();
      ShowMeasuredDimensions();
      const Clock::duration took = Clock::now() - before;
      held += took;
      longest = std::max(longest, took);
      ++deliveries;
    }
    std::printf(
        "round %d: listed in %.1f ms, measured after %.1f ms, %d deliveries holding %.1f ms (longest %.1f ms)%s\n",
        round, Milliseconds(listed - start), Milliseconds(Clock::now() - start), deliveries, Milliseconds(held),
        Milliseconds(longest), AllMeasured() ? "" : ", NOT all measured");
    std::fflush(stdout);
  }
  WindowClose(kMainWindow);
  MainWindowStop();
  return 0;
}
