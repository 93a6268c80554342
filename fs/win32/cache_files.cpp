#include "fs/cache_files.h"

#include <windows.h>

#include <vector>

#include "fs/text_encoding.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

namespace {

// %LOCALAPPDATA%, the user's own folder of this machine (not roamed with the profile).
std::wstring LocalAppData() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length);
  }
}

}  // namespace

std::optional<std::u16string> CacheFolderMake(std::u16string_view name, int& error) {
  const QuietErrors quiet;
  const std::wstring base = LocalAppData();
  const auto own = SystemPath(name);
  if (base.empty() || !own) {
    error = ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  std::wstring folder = base;
  if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  folder += *own;
  // The folder above it is the user's own and private already; its access list is inherited.
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    error = static_cast<int>(GetLastError());
    return std::nullopt;
  }
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = ERROR_DIRECTORY;
    return std::nullopt;
  }
  folder += L'\\';
  return std::u16string(folder.begin(), folder.end());
}

int CacheFileCreate(const std::u16string& path) {
  const auto wide = SystemPath(path);
  if (!wide) return ERROR_INVALID_NAME;
  const QuietErrors quiet;
  const HANDLE file = CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  CloseHandle(file);
  return 0;
}

int CacheFileMove(const std::u16string& from, const std::u16string& to) {
  const auto old_wide = SystemPath(from);
  const auto new_wide = SystemPath(to);
  if (!old_wide || !new_wide) return ERROR_INVALID_NAME;
  const QuietErrors quiet;
  return MoveFileExW(old_wide->c_str(), new_wide->c_str(), MOVEFILE_REPLACE_EXISTING)
             ? 0
             : static_cast<int>(GetLastError());
}

int CacheFileRemove(const std::u16string& path) {
  const auto wide = SystemPath(path);
  if (!wide) return ERROR_INVALID_NAME;
  const QuietErrors quiet;
  if (DeleteFileW(wide->c_str())) return 0;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : static_cast<int>(error);
}

std::optional<std::string> CacheFileLibraryPath(const std::u16string& path) {
  if (path.find(u'\0') != std::u16string::npos) return std::nullopt;
  return Utf8FromText(path);
}
