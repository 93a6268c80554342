#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt/folder_tree/folder_tree_items.h"
#include "ui/qt/folder_tree/folder_tree_shared.h"

bool SystemTreeView::NoticeShow(int64_t, const std::u16string& title, const std::u16string& message) {
  // Modeless, owned by the tree's window; it deletes itself once closed.
  auto* dialog = new QDialog(tree->window());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QString::fromStdU16String(title));
  auto* icon = new QLabel(dialog);
  const int size = dialog->style()->pixelMetric(QStyle::PM_LargeIconSize);
  icon->setPixmap(shared->drive_icon.pixmap(size, size));
  auto* text = new QLabel(dialog);
  text->setObjectName(QStringLiteral("NoticeText"));
  text->setText(QString::fromStdU16String(message));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(dialog);
  layout->addLayout(row);
  layout->addWidget(buttons);

  // However it closes (its button, the window's close button, a drive's arrival), the
  // tree is usable again.
  QObject::connect(dialog, &QDialog::finished, [owner = QPointer<QTreeWidget>(tree), dialog] {
    if (!owner) return;
    owner->setEnabled(true);
    FolderTree* shown = FolderTreeOf(owner.data());
    auto* view = shown ? static_cast<SystemTreeView*>(shown->view.get()) : nullptr;
    if (view && view->notice == dialog) {
      view->notice = nullptr;
      FolderTreeNoticeGone(*shown);
    }
  });
  notice = dialog;
  tree->setEnabled(false);
  dialog->show();
  return true;
}

void SystemTreeView::NoticeHide() {
  if (notice) notice->close();
  notice = nullptr;
}
