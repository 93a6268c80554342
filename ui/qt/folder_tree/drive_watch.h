#pragma once
// Follows the mount table: keeps the numbered drives and says, whenever the system's
// table changes, which drives came, went or changed.
#include <functional>
#include <memory>
#include <string>

#include "ui/drive_table.h"

class QFile;
class QSocketNotifier;

class DriveWatch {
 public:
  using Changed = std::function<void(const DriveChanges&)>;
  // Reads the table now and watches it from then on; `changed` runs after each
  // change, with the drives already updated.
  explicit DriveWatch(Changed changed);
  ~DriveWatch();
  DriveWatch(const DriveWatch&) = delete;
  DriveWatch& operator=(const DriveWatch&) = delete;

  const DriveTable& Drives() const { return drives_; }
  // Reads the table again and reports what changed, if anything.
  void Refresh();

 private:
  DriveTable drives_;
  Changed changed_;
  std::unique_ptr<QFile> table_;  // open while watched: changes show on its descriptor
  std::unique_ptr<QSocketNotifier> notifier_;
};

// Where the table's text comes from: the system's table, unless a test sets another
// source (a fake table); null goes back to the system's.
void DriveWatchSourceSet(std::function<std::string()> source);
// Refreshes the running watch, as a change of the system's table does. Nothing when no
// folder tree stands.
void DriveWatchRefresh();
