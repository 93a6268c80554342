#include <QTreeWidget>
#include <mutex>

#include "ui/folder_tree.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"

FolderReadRules FolderTreeRules(const FolderTreeState& state) {
  return FolderReadRulesFor(state.flags, state.patterns, u'/');
}

std::unique_ptr<QTreeWidgetItem> FolderNodeMake(const FolderTreeState& state, const std::u16string& path,
                                                const std::u16string& name) {
  const bool children = FolderShowsChildren(FolderTreeRules(state), path + name + u"/");
  return NodeMake(name, state.shared->folder_icon, children, kNodeFolder);
}

std::unique_ptr<QTreeWidgetItem> FileNodeMake(const FolderTreeState& state, const std::u16string& path,
                                              const std::u16string& name) {
  return NodeMake(name, state.shared->file_icons.For(path + name), false, kNodeFile);
}

bool FolderTreeExpand(FolderTreeState& state, QTreeWidgetItem* node) {
  const int64_t parameter = NodeParameter(node);
  const std::u16string path = FolderTreePath(state, node);
  const FillStep step = FolderTreeFillStep(parameter, path, state.flags);
  if (step == FillStep::kNotReady) NoticeOpen(state, NodeKind(parameter));
  if (step != FillStep::kRead) return step == FillStep::kFilled;
  const FolderContents contents = FolderRead(FolderTreeRules(state), path);

  QList<QTreeWidgetItem*> children;
  for (const std::u16string& name : contents.folders) children.append(FolderNodeMake(state, path, name).release());
  {
    const std::lock_guard hold(state.shared->file_icons.Lock());
    for (const std::u16string& name : contents.files) children.append(FileNodeMake(state, path, name).release());
  }
  node->addChildren(children);  // the node owns them from here
  NodeParameterSet(node, parameter | FilledMark);
  node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  return true;
}
