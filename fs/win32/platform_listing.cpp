#include "fs/platform_listing.h"

#include <windows.h>

#include <memory>

#include "fs/fault_seam.h"
#include "fs/path_separator.h"
#include "fs/win32/file_times.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

namespace {

// One listing: the folder open for reading its entries, which the system hands out in
// batches, each entry telling its file's number, size and times.
struct Search {
  HANDLE handle = INVALID_HANDLE_VALUE;
  uint64_t volume = 0;  // the serial number of the folder's volume
  std::wstring folder;  // with its final separator
  bool first_read = true;
  bool has_batch = false;
  size_t next = 0;  // where the next entry of the batch begins
  alignas(8) std::byte batch[16384];

  ~Search() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

Search* SearchOf(void* handle) { return static_cast<Search*>(handle); }

thread_local int g_last_error = 0;

// The next batch of entries, or the failure a test injected in place of the system's
// first read, reported the way the system reports it. The end of the folder is
// ERROR_NO_MORE_FILES.
bool ReadBatch(Search& search, int fault) {
  if (fault != 0) {
    SetLastError(static_cast<DWORD>(fault));
    return false;
  }
  const bool first = std::exchange(search.first_read, false);
  if (GetFileInformationByHandleEx(search.handle, first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo,
                                   search.batch, sizeof search.batch)) {
    search.has_batch = true;
    search.next = 0;
    return true;
  }
  // A folder without a single entry (a drive's empty root) says so on the first read.
  if (first && GetLastError() == ERROR_FILE_NOT_FOUND) SetLastError(ERROR_NO_MORE_FILES);
  return false;
}

int64_t SizeOf(DWORD high, DWORD low) { return static_cast<int64_t>((uint64_t{high} << 32) | low); }

}  // namespace

int PlatformListingLastError() { return g_last_error; }

PlatformListing PlatformListing::Open(std::u16string_view folder) {
  PlatformListing listing;
  auto wide = SystemPath(folder);
  if (!wide) {
    g_last_error = ERROR_INVALID_NAME;
    return listing;
  }
  auto search = std::make_unique<Search>();
  search->folder = std::move(*wide);
  if (!PathEndsInSeparator(folder)) search->folder += L'\\';
  const QuietErrors quiet;
  // Backup semantics open a folder; links and junctions to one are followed.
  search->handle = CreateFileW(search->folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info;
  if (search->handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(search->handle, &info)) {
    // A name that is not there is a path not found, as it is for a search below it.
    const DWORD error = GetLastError();
    g_last_error = static_cast<int>(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    return listing;
  }
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    g_last_error = ERROR_DIRECTORY;
    return listing;
  }
  search->volume = info.dwVolumeSerialNumber;
  // An injected failure stands for the system's first read.
  listing.fault_ = FaultAt(FaultPoint::ListFolder, std::u16string(folder));
  listing.handle_ = search.release();
  return listing;
}

bool PlatformListing::Next(PlatformEntry& entry) {
  if (!IsOpen() || error_ != 0) return false;
  Search& search = *SearchOf(handle_);
  if (!search.has_batch && !ReadBatch(search, fault_)) {
    // Only the code tells the end of the folder from a failure to read it.
    if (GetLastError() != ERROR_NO_MORE_FILES) error_ = static_cast<int>(GetLastError());
    return false;
  }
  const auto& found = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(search.batch + search.next);
  if (found.NextEntryOffset == 0) {
    search.has_batch = false;
  } else {
    search.next += found.NextEntryOffset;
  }
  entry.name.assign(reinterpret_cast<const char16_t*>(found.FileName), found.FileNameLength / sizeof(wchar_t));
  entry.is_folder = (found.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  // Symbolic links and junctions (a reparse point's tag stands where the size of its
  // extended attributes would); other reparse points (such as files kept in a cloud)
  // stand for themselves.
  const bool reparse = (found.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  entry.is_link = reparse && (found.EaSize == IO_REPARSE_TAG_SYMLINK || found.EaSize == IO_REPARSE_TAG_MOUNT_POINT);
  entry.size = entry.is_folder ? 0 : found.EndOfFile.QuadPart;
  entry.stamp.reset();
  if (!entry.is_folder && !reparse) {
    entry.stamp = FileStamp{search.volume,
                            static_cast<uint64_t>(found.FileId.QuadPart),
                            entry.size,
                            NanosecondsSince1970(found.LastWriteTime.QuadPart),
                            NanosecondsSince1970(found.ChangeTime.QuadPart),
                            0};
  }
  return true;
}

void PlatformListing::Describe(PlatformEntry& entry) const {
  if (!IsOpen() || !entry.is_link) return;
  // The listing tells of the link itself; what it leads to is asked of the system. When
  // that cannot be had (a broken link) the listing's word stands.
  const auto name = SystemPath(entry.name);
  if (!name) return;
  const HANDLE target = CreateFileW((SearchOf(handle_)->folder + *name).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (target == INVALID_HANDLE_VALUE) return;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(target, &info)) {
    entry.is_folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = entry.is_folder ? 0 : SizeOf(info.nFileSizeHigh, info.nFileSizeLow);
  }
  CloseHandle(target);
}

void PlatformListing::Close() {
  if (IsOpen()) std::unique_ptr<Search>(SearchOf(std::exchange(handle_, nullptr)));
}
