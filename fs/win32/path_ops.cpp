#include "fs/path_ops.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "fs/text.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

int PathRename(const std::u16string& from, const std::u16string& to) {
  const auto from_wide = SystemPath(from);
  const auto to_wide = SystemPath(to);
  if (!from_wide || !to_wide) return ERROR_INVALID_NAME;
  // Written through: the rename is on the disk when the call returns.
  if (MoveFileExW(from_wide->c_str(), to_wide->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  return static_cast<int>(GetLastError());
}

void PathCopyPermissions(const std::u16string& from, const std::u16string& to) {
  const auto from_wide = SystemPath(from);
  const auto to_wide = SystemPath(to);
  if (!from_wide || !to_wide) return;
  // The access list of the file replaced goes to its successor; without it the new file
  // would have the folder's.
  DWORD size = 0;
  GetFileSecurityW(from_wide->c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  if (size == 0) return;
  std::vector<unsigned char> descriptor(size);
  if (!GetFileSecurityW(from_wide->c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size)) return;
  SetFileSecurityW(to_wide->c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool PathExists(const std::u16string& path) {
  const auto wide = SystemPath(path);
  const QuietErrors quiet;
  // A link is examined itself, so a broken one exists.
  return wide && GetFileAttributesW(wide->c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PathRemove(const std::u16string& path) {
  if (const auto wide = SystemPath(path)) DeleteFileW(wide->c_str());
}

std::u16string SystemErrorText(int code) {
  if (code == -1) return u"the system reported no reason";
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&LocalFree)> owner(buffer, &LocalFree);
  if (length == 0) return u"system error " + DecimalText(code);
  std::u16string text(reinterpret_cast<const char16_t*>(buffer), length);
  // The system's texts end in a full stop and a line end; a reason goes inside a sentence.
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ' || text.back() == u'.'))
    text.pop_back();
  return text;
}
