#include "ui/folder_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <vector>

#include "fs/text_encoding.h"
#include "ui/events.h"
#include "ui/folder_drop_paths.h"
#include "ui/qt/window_access.h"

namespace {

// The local paths a drag carries, as the system names them (bytes, not Qt's decoding).
std::vector<std::u16string> LocalPaths(const QMimeData* data) {
  std::vector<std::u16string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(TextFromEscapedBytes(QFile::encodeName(url.toLocalFile()).toStdString()));
  }
  return paths;
}

// Takes the window's drags and drops: those that carry a folder.
class DropFilter : public QObject {
 public:
  DropFilter(int64_t window, int64_t command) : window_(window), command_(command) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDropEvent*>(event);
      if (!FirstFolderOf(LocalPaths(drag->mimeData())).empty()) drag->acceptProposedAction();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      std::u16string folder = FirstFolderOf(LocalPaths(drop->mimeData()));
      if (folder.empty()) return true;
      drop->acceptProposedAction();
      FolderDropKeep(std::move(folder));
      EventPost(CommandEvent, command_, window_, 0);
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  int64_t window_;
  int64_t command_;
};

std::unique_ptr<DropFilter> g_filter;

}  // namespace

void FolderDropAccept(int64_t window, int64_t command) {
  QWidget* widget = WindowHandle(window);
  if (!widget) return;
  g_filter = std::make_unique<DropFilter>(window, command);
  widget->setAcceptDrops(true);
  widget->installEventFilter(g_filter.get());
}
