#include "app/scene/size_store.h"

#include <chrono>
#include <utility>

#include "fs/cache_files.h"
#include "fs/path_ops.h"
#include "fs/text_encoding.h"
#include "image/decoder_versions.h"

namespace {

constexpr char16_t kStoreName[] = u"sizes.sqlite";
// How long a scan waits for another program writing the store before it goes on without.
constexpr std::chrono::milliseconds kBusyTimeout{2000};
// Entries of files not seen for this long are dropped.
constexpr int64_t kKeepDays = 90;
// An entry's day of last use is brought up to date when it is this old, so that a scan
// of an unchanged tree hardly ever writes.
constexpr int64_t kSeenSlackDays = 7;
// Beyond this the oldest entries are dropped.
constexpr int64_t kSizeLimit = 64 << 20;
// Sizes kept in memory before they are written in one transaction.
constexpr size_t kBatch = 2048;

constexpr int64_t kDayNs = int64_t{86'400} * 1'000'000'000;

// What the sizes were measured by: another version of the program or of a decoding
// library may measure differently, so a store made by others starts afresh.
std::string Versions() { return "imagescan " IMAGESCAN_VERSION "; " + DecoderLibraryVersions(); }

int ModeNumber(MeasureMode mode) { return mode == MeasureMode::Quick ? 1 : 0; }

}  // namespace

int64_t SizeStore::SystemClock() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

SizeStore SizeStore::ForUser() {
  int error = 0;
  const auto folder = CacheFolderMake(u"imagescan", error);
  if (folder) return SizeStore(*folder);
  SizeStore off(u"", SystemClock);
  off.Warn(u"the store of measured sizes is not used: the cache folder cannot be made (" + SystemErrorText(error) +
           u"); every image is measured");
  return off;
}

SizeStore::SizeStore(const std::u16string& folder, Clock clock) : clock_(clock) {
  if (folder.empty()) return;
  path_ = folder + kStoreName;
  // A damaged store is set aside and made afresh at once.
  if (Open() != SqlOutcome::Damaged || !SetAside()) return;
  if (Open() == SqlOutcome::Done) {
    Warn(u"the store of measured sizes " + path_ + u" was damaged: it is set aside as " + path_ +
         u".damaged and made afresh");
  } else {
    NotUsed(u"it is damaged");
  }
}

SizeStore::~SizeStore() { Write(); }

SqlOutcome SizeStore::Open() {
  // Created private to the user before the library makes it, whose journal files then
  // take the same mode.
  if (const int error = CacheFileCreate(path_); error != 0) {
    NotUsed(u"it cannot be created (" + SystemErrorText(error) + u")");
    return SqlOutcome::Failed;
  }
  const auto library_path = CacheFileLibraryPath(path_);
  SqlOutcome outcome = SqlOutcome::Failed;
  if (library_path) database_ = SqlDatabase::Open(*library_path, kBusyTimeout, outcome);
  if (!database_.IsOpen()) return FailOpening(outcome);
  // Free pages go back to the system as entries are dropped. Takes effect on a new file
  // alone, and fails on one that cannot be written, which can still be read.
  outcome = database_.Execute("PRAGMA auto_vacuum=INCREMENTAL");
  if (outcome == SqlOutcome::Damaged) return FailOpening(outcome);
  outcome = database_.Execute(
      "PRAGMA journal_mode=WAL;"
      "PRAGMA synchronous=NORMAL;"
      "CREATE TABLE IF NOT EXISTS facts(name TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;"
      "CREATE TABLE IF NOT EXISTS sizes(device INTEGER NOT NULL, node INTEGER NOT NULL,"
      " size INTEGER NOT NULL, modified INTEGER NOT NULL, changed INTEGER NOT NULL,"
      " width INTEGER NOT NULL, height INTEGER NOT NULL, mode INTEGER NOT NULL, seen INTEGER NOT NULL,"
      " PRIMARY KEY(device, node)) WITHOUT ROWID;");
  if (outcome == SqlOutcome::Done) outcome = Prepare();
  if (outcome != SqlOutcome::Done) return FailOpening(outcome);
  return Prune();
}

SqlOutcome SizeStore::Prepare() {
  SqlOutcome outcome = SqlOutcome::Done;
  SqlStatement versions = database_.Prepare("SELECT value FROM facts WHERE name = 'versions'", outcome);
  if (!versions.IsReady()) return outcome;
  outcome = versions.Step();
  const std::string wanted = Versions();
  writable_ = true;
  if (outcome == SqlOutcome::Row && versions.Text(0) == wanted) {
    versions.Reset();
  } else {
    if (outcome != SqlOutcome::Row && outcome != SqlOutcome::Done) return outcome;
    versions.Reset();
    SqlStatement fresh = database_.Prepare(
        "INSERT INTO facts VALUES('versions', ?1) ON CONFLICT(name) DO UPDATE SET value = excluded.value", outcome);
    if (!fresh.IsReady()) return outcome;
    fresh.Bind(1, wanted);
    outcome = database_.Execute("BEGIN IMMEDIATE");
    if (outcome == SqlOutcome::Done) outcome = database_.Execute("DELETE FROM sizes");
    if (outcome == SqlOutcome::Done) outcome = fresh.Step();
    if (outcome == SqlOutcome::Done) outcome = database_.Execute("COMMIT");
    if (outcome != SqlOutcome::Done) {
      database_.Execute("ROLLBACK");
      return outcome;
    }
  }
  find_ = database_.Prepare(
      "SELECT size, modified, changed, width, height, mode, seen FROM sizes WHERE device = ?1 AND node = ?2", outcome);
  // An exact size replaces any other; a quick one only a quick one or a stale entry.
  keep_ = database_.Prepare(
      "INSERT INTO sizes VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) ON CONFLICT(device, node) DO UPDATE SET"
      " size = excluded.size, modified = excluded.modified, changed = excluded.changed,"
      " width = excluded.width, height = excluded.height, mode = excluded.mode, seen = excluded.seen"
      " WHERE excluded.mode = 0 OR mode = 1 OR size != excluded.size OR modified != excluded.modified"
      " OR changed != excluded.changed",
      outcome);
  touch_ = database_.Prepare("UPDATE sizes SET seen = ?3 WHERE device = ?1 AND node = ?2", outcome);
  any_of_device_ = database_.Prepare("SELECT 1 FROM sizes WHERE device = ?1 LIMIT 1", outcome);
  return find_.IsReady() && keep_.IsReady() && touch_.IsReady() && any_of_device_.IsReady() ? SqlOutcome::Done
                                                                                            : outcome;
}

SqlOutcome SizeStore::Prune() {
  today_ = clock_() / kDayNs;
  SqlOutcome outcome = SqlOutcome::Done;
  SqlStatement old = database_.Prepare("DELETE FROM sizes WHERE seen < ?1", outcome);
  SqlStatement pages =
      database_.Prepare("SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()", outcome);
  if (!old.IsReady() || !pages.IsReady()) return FailOpening(outcome);
  old.Bind(1, today_ - kKeepDays);
  outcome = old.Step();
  if (outcome == SqlOutcome::Done && pages.Step() == SqlOutcome::Row && pages.Integer(0) > kSizeLimit) {
    // The oldest quarter goes, so that the next scans do not come here again at once.
    outcome = database_.Execute(
        "DELETE FROM sizes WHERE seen <= (SELECT seen FROM sizes ORDER BY seen"
        " LIMIT 1 OFFSET (SELECT count(*) / 4 FROM sizes));"
        "PRAGMA incremental_vacuum;");
  }
  // A store another program holds is used as it is; one that cannot be written is read.
  if (outcome == SqlOutcome::Damaged) return FailOpening(outcome);
  return SqlOutcome::Done;
}

void SizeStore::ScanBegins(MeasureMode mode) {
  // What the last scan kept is kept in the mode it was measured in.
  Write();
  mode_ = ModeNumber(mode);
  scan_start_ns_ = clock_();
  today_ = scan_start_ns_ / kDayNs;
  devices_.clear();
  BeginReading();
}

void SizeStore::BeginReading() {
  // The scan's lookups share one read transaction rather than each taking its own, which
  // costs more than the lookup. It ends for each batch written, so that a writer never
  // waits for it and its view never goes stale for long.
  if (!reading_) reading_ = find_.IsReady() && database_.Execute("BEGIN") == SqlOutcome::Done;
}

void SizeStore::EndReading() {
  if (std::exchange(reading_, false)) database_.Execute("COMMIT");
}

SizeStore::Device& SizeStore::Known(uint64_t device, const std::u16string& path) {
  auto known = devices_.find(device);
  if (known == devices_.end()) {
    // Asked once per file system and scan: a store that held nothing of it when the
    // scan began (its first scan) is not asked of each file.
    any_of_device_.Bind(1, static_cast<int64_t>(device));
    const bool has_entries = any_of_device_.Step() != SqlOutcome::Done;
    any_of_device_.Reset();
    known = devices_.emplace(device, Device{FolderStampTrust(path), has_entries}).first;
  }
  return known->second;
}

const SizeStore::Device* SizeStore::Trusted(const FileStamp& stamp, const std::u16string& path) {
  // A change time of zero is one the file system does not keep.
  if (stamp.changed_ns == 0) return nullptr;
  const Device& device = Known(stamp.device, path);
  const int64_t settled = scan_start_ns_ - device.trust.granularity_ns;
  const bool trusted = device.trust.trusted && stamp.modified_ns < settled && stamp.changed_ns < settled;
  return trusted ? &device : nullptr;
}

bool SizeStore::MayAnswerOn(uint64_t device, const std::u16string& path) {
  if (!find_.IsReady()) return false;
  const Device& known = Known(device, path);
  return known.trust.trusted && known.has_entries;
}

std::optional<ImageSize> SizeStore::Find(const FileStamp& stamp, const std::u16string& path) {
  const Device* device = find_.IsReady() ? Trusted(stamp, path) : nullptr;
  if (device == nullptr || !device->has_entries) return std::nullopt;
  const std::optional<Kept> kept = KeptFor(stamp.device, stamp.node);
  return kept ? Answer(*kept, stamp, path) : std::nullopt;
}

std::optional<SizeStore::Kept> SizeStore::KeptFor(uint64_t device, uint64_t node) {
  if (!find_.IsReady()) return std::nullopt;
  find_.Bind(1, static_cast<int64_t>(device));
  find_.Bind(2, static_cast<int64_t>(node));
  const SqlOutcome outcome = find_.Step();
  std::optional<Kept> kept;
  if (outcome == SqlOutcome::Row) {
    kept = Kept{{device, node, find_.Integer(0), find_.Integer(1), find_.Integer(2), 0},
                {static_cast<int32_t>(find_.Integer(3)), static_cast<int32_t>(find_.Integer(4))},
                find_.Integer(5),
                find_.Integer(6)};
  }
  find_.Reset();
  // Busy: another program is setting the store up; this file is measured.
  if (outcome == SqlOutcome::Damaged || outcome == SqlOutcome::Failed) Fail(outcome);
  return kept;
}

std::optional<ImageSize> SizeStore::Answer(const Kept& kept, const FileStamp& stamp, const std::u16string& path) {
  const Device* device = Trusted(stamp, path);
  if (device == nullptr || !device->has_entries) return std::nullopt;
  const FileStamp& was = kept.stamp;
  if (was.device != stamp.device || was.node != stamp.node || was.size != stamp.size ||
      was.modified_ns != stamp.modified_ns || was.changed_ns != stamp.changed_ns || kept.mode > mode_)
    return std::nullopt;
  if (kept.seen_day < today_ - kSeenSlackDays) seen_.push_back(stamp);
  return kept.size;
}

void SizeStore::Keep(const FileStamp& stamp, const std::u16string& path, ImageSize size) {
  if (!writable_ || !keep_.IsReady()) return;
  if (Trusted(stamp, path) == nullptr) return;
  kept_.push_back({stamp, size});
  if (kept_.size() >= kBatch) Write();
}

void SizeStore::ScanEnds() {
  Write();
  EndReading();
}

void SizeStore::Write() {
  if (kept_.empty() && seen_.empty()) return;
  if (!writable_ || !keep_.IsReady()) {
    kept_.clear();
    seen_.clear();
    return;
  }
  const bool was_reading = reading_;
  EndReading();
  WriteBatch();
  if (was_reading) BeginReading();
}

void SizeStore::WriteBatch() {
  SqlOutcome outcome = database_.Execute("BEGIN IMMEDIATE");
  for (const Entry& entry : kept_) {
    if (outcome != SqlOutcome::Done) break;
    const FileStamp& stamp = entry.stamp;
    int parameter = 1;
    for (const int64_t value :
         {static_cast<int64_t>(stamp.device), static_cast<int64_t>(stamp.node), stamp.size, stamp.modified_ns,
          stamp.changed_ns, int64_t{entry.size.width}, int64_t{entry.size.height}, int64_t{mode_}, today_}) {
      keep_.Bind(parameter++, value);
    }
    outcome = keep_.Step();
    keep_.Reset();
  }
  for (const FileStamp& stamp : seen_) {
    if (outcome != SqlOutcome::Done) break;
    touch_.Bind(1, static_cast<int64_t>(stamp.device));
    touch_.Bind(2, static_cast<int64_t>(stamp.node));
    touch_.Bind(3, today_);
    outcome = touch_.Step();
    touch_.Reset();
  }
  kept_.clear();
  seen_.clear();
  if (outcome == SqlOutcome::Done) outcome = database_.Execute("COMMIT");
  if (outcome == SqlOutcome::Done) return;
  database_.Execute("ROLLBACK");
  // Busy past the timeout: another program writes; these sizes are measured again next time.
  if (outcome == SqlOutcome::Busy) return;
  if (outcome == SqlOutcome::Damaged) {
    Fail(outcome);
    return;
  }
  // Read-only or full: what it holds still answers.
  writable_ = false;
  Warn(u"the store of measured sizes " + path_ + u" cannot be written (" + TextFromUtf8(database_.ErrorText()) +
       u"): the sizes measured now are not kept");
}

std::u16string SizeStore::Close() {
  const std::u16string reason = database_.IsOpen() ? TextFromUtf8(database_.ErrorText()) : u"out of memory";
  reading_ = false;
  find_ = {};
  keep_ = {};
  touch_ = {};
  any_of_device_ = {};
  database_.Close();
  writable_ = false;
  return reason;
}

SqlOutcome SizeStore::FailOpening(SqlOutcome outcome) {
  const std::u16string reason = Close();
  // Damaged: the caller sets it aside and tries again.
  if (outcome != SqlOutcome::Damaged) NotUsed(u"it cannot be opened (" + reason + u")");
  return outcome;
}

void SizeStore::Fail(SqlOutcome outcome) {
  const std::u16string reason = Close();
  if (outcome != SqlOutcome::Damaged) {
    NotUsed(u"it cannot be read (" + reason + u")");
  } else if (SetAside()) {
    // Damaged part way: the next run makes it afresh.
    NotUsed(u"it is damaged; it is set aside as " + path_ + u".damaged");
  }
}

bool SizeStore::SetAside() {
  // Kept where it can be looked at; its journals would be read into a new one.
  const int error = CacheFileMove(path_, path_ + u".damaged");
  for (const char16_t* journal : {u"-wal", u"-shm"}) CacheFileRemove(path_ + journal);
  if (error != 0) NotUsed(u"it is damaged and cannot be set aside (" + SystemErrorText(error) + u")");
  return error == 0;
}

void SizeStore::NotUsed(const std::u16string& why) {
  Warn(u"the store of measured sizes " + path_ + u" is not used: " + why + u"; every image is measured");
}

void SizeStore::Warn(std::u16string text) {
  // The first problem is the one told.
  if (warned_ || !warning_.empty()) return;
  warning_ = std::move(text);
}

std::u16string SizeStore::TakeWarning() {
  if (warned_) return {};
  warned_ = !warning_.empty();
  return std::move(warning_);
}
