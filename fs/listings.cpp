#include "fs/listings.h"

#include <optional>
#include <utility>

#include "fs/listing_search.h"
#include "fs/platform_listing.h"

namespace {

struct ListingRecord {
  bool open = false;
  bool first_reported = false;  // ListingNext has reported the entry fetched at open
  PlatformListing search;       // not open for a listing without entries
  std::u16string pattern;
  PlatformEntry entry;     // the current entry
  bool described = false;  // the entry's status was asked for
  int error = 0;           // what ended the listing early

  bool InUse() const { return open; }
};

void CloseRecord(ListingRecord& record) { record.search.Close(); }

// Created by the first ListingOpen, not at start-up.
std::optional<ObjectTable<ListingRecord>>& TableHolder() {
  static std::optional<ObjectTable<ListingRecord>> table;
  return table;
}

ListingRecord* Find(int64_t id) {
  const auto& table = TableHolder();
  return table ? table->Find(id) : nullptr;
}

// Reads on to the next entry whose name matches; false at the end.
bool FetchMatching(ListingRecord& record) {
  PlatformEntry entry;
  while (record.search.Next(entry)) {
    if (ListingNameMatches(record.pattern, entry.name)) {
      record.entry = std::move(entry);
      record.described = false;
      return true;
    }
  }
  record.error = record.search.Error();
  return false;
}

// The current entry, its status asked for the first time something needs it: a walk that
// wants names and kinds alone asks the system nothing more for a plain file or a folder.
const PlatformEntry* Described(int64_t id) {
  ListingRecord* record = Find(id);
  if (record == nullptr) return nullptr;
  if (!std::exchange(record->described, true)) record->search.Describe(record->entry);
  return &record->entry;
}

}  // namespace

int64_t ListingOpen(int64_t number, const std::u16string& folder, const std::u16string& pattern) {
  auto& table = TableHolder();
  if (!table) table.emplace(16, CloseRecord);
  const auto taken = table->Take(number);
  if (!taken.record) return 0;
  ListingRecord& record = *taken.record;
  ListingSearch search = ListingSearchFrom(folder, pattern);
  // A NUL would cut the search short on the system's side; no name can hold one.
  if (search.pattern.find(u'\0') == std::u16string::npos) record.search = PlatformListing::Open(search.folder);
  if (!record.search.IsOpen()) {
    table->Release(taken.id);
    return 0;
  }
  record.open = true;
  record.pattern = std::move(search.pattern);
  if (!FetchMatching(record)) {
    record.search.Close();
    record.first_reported = true;
  }
  return number == kAutoNumber ? taken.id : 1;
}

int64_t ListingNext(int64_t id) {
  ListingRecord* record = Find(id);
  if (record == nullptr || !record->search.IsOpen()) return 0;
  if (!record->first_reported) {
    record->first_reported = true;
    return 1;
  }
  return FetchMatching(*record) ? 1 : 0;
}

std::u16string ListingName(int64_t id) {
  const ListingRecord* record = Find(id);
  return record ? record->entry.name : std::u16string();
}

EntryKind ListingKind(int64_t id) {
  const ListingRecord* record = Find(id);
  if (record == nullptr) return EntryKind::None;
  const PlatformEntry* entry = record->entry.kind_known ? &record->entry : Described(id);
  return entry->is_folder ? EntryKind::Directory : EntryKind::File;
}

int64_t ListingSize(int64_t id) {
  const PlatformEntry* entry = Described(id);
  return entry ? entry->size : 0;
}

bool ListingIsLink(int64_t id) {
  const ListingRecord* record = Find(id);
  return record != nullptr && record->entry.is_link;
}

bool ListingIsPlainFile(int64_t id) {
  const ListingRecord* record = Find(id);
  return record != nullptr && record->entry.is_plain;
}

std::optional<uint64_t> ListingFileNumber(int64_t id) {
  const ListingRecord* record = Find(id);
  return record ? record->entry.node : std::nullopt;
}

std::optional<FolderIdentity> ListingFolderIdentity(int64_t id) {
  const PlatformEntry* entry = Described(id);
  return entry ? entry->identity : std::nullopt;
}

std::optional<uint32_t> ListingLinkOwner(int64_t id) {
  const ListingRecord* record = Find(id);
  return record ? record->entry.link_owner : std::nullopt;
}

std::optional<FileStamp> ListingFileStamp(int64_t id) {
  const PlatformEntry* entry = Described(id);
  return entry ? entry->stamp : std::nullopt;
}

int ListingLastError() { return PlatformListingLastError(); }

int ListingError(int64_t id) {
  const ListingRecord* record = Find(id);
  return record ? record->error : 0;
}

int64_t ListingClose(int64_t id) {
  if (Find(id) == nullptr) return 0;
  TableHolder()->Release(id);
  return 1;
}

void ListingCloseAll() {
  if (auto& table = TableHolder()) table->ReleaseAll();
}
