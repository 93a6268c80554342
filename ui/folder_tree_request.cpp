#include "ui/folder_tree_nodes.h"

FolderTreeRequest FolderTreeRequestOf(const std::u16string& path, char16_t separator) {
  FolderTreeRequest request;
  const size_t last = path.rfind(separator);
  // A lone "\" names no folder on Windows, where a path starts with a drive: it
  // rebuilds as the empty text does.
  if (path.empty() || (separator == u'\\' && path == u"\\")) {
    request.rebuild = true;
  } else if (last == std::u16string::npos) {
    request.rebuild = request.new_patterns = request.to_selection = true;
    request.patterns = path;
  } else if (last + 1 == path.size()) {
    request.target = path;
  } else {
    request.rebuild = request.new_patterns = true;
    request.target = path.substr(0, last + 1);
    request.patterns = path.substr(last + 1);
  }
  return request;
}
