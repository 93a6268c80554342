#include "fs/folder_identity.h"

#include <sys/stat.h>

#include "fs/text_encoding.h"

std::optional<FolderIdentity> FolderIdentityOf(const std::u16string& path) {
  const std::string bytes = EscapedBytesFromText(path);
  if (bytes.empty() || bytes.find('\0') != std::string::npos) return std::nullopt;
  struct stat st {};
  if (stat(bytes.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return FolderIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}
