#include "app/window/start_folder.h"

#include "fs/path_ops.h"
#include "fs/path_separator.h"
#include "fs/text_encoding.h"
#include "ui/settings.h"

namespace {

constexpr char16_t kLastFolder[] = u"LastFolder";

}  // namespace

StartFolder ChooseStartFolder(const std::vector<std::string>& arguments) {
  if (!arguments.empty()) {
    const std::u16string path = TextFromEscapedBytes(arguments.front());
    if (PathIsFolder(path)) return {PathAsFolder(PathFromRoot(path)), {}};
    return {{}, path + (PathExists(path) ? u" is not a folder" : u" does not exist")};
  }
  const std::u16string remembered = SettingsRead(kLastFolder);
  if (!remembered.empty() && PathIsFolder(remembered)) return {PathAsFolder(remembered), {}};
  return {};
}

void RememberFolder(const std::u16string& folder) {
  if (!folder.empty() && PathIsFolder(folder) && SettingsRead(kLastFolder) != folder)
    SettingsWrite(kLastFolder, folder);
}
