#include "ui/mounted_drives.h"

namespace {

std::function<std::string()>& Source() {
  static std::function<std::string()> source;
  return source;
}

MountedDrives* g_running = nullptr;

std::string TableText() { return Source() ? Source()() : MountTableRead(); }

}  // namespace

MountedDrives::MountedDrives(Changed changed) : changed_(std::move(changed)) {
  drives_.Update(MountTableDrives(MountTableParse(TableText())));
  g_running = this;
}

MountedDrives::~MountedDrives() {
  if (g_running == this) g_running = nullptr;
}

void MountedDrives::Refresh() {
  const std::string text = TableText();
  if (text.empty()) return;
  const DriveChanges changes = drives_.Update(MountTableDrives(MountTableParse(text)));
  if ((changes.removed | changes.arrived | changes.changed) != 0 && changed_) changed_(changes);
}

void MountedDrivesSourceSet(std::function<std::string()> source) { Source() = std::move(source); }

void MountedDrivesRefresh() {
  if (g_running) g_running->Refresh();
}
