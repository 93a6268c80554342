#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/folder_tree_model.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"
#include "ui/qt/folder_tree/folder_tree_state.h"

void NoticeOpen(FolderTreeState& state, int64_t drive) {
  NoticeClose(state);
  const MountEntry* entry = state.shared->drives.Drives().Drive(drive);
  if (!entry || !state.tree) return;
  // Modeless, owned by the tree's window; it deletes itself once closed.
  auto* notice = new QDialog(state.tree->window());
  notice->setAttribute(Qt::WA_DeleteOnClose);
  notice->setWindowTitle(QString::fromStdU16String(DriveDisplayName(*entry)));
  auto* icon = new QLabel(notice);
  const int size = notice->style()->pixelMetric(QStyle::PM_LargeIconSize);
  icon->setPixmap(state.shared->drive_icon.pixmap(size, size));
  auto* text = new QLabel(notice);
  text->setObjectName(QStringLiteral("NoticeText"));
  text->setText(QString::fromStdU16String(FolderTreeNoticeText(entry->mount_point)));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, notice);
  QObject::connect(buttons, &QDialogButtonBox::rejected, notice, &QDialog::reject);
  auto* message = new QHBoxLayout;
  message->addWidget(icon, 0, Qt::AlignTop);
  message->addWidget(text, 1);
  auto* layout = new QVBoxLayout(notice);
  layout->addLayout(message);
  layout->addWidget(buttons);

  // However it closes (its button, the window's close button, a drive's arrival), the
  // tree is usable again.
  QPointer<QTreeWidget> tree = state.tree;
  QObject::connect(notice, &QDialog::finished, [tree, notice] {
    if (!tree) return;
    tree->setEnabled(true);
    FolderTreeState* owner = FolderTreeStateOf(tree);
    if (owner && owner->notice == notice) {
      owner->notice = nullptr;
      owner->notice_drive = -1;
    }
  });
  state.notice = notice;
  state.notice_drive = drive;
  state.tree->setEnabled(false);
  notice->show();
}

void NoticeClose(FolderTreeState& state) {
  if (state.notice) state.notice->close();
  state.notice = nullptr;
  state.notice_drive = -1;
}
