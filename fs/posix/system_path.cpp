#include "fs/posix/system_path.h"

#include "fs/text_encoding.h"

std::optional<std::string> SystemPath(std::u16string_view path) {
  if (path.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  return EscapedBytesFromText(path);
}
