#include "app/scene/scene_file_writer.h"

#include <cerrno>
#include <random>

#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/folder_identity.h"
#include "fs/memory_block.h"
#include "fs/path_ops.h"
#include "fs/text_from_bytes.h"

namespace {

// A hidden name beside the scene file; it ends in ".tmp", so a scan never lists it even
// when a killed run leaves it behind.
std::u16string TemporaryPath(const std::u16string& target) {
  std::random_device random;
  const uint64_t value = (uint64_t{random()} << 32) | random();
  const size_t name_start = target.rfind(u'/') + 1;  // npos + 1 is 0
  std::u16string path = target.substr(0, name_start) + u"." + target.substr(name_start) + u".";
  for (int shift = 60; shift >= 0; shift -= 4) path += u"0123456789abcdef"[(value >> shift) & 0xF];
  return path + u".tmp";
}

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

SceneFileResult WriteSceneFileSafely(const std::u16string& folder, ScanObserver& observer) {
  SceneFileResult result;
  result.path = folder + kSceneFileName;
  // A folder in the scene file's place would refuse the rename only after the whole
  // scan: say so before it.
  if (FolderIdentityOf(result.path)) {
    result.system_error = EISDIR;
    return result;
  }
  const std::u16string temporary = TemporaryPath(result.path);

  if (FileCreate(kSceneFileNumber, temporary, 0) == 0) {
    result.system_error = FileLastError();
    if (result.system_error == 0) result.system_error = -1;
    return result;
  }
  int error = WriteBlock(kSceneFileNumber, kSceneHeader) ? 0 : ENOMEM;
  WriteWatch watch(kSceneFileNumber, observer);
  result.totals = ImageScan(folder, folder, kSceneFileNumber, watch);
  if (watch.WriteFailed()) result.totals.stopped = false;  // the file stopped it, not the caller
  if (error == 0 && !WriteBlock(kSceneFileNumber, kSceneFooter)) error = ENOMEM;
  if (error == 0 && !result.totals.stopped) error = FileSync(kSceneFileNumber);
  FileClose(kSceneFileNumber);
  if (error == 0 && !result.totals.stopped) error = PathRename(temporary, result.path);
  if (error != 0 || result.totals.stopped) PathRemove(temporary);
  result.system_error = error;
  return result;
}
