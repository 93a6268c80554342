#pragma once
// Sizes measured before, kept per user in a database in the cache folder, so that a scan
// of a tree scanned before measures only what changed. An entry is keyed by what the
// file system says of the file (device, file number, size, modification and change times
// in nanoseconds) and holds the size found and how it was found; no name or path. A
// store that cannot be used never fails a scan: every image is measured then, and the
// problem is told once.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/scene/image_scan.h"
#include "fs/file_stamp.h"
#include "fs/sqlite_database.h"
#include "fs/stamp_trust.h"
#include "image/image_size.h"

class SizeStore {
 public:
  // Nanoseconds since 1970.
  using Clock = int64_t (*)();
  static int64_t SystemClock();

  // The store of the user's cache folder (see CacheFolderMake).
  static SizeStore ForUser();
  // The store in `folder` (ending in a separator). `clock` tells when a scan starts.
  explicit SizeStore(const std::u16string& folder, Clock clock = SystemClock);
  SizeStore(SizeStore&&) = default;
  // Writes what is kept and not yet written.
  ~SizeStore();

  // Before a scan: sizes found in `mode` are kept and looked up until ScanEnds.
  void ScanBegins(MeasureMode mode);
  // The size kept for a file with exactly this stamp, found in a mode that answers this
  // scan's: an exact size answers a quick scan, a quick one never an exact scan. `path`
  // leads to the file, for telling its file system.
  std::optional<ImageSize> Find(const FileStamp& stamp, const std::u16string& path);
  // What the store keeps of the file `node` on `device`, whatever its content is now:
  // where it keeps nothing, Find would not answer for it either, so the file need not be
  // looked at first. Answer tells whether it answers for the file's stamp.
  struct Kept {
    FileStamp stamp;  // as it was when measured (the owner left out)
    ImageSize size;
    int64_t mode = 0;      // what it was measured in
    int64_t seen_day = 0;  // its day of last use
  };
  std::optional<Kept> KeptFor(uint64_t device, uint64_t node);
  // Find's answer for a file with this stamp from what KeptFor gave for its device and
  // file number.
  std::optional<ImageSize> Answer(const Kept& kept, const FileStamp& stamp, const std::u16string& path);
  // Whether Find may answer for a file on `device`, the file system of `path`: false
  // where the store held no size of it when the scan began, or its stamps are not
  // trusted. A scan looks at no file before measuring it there.
  bool MayAnswerOn(uint64_t device, const std::u16string& path);
  // Keeps the size measured of the file with this stamp; written in batches.
  void Keep(const FileStamp& stamp, const std::u16string& path, ImageSize size);
  // Writes what is kept.
  void ScanEnds();

  // What kept the store from being used, once: empty when nothing did or it was told.
  std::u16string TakeWarning();

 private:
  struct Entry {
    FileStamp stamp;
    ImageSize size;
  };
  // What the store knows of a file system.
  struct Device {
    StampTrust trust;
    bool has_entries = false;  // the store held sizes of its files when the scan began
  };
  SqlOutcome Open();
  SqlOutcome Prepare();
  SqlOutcome Prune();
  void BeginReading();
  void EndReading();
  // Writes what is kept, outside the scan's read transaction.
  void Write();
  void WriteBatch();
  // What the store knows of the file system `device`, that of `path`.
  Device& Known(uint64_t device, const std::u16string& path);
  // Whether the stamp tells every change of the file: its file system's are trusted and
  // both its times lie before the scan's start, less the times' granularity (a file
  // changed again within the same tick would look unchanged). Its file system where it
  // does, else none.
  const Device* Trusted(const FileStamp& stamp, const std::u16string& path);
  // Closes the store for the rest of the run; gives the last failure's words.
  std::u16string Close();
  // Gives up on opening after `outcome` and gives it back; a damaged store is left to the
  // caller, who sets it aside and makes it afresh.
  SqlOutcome FailOpening(SqlOutcome outcome);
  // Gives up on the store for this run after `outcome`; a damaged one is set aside.
  void Fail(SqlOutcome outcome);
  // Moves a damaged store aside; false, with a warning, when it cannot.
  bool SetAside();
  void NotUsed(const std::u16string& why);
  void Warn(std::u16string text);

  std::u16string path_;
  Clock clock_;
  SqlDatabase database_;
  SqlStatement find_;
  SqlStatement keep_;
  SqlStatement touch_;
  SqlStatement any_of_device_;
  bool writable_ = false;
  bool reading_ = false;  // inside the scan's read transaction
  int mode_ = 0;
  int64_t scan_start_ns_ = 0;
  int64_t today_ = 0;  // days since 1970
  std::map<uint64_t, Device> devices_;
  std::vector<Entry> kept_;
  std::vector<FileStamp> seen_;  // entries found whose day of last use is out of date
  std::u16string warning_;
  bool warned_ = false;
};
