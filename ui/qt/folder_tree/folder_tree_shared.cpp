#include "ui/qt/folder_tree/folder_tree_shared.h"

#include <QDir>
#include <QStandardPaths>
#include <QStorageInfo>

#include "ui/folder_tree_model.h"

FolderTreeShared::FolderTreeShared()
    : drives([](const DriveChanges& changes) {
        FolderTreesDrivesChanged(changes.removed | changes.changed, changes.arrived | changes.changed);
      }) {
  computer_icon = icon_provider.icon(QAbstractFileIconProvider::Computer);
  drive_icon = icon_provider.icon(QAbstractFileIconProvider::Drive);
  folder_icon = icon_provider.icon(QAbstractFileIconProvider::Folder);
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QFileInfo info(documents);
  if (documents.isEmpty() || !info.isDir()) return;
  documents_icon = icon_provider.icon(info);
  const QString name = QDir(documents).dirName();
  if (!name.isEmpty()) documents_label = name.toStdU16String();
  documents_path = documents.toStdU16String();
  if (documents_path.back() != u'/') documents_path += u'/';
}

std::shared_ptr<FolderTreeShared> FolderTreeSharedTake() {
  static std::weak_ptr<FolderTreeShared> held;
  std::shared_ptr<FolderTreeShared> shared = held.lock();
  if (!shared) {
    shared = std::make_shared<FolderTreeShared>();
    held = shared;
  }
  return shared;
}

std::u16string DriveDisplayName(const MountEntry& drive) {
  // The system's storage record is used only when it describes this very mount, not
  // the volume some other folder above a missing mount point lies on.
  const QStorageInfo storage(QString::fromStdU16String(drive.mount_point));
  if (storage.isValid() && storage.rootPath().toStdU16String() == drive.mount_point && !storage.name().isEmpty())
    return storage.name().toStdU16String();
  return drive.mount_point;
}
