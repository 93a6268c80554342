#include "fs/folder_identity.h"

#include <windows.h>

#include "fs/fault_seam.h"
#include "fs/platform_file.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

namespace {

// Records why as the last failure: FolderHandle::Open reports it.
std::optional<FolderIdentity> Unknown(DWORD code) {
  PlatformSetLastError(static_cast<int>(code));
  return std::nullopt;
}

}  // namespace

std::optional<FolderIdentity> FolderIdentityOf(const std::u16string& path) {
  const auto wide = SystemPath(path);
  if (!wide || wide->empty()) return Unknown(ERROR_INVALID_NAME);
  if (const int fault = FaultAt(FaultPoint::OpenFolder, path); fault != 0) return Unknown(static_cast<DWORD>(fault));
  const QuietErrors quiet;
  // Opening with backup semantics reaches a folder; links and junctions are followed.
  const HANDLE folder =
      CreateFileW(wide->c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return Unknown(GetLastError());
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(folder, &info) != 0;
  const DWORD why = known ? ERROR_DIRECTORY : GetLastError();
  CloseHandle(folder);
  if (!known || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return Unknown(why);
  // The volume's serial number and the folder's index on it.
  return FolderIdentity{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}
