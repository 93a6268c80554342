#pragma once
// Numbered directory listings: the entries of one folder, one at a time, that match a
// pattern. The first entry is fetched at open; ListingNext reports it, then the others.
// An operation on a number without an open listing does nothing and returns 0 (or the
// empty string).
#include <cstdint>
#include <optional>
#include <string>

#include "fs/file_stamp.h"
#include "fs/folder_identity.h"
#include "fs/object_table.h"

enum class EntryKind : int { None = 0, File = 1, Directory = 2 };

// Lists `folder` (empty: the current folder) for names matching `pattern` (empty: "*.*";
// see listing_search.h). 0 when the folder is missing, denied or not a folder, and the
// number is free afterwards; a folder where nothing matches opens without entries.
// Otherwise the new id for kAutoNumber, else 1. A listing that held the number is closed.
int64_t ListingOpen(int64_t number, const std::u16string& folder, const std::u16string& pattern);
// Why the last ListingOpen on this thread could not open its folder: the system's error
// code (0 when it gave none).
int ListingLastError();
// Non-zero while an entry is current; 0 at the end, or when the folder could not be read
// on (see ListingError).
int64_t ListingNext(int64_t id);
// Why the listing ended before the end of its folder: the system's error code; 0 while it
// goes on, at its true end, and without a listing.
int ListingError(int64_t id);
// The current entry: name, kind (a link counts as what it leads to; a broken link is a
// file) and size in bytes, following links. The entry's status is asked for once, when
// the first of these needs it (the kind of a plain file or folder needs none).
std::u16string ListingName(int64_t id);
EntryKind ListingKind(int64_t id);
int64_t ListingSize(int64_t id);
// Whether the current entry is a symbolic link itself (ListingKind tells where it leads).
bool ListingIsLink(int64_t id);
// Whether the listing saw the current entry as a regular file itself, not a link, from
// the folder's record or the entry's own status (never on Windows).
bool ListingIsPlainFile(int64_t id);
// The current entry's file number on its file system as the folder's record gives it,
// without another call (not on Windows); for a link, the link's own.
std::optional<uint64_t> ListingFileNumber(int64_t id);
// The current entry's FolderIdentityOf, as the listing found it, where it is a folder and
// the system told it; nothing otherwise.
std::optional<FolderIdentity> ListingFolderIdentity(int64_t id);
// The current entry's own owner, where it is a symbolic link and the system tells it.
std::optional<uint32_t> ListingLinkOwner(int64_t id);
// The current entry's stamp, where it is a plain file and the system told it; nothing
// otherwise.
std::optional<FileStamp> ListingFileStamp(int64_t id);
// Ends the listing and frees its number: non-zero when there was one.
int64_t ListingClose(int64_t id);
void ListingCloseAll();
