#include "app/scene/scene_file_writer.h"

#include <optional>
#include <string_view>

#include "app/scene/scanned_folder.h"
#include "app/scene/scene_format.h"
#include "fs/file_replacement.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/memory_block.h"
#include "fs/path_separator.h"
#include "fs/system_errors.h"
#include "fs/text_from_bytes.h"

namespace {

// Writes a stored block as one line in the file's default format. The block goes
// through a memory block and TextFromBytes like any other bytes that become text.
bool WriteBlock(int64_t file, std::string_view bytes) {
  const auto length = static_cast<int64_t>(bytes.size());
  void* block = MemoryAllocate(length);
  if (block == nullptr) return false;
  MemoryCopy(bytes.data(), block, length);
  FileWriteLine(file, TextFromBytes(block, length, TextFormat::Utf8), 0);
  MemoryFree(block);
  return true;
}

// The scene's side of the walk, passing every report on to the caller's observer. The
// temporary file is made when the scan reports the scanned folder, that is once the
// folder has been listed: a folder that cannot be listed is then told as such, not as
// one that refuses a new file (a folder denying every access does both). Once the file
// cannot be made or a write has failed the walk stops: nothing after that could be kept.
class SceneWriter : public ScanObserver {
 public:
  SceneWriter(const std::u16string& target, std::string_view header, ScanObserver& observer)
      : target_(target), header_(header), observer_(observer) {}
  ~SceneWriter() override {
    if (replacement_) FileClose(kSceneFileNumber);
  }
  SceneWriter(const SceneWriter&) = delete;
  SceneWriter& operator=(const SceneWriter&) = delete;

  void FolderEntered(const std::u16string& directory) override {
    if (Begin()) observer_.FolderEntered(directory);
  }
  void ImageFound(const std::u16string& relative_path, ImageSize size) override {
    FileWriteLine(kSceneFileNumber, AddImageLine(relative_path, size.width, size.height), TextFormat::Ansi);
    observer_.ImageFound(relative_path, size);
  }
  void EntryUnreadable(const std::u16string& path, int system_error) override {
    observer_.EntryUnreadable(path, system_error);
  }
  bool ScanContinues() override {
    write_failed_ = write_failed_ || (replacement_ && FileWriteError(kSceneFileNumber) != 0);
    return !Failed() && observer_.ScanContinues();
  }

  // The writer, not the caller's observer, stopped the walk.
  bool Failed() const { return error_ != 0 || write_failed_; }

  // Ends the file with the footer, makes it durable and puts it in place of the old one;
  // 0 when it is there, else the first failure's code. Made here when the scan made it
  // not (the path of a file lists nothing): its scene is the header and footer alone.
  int Finish(std::string_view footer) {
    if (!Begin()) return error_;
    int error = WriteBlock(kSceneFileNumber, footer) ? 0 : kOutOfMemoryError;
    if (error == 0) error = FileSync(kSceneFileNumber);
    FileClose(kSceneFileNumber);
    // Otherwise the replacement removes the temporary file as it goes.
    return error == 0 ? replacement_->Commit() : error;
  }

 private:
  // Makes the temporary file and writes the header, once; false when that failed.
  bool Begin() {
    if (replacement_ || error_ != 0) return error_ == 0;
    const size_t name_start = PathNameStart(target_);
    replacement_.emplace(target_.substr(0, name_start), target_.substr(name_start));
    if (replacement_->Error() != 0 || FileCreateOn(kSceneFileNumber, replacement_->WriteHandle(), 0) == 0) {
      error_ = FailureCode(replacement_->Error() != 0 ? replacement_->Error() : FileLastError());
    } else if (!WriteBlock(kSceneFileNumber, header_)) {
      error_ = kOutOfMemoryError;
    }
    return error_ == 0;
  }

  const std::u16string& target_;
  std::string_view header_;
  ScanObserver& observer_;
  std::optional<FileReplacement> replacement_;
  int error_ = 0;
  bool write_failed_ = false;
};

}  // namespace

SceneFileResult WriteSceneFileSafely(const std::u16string& folder, ScanObserver& observer, const ScanOptions& options,
                                     PovVersion version) {
  const std::u16string target = folder + kSceneFileName;
  SceneFileResult result;
  result.path = target;
  // A folder in the scene file's place would refuse the rename only after the whole
  // scan: say so before it.
  if (FolderIdentityOf(target)) {
    result.system_error = kIsFolderError;
    return result;
  }
  const SceneBlocks blocks = SceneBlocksFor(version);
  SceneWriter writer(target, blocks.header, observer);
  // The path of a file or of nothing has no listing: the scene of a file's path is the
  // header and footer beside it, and a missing folder refuses the file.
  if (ScannedFolderOf(folder).kind == ScannedKind::Folder) {
    static_cast<ScanResult&>(result) = ImageScan(folder, folder, writer, options);
    if (result.folder_error != 0) {
      // A scene of a folder that could not be listed would list nothing: keep the one there was.
      result.system_error = result.folder_error;
      result.folder_unreadable = true;
      result.path = folder;
      return result;
    }
    result.stopped = result.stopped && !writer.Failed();
    // A scene cut short would list only part of the folder: the old one stays too.
    if (result.stopped) return result;
  }
  result.system_error = writer.Finish(blocks.footer);
  return result;
}

int SceneExitStatus(const SceneFileResult& result) {
  if (result.system_error != 0 || result.stopped) return 1;
  return result.unreadable != 0 || result.unmeasured != 0 ? 3 : 0;
}
