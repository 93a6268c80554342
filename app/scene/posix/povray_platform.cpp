#include "app/scene/povray_platform.h"

#include "fs/path_ops.h"
#include "fs/text_encoding.h"

std::u16string PovRayIncludeFolder(const PovRayVersion& version) {
  if (!version.major || !version.minor) return {};
  const std::u16string name =
      u"povray-" + TextFromUtf8(std::to_string(*version.major) + "." + std::to_string(*version.minor));
  for (const std::u16string prefix : {u"/usr/share/", u"/usr/local/share/"}) {
    if (const std::u16string folder = prefix + name + u"/include"; PathIsFolder(folder)) return folder;
  }
  return {};
}

const char16_t kPovRayInstallHint[] = u"Debian: apt install povray povray-includes";
