#include "ui/control_register.h"
#include "ui/folder_tree.h"

// Carried out by the tree's text slot, as each window system's tree defines it.
void FolderTreeNavigate(int64_t number, const std::u16string& path) {
  ControlRecord* record = ControlFind(number);
  if (record && record->ops && record->ops->set_text) record->ops->set_text(*record, path);
}
