#include <mutex>

#include "ui/folder_tree.h"
#include "ui/win32/folder_tree/folder_tree_shared.h"
#include "ui/win32/folder_tree/folder_tree_state.h"

HTREEITEM FolderNodeAdd(const FolderTreeState& state, HTREEITEM node, HTREEITEM after, const std::u16string& path,
                        const std::u16string& name) {
  const bool children = FolderShowsChildren(FolderTreeRules(state), path + name + u'\\');
  return NodeAdd(state.tree, node, after, name, FolderTreeSharedGet()->folder_icon, children, kNodeFolder);
}

HTREEITEM FileNodeAdd(const FolderTreeState& state, HTREEITEM node, HTREEITEM after, const std::u16string& path,
                      const std::u16string& name) {
  const int icon = FolderTreeSharedGet()->file_icons.For(path + name);
  return NodeAdd(state.tree, node, after, name, icon, false, kNodeFile);
}

bool FolderTreeExpand(FolderTreeState& state, HTREEITEM node) {
  const int64_t parameter = NodeParameter(state.tree, node);
  const std::u16string path = FolderTreePath(state, node);
  const FillStep step = FolderTreeFillStep(parameter, path, state.flags);
  if (step == FillStep::kNotReady) NoticeOpen(state, NodeKind(parameter));
  if (step != FillStep::kRead) return step == FillStep::kFilled;
  const FolderContents contents = FolderRead(FolderTreeRules(state), path);
  for (const std::u16string& name : contents.folders) FolderNodeAdd(state, node, TVI_LAST, path, name);
  {
    const std::lock_guard hold(FolderTreeSharedGet()->file_icons.Lock());
    for (const std::u16string& name : contents.files) FileNodeAdd(state, node, TVI_LAST, path, name);
  }
  // A folder with nothing to show loses its expand button.
  NodeChildrenSet(state.tree, node, NodeChild(state.tree, node) != nullptr);
  NodeParameterSet(state.tree, node, parameter | FilledMark);
  return true;
}
