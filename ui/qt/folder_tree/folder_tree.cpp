#include "ui/folder_tree.h"

#include <QHeaderView>
#include <QPalette>
#include <QTreeWidget>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/folder_tree_system_nodes.h"
#include "ui/qt/control_create.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"
#include "ui/qt/folder_tree/folder_tree_view.h"
#include "ui/qt/folder_tree/folder_tree_watch.h"

namespace {

// Set on a filled node while it is closed.
constexpr int kClosedRole = Qt::UserRole + 1;

void Navigate(FolderTreeState& state, const std::u16string& path) {
  SystemTreeNodes nodes(state);
  FolderTreeTextSet(nodes, path);
  FolderTreeWatchOpen(state);
}

std::u16string GetText(ControlRecord& record) {
  FolderTreeState* state = FolderTreeStateOf(record);
  return state ? FolderTreeSelectedPath(SystemTreeNodes(*state)) : std::u16string();
}

int64_t GetState(ControlRecord& record) {
  FolderTreeState* state = FolderTreeStateOf(record);
  return state ? FolderTreeSelectedState(SystemTreeNodes(*state)) : 0;
}

void SetText(ControlRecord& record, const std::u16string& path) {
  if (FolderTreeState* state = FolderTreeStateOf(record)) Navigate(*state, path);
}

void Release(ControlRecord& record) {
  if (FolderTreeState* state = FolderTreeStateOf(record)) NoticeClose(*state);
}

const ControlOps kFolderTreeOps = [] {
  ControlOps ops;
  ops.type_id = kFolderTreeType;
  ops.release = Release;
  ops.get_state = GetState;
  ops.get_text = GetText;
  ops.set_text = SetText;
  return ops;
}();

void Style(QTreeWidget& tree, uint32_t flags) {
  tree.setColumnCount(1);
  tree.setHeaderHidden(true);
  // Names are shown whole: a node wider than the tree scrolls sideways, not cut short.
  tree.header()->setStretchLastSection(false);
  tree.header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tree.setSelectionMode(QAbstractItemView::SingleSelection);
  tree.setRootIsDecorated(false);  // the computer node has no indicator of its own
  tree.setFrameStyle(flags & kFolderTreeNoEdge ? QFrame::NoFrame : QFrame::StyledPanel | QFrame::Sunken);
  if (flags & kFolderTreeNoButtons) tree.setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
  if (!(flags & kFolderTreeShowSelectionAlways)) {
    // The selection shows only while the tree has the focus.
    QPalette palette = tree.palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Inactive, QPalette::Text));
    tree.setPalette(palette);
  }
  tree.setFocusPolicy(Qt::StrongFocus);
}

}  // namespace

int64_t FolderTreeCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& initial_path, uint32_t flags) {
  QWidget* container = ControlContainer();
  if (!container) return 0;
  auto* tree = new FolderTreeView(container);  // owned by its window
  Style(*tree, flags);
  const CreatedControl created = ControlCreate(number, tree, x, y, width, height, kFolderTreeOps);
  if (!created.record) return 0;

  auto state = std::make_unique<FolderTreeState>();
  state->tree = tree;
  state->number = created.record->number;
  state->flags = flags;
  state->shared = FolderTreeSharedTake();
  FolderTreeState& kept = *state;
  created.record->state = std::move(state);

  QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, [tree] {
    const FolderTreeState* state = FolderTreeStateOf(tree);
    if (state && !state->quiet) ControlEventPost(tree, DetailChange);
  });
  // A node is filled as it opens, by the user or by the program; one that cannot be
  // filled closes again, so that the next opening tries again. A node opened again after
  // it was closed is read again: its folder went unwatched meanwhile.
  QObject::connect(tree, &QTreeWidget::itemExpanded, tree, [tree](QTreeWidgetItem* node) {
    FolderTreeState* state = FolderTreeStateOf(tree);
    if (!state) return;
    SystemTreeNodes nodes(*state);
    if (node->data(0, kClosedRole).toBool()) {
      node->setData(0, kClosedRole, QVariant());
      FolderTreeNodeRefresh(nodes, node);
    }
    if (!FolderTreeFill(nodes, node)) {
      node->setExpanded(false);
      return;
    }
    FolderTreeWatchOpen(*state);
  });

  QObject::connect(tree, &QTreeWidget::itemCollapsed, tree, [tree](QTreeWidgetItem* node) {
    if (FolderTreeState* state = FolderTreeStateOf(tree)) {
      SystemTreeNodes nodes(*state);
      FolderTreeClosing(nodes, node);
      if (IsFilled(nodes.Parameter(node))) node->setData(0, kClosedRole, true);
      FolderTreeWatchOpen(*state);
    }
  });
  kept.watch = std::make_unique<FolderTreeWatch>([tree](std::vector<std::u16string> paths) {
    if (FolderTreeState* state = FolderTreeStateOf(tree)) {
      SystemTreeNodes nodes(*state);
      FolderTreeRefreshPaths(nodes, std::move(paths));
      FolderTreeWatchOpen(*state);
    }
  });

  Navigate(kept, u"");
  Navigate(kept, initial_path);
  return created.result;
}

void FolderTreeRefresh(int64_t number) {
  ControlRecord* record = ControlFind(number);
  FolderTreeState* state = record ? FolderTreeStateOf(*record) : nullptr;
  if (!state) return;
  DriveWatchRefresh();
  SystemTreeNodes nodes(*state);
  FolderTreeRefreshOpen(nodes);
  FolderTreeWatchOpen(*state);
}
