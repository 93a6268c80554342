#pragma once
// What all folder trees share: labels and icons, the documents folder, the file icon
// cache and the drives with their watch. Made with the first tree, kept while any
// tree stands.
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <memory>
#include <string>

#include "ui/file_icon_cache.h"
#include "ui/folder_tree_nodes.h"
#include "ui/qt/folder_tree/drive_watch.h"

struct FolderTreeShared : FolderTreePlaces {
  FolderTreeShared();

  QIcon computer_icon;
  QIcon drive_icon;
  QIcon folder_icon;
  QIcon documents_icon;  // shown where the documents folder exists
  QFileIconProvider icon_provider;
  FileIconCache<QIcon> file_icons{
      [this](const std::u16string& path) { return icon_provider.icon(QFileInfo(QString::fromStdU16String(path))); }};
  DriveWatch drives;
};

// The shared data, made when no tree holds it.
std::shared_ptr<FolderTreeShared> FolderTreeSharedTake();

// A drive's node text: its volume label, else its mount point.
std::u16string DriveDisplayName(const MountEntry& drive);
