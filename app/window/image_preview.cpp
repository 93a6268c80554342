#include "app/window/image_preview.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/window/app_numbers.h"
#include "app/window/folder_listing.h"
#include "fs/path_separator.h"
#include "fs/text.h"
#include "image/image_measure.h"
#include "image/image_picture.h"
#include "ui/background_work.h"
#include "ui/controls.h"
#include "ui/picture_fit.h"
#include "ui/picture_window.h"
#include "ui/top_level_windows.h"

namespace {

constexpr double kScreenShare = 0.5;
constexpr char16_t kRefusal[] = u"cannot be read as an image";
// A frame the user can size and close; it never takes the keyboard from the list.
constexpr uint32_t kPreviewFlags = kWindowCaption | kWindowSystemMenu | kWindowSizingBorder | kWindowNoActivate;

struct Preview {
  bool open = false;               // from Space until it is closed, picture or not
  bool window_open = false;        // once the first picture came
  std::u16string path;             // the file shown or being loaded
  std::optional<FileStamp> stamp;  // as it was listed when its load began
  BackgroundWork work{kMainWindow, kPreviewLoadedCommand};
};

std::unique_ptr<Preview> g_preview;

struct SelectedFile {
  std::u16string name;
  std::u16string path;  // empty: no file selected
};

SelectedFile Selected() {
  const int64_t row = ControlGetState(kFileList);
  const std::u16string& folder = ListedFolder();
  if (row < 0 || folder.empty()) return {};
  SelectedFile file{ControlItemText(kFileList, row, 0), folder};
  if (!PathEndsInSeparator(folder)) file.path += kFolderSeparator;
  file.path += file.name;
  return file;
}

// What a file without a picture shows: the loader keeps an icon with its size but no
// picture, and a scan measures it, so only the others cannot be read.
std::u16string NoPictureText(const std::u16string& path) {
  const std::optional<ImageSize> size = MeasureImageFile(path);
  if (!size) return kRefusal;
  return u"an icon of " + DecimalText(size->width) + u" x " + DecimalText(size->height) + u": not drawn here";
}

void Show(const std::u16string& name, std::optional<Bitmap> picture, const std::u16string& text) {
  if (!g_preview || !g_preview->open) return;
  if (g_preview->window_open) {
    PictureWindowShow(kPreviewWindow, name, std::move(picture), text);
    return;
  }
  g_preview->window_open =
      PictureWindowOpen(kPreviewWindow, name, std::move(picture), text, kScreenShare, kPreviewFlags, kMainWindow) != 0;
  // Given the keyboard after all (a window manager that activates it when clicked), it
  // still closes by the keys that close it from the list.
  WindowAcceleratorAdd(kPreviewWindow, u"Space", kPreviewCloseCommand);
  WindowAcceleratorAdd(kPreviewWindow, u"Escape", kPreviewCloseCommand);
}

// Loads the file on the worker; a load still running for another file is dropped.
void Load(const SelectedFile& file) {
  g_preview->path = file.path;
  g_preview->stamp = ListedFileStamp(file.name);
  g_preview->work.Cancel();
  g_preview->work.Run([file]() -> BackgroundWork::Finish {
    // Shared, as the result must be copyable; it is taken once.
    auto picture = std::make_shared<std::optional<Bitmap>>(ReadImagePicture(file.path));
    PicturePrepare(*picture);
    const std::u16string text = *picture ? std::u16string() : NoPictureText(file.path);
    return [name = file.name, picture, text] { Show(name, std::move(*picture), text); };
  });
}

}  // namespace

void PreviewToggle() {
  if (g_preview && g_preview->open) {
    PreviewClose();
    return;
  }
  const SelectedFile file = Selected();
  if (file.path.empty()) return;
  if (!g_preview) g_preview = std::make_unique<Preview>();
  g_preview->open = true;
  Load(file);
}

void PreviewClose() {
  if (!g_preview || !g_preview->open) return;
  g_preview->work.Cancel();
  g_preview->open = false;
  g_preview->path.clear();
  if (std::exchange(g_preview->window_open, false)) WindowClose(kPreviewWindow);
}

void PreviewFollowSelection() {
  if (!g_preview || !g_preview->open) return;
  const SelectedFile file = Selected();
  if (file.path.empty()) {
    PreviewClose();
    return;
  }
  // The same file changed on disk is loaded again as well.
  if (file.path != g_preview->path || ListedFileStamp(file.name) != g_preview->stamp) Load(file);
}

void PreviewDeliver() {
  if (g_preview) g_preview->work.Deliver();
}

void PreviewEnd() {
  PreviewClose();
  g_preview.reset();
}
