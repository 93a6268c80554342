#include "app/window/file_dimensions.h"

#include "app/scene/scanned_names.h"
#include "fs/text.h"
#include "image/quick_size.h"

FileDimensions::FileDimensions(int64_t window, int64_t command) : work_(window, command) {}

std::vector<std::u16string> FileDimensions::Cells(const std::u16string& folder, const std::vector<ListedFile>& files) {
  if (folder != folder_) {
    work_.Cancel();
    known_.clear();
    folder_ = folder;
  }
  std::unordered_map<std::u16string, Known> kept;
  std::vector<std::u16string> cells;
  cells.reserve(files.size());
  for (const ListedFile& file : files) {
    std::u16string cell;
    if (IsImageName(file.name)) {
      const auto found = known_.find(file.name);
      if (found != known_.end() && found->second.stamp == file.stamp) {
        const Known& known = found->second;
        if (known.size) cell = DecimalText(known.size->width) + u" x " + DecimalText(known.size->height);
        kept.emplace(file.name, known);
      } else {
        // New, or changed since it was measured (or queued).
        Measure(file.name, file.stamp);
        kept.emplace(file.name, Known{file.stamp, std::nullopt});
      }
    }
    cells.push_back(std::move(cell));
  }
  known_ = std::move(kept);
  return cells;
}

void FileDimensions::Measure(const std::u16string& name, const FileStamp& stamp) {
  work_.Run([this, path = folder_ + name, name, stamp]() -> BackgroundWork::Finish {
    const std::optional<ImageSize> size = QuickImageFileSize(path);
    // Back on the user-interface thread: kept only for the file as it was listed.
    return [this, name, stamp, size] {
      const auto found = known_.find(name);
      if (found == known_.end() || found->second.stamp != stamp) return;
      found->second.size = size;
      arrived_ = true;
    };
  });
}

bool FileDimensions::Deliver() {
  arrived_ = false;
  work_.Deliver();
  return arrived_;
}
