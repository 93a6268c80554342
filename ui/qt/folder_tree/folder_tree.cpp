#include "ui/folder_tree.h"

#include <QHeaderView>
#include <QPalette>
#include <QTreeWidget>

#include "ui/qt/control_create.h"
#include "ui/qt/folder_tree/folder_tree_items.h"
#include "ui/qt/folder_tree/folder_tree_watch.h"
#include "ui/qt/folder_tree/folder_tree_widget.h"

namespace {

const ControlOps kFolderTreeOps = FolderTreeOps();

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
  auto* tree = new FolderTreeWidget(container);  // owned by its window
  Style(*tree, flags);
  const CreatedControl created = ControlCreate(number, tree, x, y, width, height, kFolderTreeOps);
  if (!created.record) return 0;

  auto view = std::make_unique<SystemTreeView>(tree);
  SystemTreeView& shown = *view;
  auto made = std::make_unique<FolderTree>(std::move(view), flags, true);
  FolderTree& kept = *made;
  created.record->state = std::move(made);

  QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, [tree] {
    if (FolderTree* model = FolderTreeOf(tree)) FolderTreeSelectionChanged(*model);
  });
  // A node is filled as it opens, by the user or by the program; one that cannot be
  // filled closes again, so that the next opening tries again.
  QObject::connect(tree, &QTreeWidget::itemExpanded, tree, [tree](QTreeWidgetItem* item) {
    FolderTree* model = FolderTreeOf(tree);
    if (model && !FolderTreeOpening(*model, item)) item->setExpanded(false);
  });
  QObject::connect(tree, &QTreeWidget::itemCollapsed, tree, [tree](QTreeWidgetItem* item) {
    if (FolderTree* model = FolderTreeOf(tree)) FolderTreeClosing(*model, item);
  });
  shown.watch = std::make_unique<FolderTreeWatch>([tree](std::vector<std::u16string> paths) {
    if (FolderTree* model = FolderTreeOf(tree)) FolderTreeChanged(*model, std::move(paths));
  });
  FolderTreeStart(kept, initial_path);
  return created.result;
}
