#include "app/scene/scene_file_writer.h"

#include "app/scene/scene_format.h"
#include "fs/file_replacement.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/listings.h"
#include "fs/memory_block.h"
#include "fs/path_ops.h"
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

// Passes the walk on to the caller's observer, and stops it once a write has failed:
// nothing after that could be kept.
class WriteWatch : public ScanObserver {
 public:
  WriteWatch(int64_t file, ScanObserver& observer) : file_(file), observer_(observer) {}
  void ImageFound(const std::u16string& relative_path) override { observer_.ImageFound(relative_path); }
  void FolderEntered(const std::u16string& directory) override { observer_.FolderEntered(directory); }
  void EntryUnreadable(const std::u16string& path, int system_error) override {
    observer_.EntryUnreadable(path, system_error);
  }
  bool ScanContinues() override {
    write_failed_ = FileWriteError(file_) != 0;
    return !write_failed_ && observer_.ScanContinues();
  }
  bool WriteFailed() const { return write_failed_; }

 private:
  int64_t file_;
  ScanObserver& observer_;
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
  // A folder that cannot be listed is told as such, before a temporary file is tried in
  // it (which a folder denying every access would refuse first).
  const int64_t probe = ListingOpen(kAutoNumber, folder, u"*.*");
  if (probe == 0 && PathIsFolder(folder)) {
    result.system_error = FailureCode(ListingLastError());
    result.folder_unreadable = true;
    result.path = folder;
    return result;
  }
  ListingClose(probe);
  const size_t name_start = PathNameStart(target);
  FileReplacement replacement(target.substr(0, name_start), target.substr(name_start));
  if (replacement.Error() != 0 || FileCreateOn(kSceneFileNumber, replacement.WriteHandle(), 0) == 0) {
    result.system_error = FailureCode(replacement.Error() != 0 ? replacement.Error() : FileLastError());
    return result;
  }
  const SceneBlocks blocks = SceneBlocksFor(version);
  int error = WriteBlock(kSceneFileNumber, blocks.header) ? 0 : kOutOfMemoryError;
  WriteWatch watch(kSceneFileNumber, observer);
  const ScanResult scan = ImageScan(folder, folder, kSceneFileNumber, watch, options);
  static_cast<ScanResult&>(result) = scan;
  result.stopped = scan.stopped && !watch.WriteFailed();  // the file stopped it, not the caller
  if (scan.folder_error != 0) {
    // A scene of a folder that could not be listed would list nothing: keep the one there was.
    error = scan.folder_error;
    result.folder_unreadable = true;
    result.path = folder;
  }
  if (error == 0 && !WriteBlock(kSceneFileNumber, blocks.footer)) error = kOutOfMemoryError;
  // A scene cut short would list only part of the folder: the old one stays too.
  if (error == 0 && !result.stopped) error = FileSync(kSceneFileNumber);
  FileClose(kSceneFileNumber);
  // Otherwise the replacement removes the temporary file as it goes.
  if (error == 0 && !result.stopped) error = replacement.Commit();
  result.system_error = error;
  return result;
}

int SceneExitStatus(const SceneFileResult& result) {
  if (result.system_error != 0 || result.stopped) return 1;
  return result.unreadable != 0 || result.unmeasured != 0 ? 3 : 0;
}
