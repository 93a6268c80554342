#pragma once
// The Dimensions column of the file list: each image file's width and height, read from
// its header on a worker thread so that a folder of thousands of pictures lists at once,
// and kept for as long as the file stays as it was.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "fs/file_stamp.h"
#include "image/image_size.h"
#include "ui/background_work.h"

// A file of the folder listed, as its listing found it.
struct ListedFile {
  std::u16string name;
  FileStamp stamp;  // where the listing gave none, the size alone
};

class FileDimensions {
 public:
  // Sizes measured queue CommandEvent `command` for `window`; Deliver then takes them.
  FileDimensions(int64_t window, int64_t command);

  // The Dimensions cells of the folder's files, in their order: "640 x 480" for an image
  // measured as it is now; empty for any other file, for an image whose header cannot be
  // measured, and for one not measured yet, which is queued for measuring. Only these
  // files are kept from now on; the folder is that of the last call (a new one drops
  // what was queued for the old).
  std::vector<std::u16string> Cells(const std::u16string& folder, const std::vector<ListedFile>& files);
  // Takes the sizes measured so far: true when any arrived for a file still listed.
  bool Deliver();

 private:
  struct Known {
    FileStamp stamp;
    std::optional<ImageSize> size;  // nothing until measured, and where it cannot be
  };
  void Measure(const std::u16string& name, const FileStamp& stamp);

  std::u16string folder_;
  std::unordered_map<std::u16string, Known> known_;
  bool arrived_ = false;  // since the last Deliver
  // Last: ended first, so that no job outlives what its result would touch.
  BackgroundWork work_;
};
