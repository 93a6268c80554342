#include "fs/path_ops.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "fs/system_errors.h"
#include "fs/text.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

bool PathExists(const std::u16string& path) {
  const auto wide = SystemPath(path);
  const QuietErrors quiet;
  // A link is examined itself, so a broken one exists.
  return wide && GetFileAttributesW(wide->c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool PathIsFolder(const std::u16string& path) {
  const auto wide = SystemPath(path);
  const QuietErrors quiet;
  // The attributes come from the folder above, so a folder that denies every access to
  // itself is still known as one.
  if (!wide) return false;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string PathFromRoot(const std::u16string& path) {
  // The path as the user wrote it, without the long-path prefix the system calls get.
  const auto* wide = reinterpret_cast<const wchar_t*>(path.c_str());
  if (path.empty() || path.find(u'\0') != std::u16string::npos) return path;
  const DWORD length = GetFullPathNameW(wide, 0, nullptr, nullptr);
  if (length == 0) return path;
  std::u16string full(length, u'\0');
  const DWORD written = GetFullPathNameW(wide, length, reinterpret_cast<wchar_t*>(full.data()), nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return full;
}

std::u16string SystemErrorText(int code) {
  if (code == -1) return u"the system reported no reason";
  if (code == kReplacedError) return u"its temporary file was replaced during the scan";
  if (code == kLinkNotFollowedError) return u"it is another user's link to what that user does not own";
  if (code == kChangedError) return u"it was replaced by another during the scan";
  if (code == kOwnerNotKeptError) return u"the new file could not be given its owner and group";
  if (code == kModeNotKeptError) return u"the new file could not be given its permissions";
  if (code == kAttributesNotKeptError) return u"the new file could not be given its access list";
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&LocalFree)> owner(buffer, &LocalFree);
  if (length == 0) return u"system error " + DecimalText(code);
  std::u16string text(reinterpret_cast<const char16_t*>(buffer), length);
  // The system's texts end in a full stop and a line end; a reason goes inside a sentence.
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ' || text.back() == u'.'))
    text.pop_back();
  return text;
}
