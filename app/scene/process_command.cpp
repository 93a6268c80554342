#include "app/scene/process_command.h"

#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/memory_block.h"
#include "fs/text_from_bytes.h"
#include "fs/text.h"

namespace {

// Writes a stored block as one line in the file's default format. The block goes
// through a memory block and TextFromBytes like any other bytes that become text.
void WriteBlock(int64_t file, std::string_view bytes) {
  const auto length = static_cast<int64_t>(bytes.size());
  void* block = MemoryAllocate(length);
  if (block == nullptr) return;
  MemoryCopy(bytes.data(), block, length);
  FileWriteLine(file, TextFromBytes(block, length, TextFormat::Utf8), 0);
  MemoryFree(block);
}

}  // namespace

ScanResult WriteScene(int64_t scene_file, const std::u16string& folder, ScanObserver& observer,
                      const ScanOptions& options, PovVersion version) {
  const SceneBlocks blocks = SceneBlocksFor(version);
  WriteBlock(scene_file, blocks.header);
  const ScanResult scan = ImageScan(folder, folder, scene_file, observer, options);
  WriteBlock(scene_file, blocks.footer);
  return scan;
}

bool ProcessFolder(const std::u16string& selected_path, ScanObserver& observer) {
  if (TextEquals(selected_path, u"")) return true;
  const std::u16string output_path = selected_path + kSceneFileName;

  FileCreate(kSceneFileNumber, output_path, 0);
  WriteScene(kSceneFileNumber, selected_path, observer);
  FileClose(kSceneFileNumber);

  if (FileOpen(kSceneFileNumber, output_path, 0) == 0) return false;
  while (FileAtEnd(kSceneFileNumber) == 0) FileReadLine(kSceneFileNumber, TextFormat::Ansi);
  FileClose(kSceneFileNumber);
  return true;
}
