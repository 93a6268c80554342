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
#include "app/scene/access_failure.h"
#include "app/scene/scene_file_writer.h"
#include "app/scene/scene_format.h"
#include "app/scene/scene_report.h"
#include "app/scene/size_store.h"
#include "fs/console.h"
#include "fs/exit_signals.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/listings.h"
#include "fs/path_ops.h"
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

// The folder as scanned: its path with a final separator, the one the path already uses,
// else the system's own.
std::u16string FolderPath(std::u16string folder) {
  if (PathEndsInSeparator(folder)) return folder;
  const size_t name_start = PathNameStart(folder);
  folder += name_start > 0 ? folder[name_start - 1] : kFolderSeparator;
  return folder;
}

// `unfinished` names the scene file being made while a scan runs, for a failure that
// ends the program meanwhile.
int Run(const CliOptions& options, std::string& unfinished) {
  std::vector<std::u16string> folders;
  // A folder named twice, under any spelling, is written once.
  std::vector<FolderIdentity> identities;
  for (const std::string& argument : options.folders) {
    const std::u16string path = TextFromEscapedBytes(argument);
    const auto identity = FolderIdentityOf(path);
    // A folder that cannot be opened at all (on Windows, one that denies access) has no
    // identity, but is a folder: its scan says why it cannot be read.
    if (!identity && !PathIsFolder(path)) {
      std::fprintf(stderr, "imagescan-cli: %s: %s\n", argument.c_str(),
                   PathExists(path) ? "not a folder" : "no such folder");
      return 2;
    }
    if (identity) {
      if (std::find(identities.begin(), identities.end(), *identity) != identities.end()) continue;
      identities.push_back(*identity);
    }
    folders.push_back(FolderPath(path));
  }

  ConsoleKeepFileSizeErrors();
  ConsoleKeepClosedOutputErrors();
  ExitSignalsInstall();
  StartLibraries();
  std::optional<SizeStore> store;
  if (!options.no_cache && options.measure != MeasureMode::Bitmap) store.emplace(SizeStore::ForUser());
  const CliRender render(options);
  int status = 0;
  for (const std::u16string& folder : folders) {
    const auto start = std::chrono::steady_clock::now();
    CliProgress progress(stdout, stderr, !options.quiet, ConsoleIsTerminal(2), ConsoleIsTerminal(1),
                         options.null_separated ? '\0' : '\n');
    progress.SetInterruptNote("imagescan-cli: interrupted; " + Bytes(folder + kSceneFileName) + " left as it was\n");
    unfinished = Bytes(folder + kSceneFileName);
    const SceneFileResult result =
        WriteSceneFileSafely(folder, progress, {options.measure, 0, store ? &*store : nullptr}, render.SceneVersion());
    unfinished.clear();
    progress.Finish();
    // Told once; the scene is right without the store.
    if (store) {
      if (const std::u16string warning = store->TakeWarning(); !warning.empty())
        std::fprintf(stderr, "imagescan-cli: warning: %s\n", Bytes(warning).c_str());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int folder_status = SceneExitStatus(result);
    // Nothing written beats a scene with gaps, which beats a complete one.
    if (folder_status == 1 || status == 0) status = folder_status;
    if (result.system_error != 0) {
      const std::u16string failure = AccessFailureText(result.folder_unreadable ? Access::Read : Access::Write,
                                                       result.path, result.system_error, Placing::AfterProgramName);
      std::fprintf(stderr, "imagescan-cli: %s\n", Bytes(failure).c_str());
      continue;
    }
    std::fprintf(stderr, "wrote %s to %s in %.2f s\n", Bytes(Counted(result.images, u"image")).c_str(),
                 Bytes(result.path).c_str(), seconds);
    for (const std::u16string& warning :
         {SceneTableWarning(result.path, result.images), UnreadableEntriesText(result.unreadable),
          UnmeasuredImagesText(result.unmeasured)}) {
      if (!warning.empty()) std::fprintf(stderr, "imagescan-cli: warning: %s\n", Bytes(warning).c_str());
    }
    const std::u16string hint = SkippedNamesHint(result.skipped_names);
    if (!options.quiet && !hint.empty()) std::fprintf(stderr, "imagescan-cli: %s\n", Bytes(hint).c_str());
    // A scene without its picture beats a scene with gaps.
    if (render.Render(folder, progress, unfinished) != 0 && status != 1) status = kRenderFailedStatus;
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
