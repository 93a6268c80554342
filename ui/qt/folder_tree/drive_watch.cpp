#include "ui/qt/folder_tree/drive_watch.h"

#include <QFile>
#include <QSocketNotifier>

namespace {

std::function<std::string()>& Source() {
  static std::function<std::string()> source;
  return source;
}

DriveWatch* g_running = nullptr;

std::string TableText() { return Source() ? Source()() : MountTableRead(); }

}  // namespace

DriveWatch::DriveWatch(Changed changed) : changed_(std::move(changed)) {
  drives_.Update(MountTableDrives(MountTableParse(TableText())));
  // The kernel marks the table's descriptor with an exceptional condition whenever a
  // volume is mounted or unmounted.
  table_ = std::make_unique<QFile>(QString::fromLatin1(kMountTableFile));
  if (table_->open(QIODevice::ReadOnly)) {
    notifier_ = std::make_unique<QSocketNotifier>(table_->handle(), QSocketNotifier::Exception);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Refresh(); });
  }
  g_running = this;
}

DriveWatch::~DriveWatch() {
  if (g_running == this) g_running = nullptr;
}

void DriveWatch::Refresh() {
  const std::string text = TableText();
  // A table that cannot be read says nothing about the drives; keep them.
  if (text.empty()) return;
  const DriveChanges changes = drives_.Update(MountTableDrives(MountTableParse(text)));
  if ((changes.removed | changes.arrived | changes.changed) != 0 && changed_) changed_(changes);
}

void DriveWatchSourceSet(std::function<std::string()> source) { Source() = std::move(source); }

void DriveWatchRefresh() {
  if (g_running) g_running->Refresh();
}
