#include "fs/stamp_trust.h"

#include <windows.h>

#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

StampTrust FolderStampTrust(const std::u16string& folder) {
  const auto wide = SystemPath(folder);
  if (!wide) return {};
  const QuietErrors quiet;
  wchar_t root[MAX_PATH + 1];
  if (!GetVolumePathNameW(wide->c_str(), root, MAX_PATH + 1)) return {};
  // A share's status is what the server and the client's cache make of it.
  if (GetDriveTypeW(root) == DRIVE_REMOTE) return {};
  wchar_t system_name[MAX_PATH + 1];
  if (!GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, system_name, MAX_PATH + 1)) return {};
  // File numbers and change times that stay with the file: NTFS and ReFS alone. FAT's
  // numbers change as the file moves, and it has no change time.
  const std::wstring_view name = system_name;
  if (name != L"NTFS" && name != L"ReFS") return {};
  // Times in 100 ns steps, taken from a clock that moves in ticks of about 16 ms.
  return {true, 1'000'000'000};
}
