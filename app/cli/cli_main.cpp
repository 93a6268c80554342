// imagescan-cli: writes the scene file of each folder given, as the window's process
// command does, for scripts and machines without a display.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/cli/cli_progress.h"
#include "app/cli/cli_render.h"
#include "app/cli/terminal_text.h"
#include "app/scene/process_command.h"
#include "app/scene/process_report.h"
#include "app/scene/scanned_folder.h"
#include "app/scene/scene_format.h"
#include "app/scene/size_store.h"
#include "fs/console.h"
#include "fs/exit_signals.h"
#include "fs/files.h"
#include "fs/listings.h"
#include "fs/path_separator.h"
#include "fs/text_encoding.h"
#include "image/image_setup.h"

namespace {

// A name in a message on standard error.
std::string Bytes(const std::u16string& text) { return ShownText(text, ConsoleIsTerminal(2)); }

void StartLibraries() {
  FileFilesInit();
  ImageLayerStart();
}

void StopLibraries() {
  ImageLayerStop();
  ListingCloseAll();
  FileFilesEnd();
}

// Tells on standard error what the run did, as the window's image list does: the
// count of images with the time the run took, all else after the program's name.
void PrintReport(const ProcessResult& result, double seconds, bool quiet) {
  for (const ReportRow& row : ProcessReport(result, Placing::AfterProgramName)) {
    if (row.kind == ReportKind::Written) {
      std::fprintf(stderr, "%s in %.2f s\n", Bytes(row.text).c_str(), seconds);
    } else if (row.kind != ReportKind::Hint || !quiet) {
      std::fprintf(stderr, "imagescan-cli: %s\n", Bytes(row.text).c_str());
    }
  }
}

// The folders to scan, each once and with its final separator; none, with the reason
// told, when an argument is no folder.
std::optional<std::vector<std::u16string>> FoldersToScan(const std::vector<std::string>& arguments) {
  std::vector<std::u16string> folders;
  // A folder named twice, under any spelling, is written once.
  std::vector<FolderIdentity> identities;
  for (const std::string& argument : arguments) {
    const std::u16string path = TextFromEscapedBytes(argument);
    const ScannedFolder folder = ScannedFolderOf(path);
    if (folder.kind != ScannedKind::Folder) {
      std::fprintf(stderr, "imagescan-cli: %s: %s\n", argument.c_str(),
                   folder.kind == ScannedKind::File ? "not a folder" : "no such folder");
      return std::nullopt;
    }
    if (folder.identity) {
      if (std::find(identities.begin(), identities.end(), *folder.identity) != identities.end()) continue;
      identities.push_back(*folder.identity);
    }
    folders.push_back(PathAsFolder(path));
  }
  return folders;
}

// `unfinished` names the scene file being made while a scan runs, for a failure that
// ends the program meanwhile.
int Run(const CliOptions& options, std::string& unfinished) {
  const std::optional<std::vector<std::u16string>> folders = FoldersToScan(options.folders);
  if (!folders) return 2;

  ConsoleKeepFileSizeErrors();
  ConsoleKeepClosedOutputErrors();
  ExitSignalsInstall();
  StartLibraries();
  std::optional<SizeStore> store;
  if (!options.no_cache && options.measure != MeasureMode::Bitmap) store.emplace(SizeStore::ForUser());
  const CliRender render(options);
  const ProcessOptions process{{options.measure, 0, store ? &*store : nullptr}, render.SceneVersion(), false};
  int status = 0;
  for (const std::u16string& folder : *folders) {
    const auto start = std::chrono::steady_clock::now();
    CliProgress progress(stdout, stderr, !options.quiet, ConsoleIsTerminal(2), ConsoleIsTerminal(1),
                         options.null_separated ? '\0' : '\n');
    progress.SetInterruptNote("imagescan-cli: interrupted; " + Bytes(folder + kSceneFileName) + " left as it was\n");
    unfinished = Bytes(folder + kSceneFileName);
    const ProcessResult result = ProcessFolder(folder, progress, process);
    unfinished.clear();
    progress.Finish();
    // Told once; the scene is right without the store.
    if (store) {
      if (const std::u16string warning = store->TakeWarning(); !warning.empty())
        std::fprintf(stderr, "imagescan-cli: warning: %s\n", Bytes(warning).c_str());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    PrintReport(result, seconds, options.quiet);
    const int folder_status = SceneExitStatus(result.scene);
    // Nothing written beats a scene with gaps, which beats a complete one.
    if (folder_status == 1 || status == 0) status = folder_status;
    // A scene written without its picture beats a scene with gaps.
    if (result.scene.system_error == 0 && render.Render(folder, progress, unfinished) != 0 && status != 1) {
      status = kRenderFailedStatus;
    }
  }
  StopLibraries();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const CliParse parse = ParseCliArguments(ConsoleStart(argc, argv));
  if (!parse.error.empty()) {
    std::fprintf(stderr, "imagescan-cli: %s\nTry 'imagescan-cli --help' for more information.\n", parse.error.c_str());
    return 2;
  }
  if (parse.options.help) {
    std::fputs(kCliUsage, stdout);
    return 0;
  }
  if (parse.options.version) {
    std::printf("imagescan-cli %s\n", IMAGESCAN_VERSION);
    return 0;
  }
  // Whatever fails on the way out of a scan, its temporary file is gone by now and its
  // old scene stays: that is a failure to say, not an abort. Scenes written before it
  // were reported as written.
  std::string unfinished;
  const auto fail = [&unfinished](const char* reason) {
    if (unfinished.empty()) {
      std::fprintf(stderr, "imagescan-cli: %s\n", reason);
    } else {
      std::fprintf(stderr, "imagescan-cli: %s; %s left as it was\n", reason, unfinished.c_str());
    }
    return 1;
  };
  try {
    return Run(parse.options, unfinished);
  } catch (const std::bad_alloc&) {
    return fail("out of memory");
  } catch (const std::exception& error) {
    return fail(error.what());
  }
}
