#include "fs/platform_listing.h"

#include <windows.h>

#include <memory>

#include "fs/fault_seam.h"
#include "fs/path_separator.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

namespace {

// One search: the system's handle (invalid when the folder held nothing) and the entry
// it found last, which Next hands out before it asks for another.
struct Search {
  HANDLE handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW found{};
  bool found_unreported = false;
  std::wstring folder;  // with its final separator

  ~Search() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
};

Search* SearchOf(void* handle) { return static_cast<Search*>(handle); }

thread_local int g_last_error = 0;

// FindNextFileW, or the failure a test injected in its place, reported the way it does.
bool FindNext(Search& search, int fault) {
  if (fault != 0 || search.handle == INVALID_HANDLE_VALUE) {
    SetLastError(fault != 0 ? static_cast<DWORD>(fault) : ERROR_NO_MORE_FILES);
    return false;
  }
  return FindNextFileW(search.handle, &search.found) != 0;
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
  search->handle = FindFirstFileW((search->folder + L"*").c_str(), &search->found);
  if (search->handle != INVALID_HANDLE_VALUE) {
    search->found_unreported = true;
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    // A folder without a single entry (a drive's empty root) opens; anything else fails.
    g_last_error = static_cast<int>(GetLastError());
    return listing;
  }
  // An injected failure stands for the system's first read, the entry found here unseen.
  listing.fault_ = FaultAt(FaultPoint::ListFolder, std::u16string(folder));
  if (listing.fault_ != 0) search->found_unreported = false;
  listing.handle_ = search.release();
  return listing;
}

bool PlatformListing::Next(PlatformEntry& entry) {
  if (!IsOpen() || error_ != 0) return false;
  Search& search = *SearchOf(handle_);
  if (!search.found_unreported) {
    if (!FindNext(search, fault_)) {
      // Only the code tells the end of the folder from a failure to read it.
      if (GetLastError() != ERROR_NO_MORE_FILES) error_ = static_cast<int>(GetLastError());
      return false;
    }
  }
  search.found_unreported = false;
  const WIN32_FIND_DATAW& found = search.found;
  entry.name.assign(reinterpret_cast<const char16_t*>(found.cFileName));
  entry.is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  // Symbolic links and junctions; other reparse points (such as files kept in a cloud)
  // stand for themselves.
  entry.is_link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                  (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
  entry.size = entry.is_folder ? 0 : SizeOf(found.nFileSizeHigh, found.nFileSizeLow);
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
