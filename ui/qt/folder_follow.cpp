#include "ui/folder_follow.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "fs/text_encoding.h"
#include "ui/events.h"

namespace {

// A change is reported once the folder has been quiet this long...
constexpr int kQuietMs = 100;
// ...or this long after the first change of a burst that goes on.
constexpr int kLongestWaitMs = 500;

constexpr uint32_t kChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY | IN_CLOSE_WRITE |
                              IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

class FolderFollower {
 public:
  FolderFollower(int descriptor, int64_t window, int64_t command)
      : descriptor_(descriptor), notifier_(descriptor, QSocketNotifier::Read) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { Drain(); });
    QObject::connect(&quiet_, &QTimer::timeout, [this, window, command] {
      burst_ = false;
      EventPost(CommandEvent, command, window, 0);
    });
  }
  ~FolderFollower() { close(descriptor_); }
  FolderFollower(const FolderFollower&) = delete;
  FolderFollower& operator=(const FolderFollower&) = delete;

 private:
  void Drain() {
    alignas(inotify_event) char buffer[4096];
    while (read(descriptor_, buffer, sizeof buffer) > 0) {
    }
    // A burst that goes on is reported all the same once it has lasted long enough.
    if (!burst_) {
      burst_ = true;
      started_.start();
    }
    quiet_.start(std::max(0, std::min<int>(kQuietMs, kLongestWaitMs - static_cast<int>(started_.elapsed()))));
  }

  int descriptor_;
  QSocketNotifier notifier_;
  QTimer quiet_;
  QElapsedTimer started_;
  bool burst_ = false;
};

std::unique_ptr<FolderFollower> g_follower;

}  // namespace

void FolderFollow(int64_t window, const std::u16string& folder, int64_t command) {
  g_follower.reset();
  if (folder.empty()) return;
  const int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (descriptor < 0) return;
  if (inotify_add_watch(descriptor, EscapedBytesFromText(folder).c_str(), kChanges | IN_ONLYDIR) < 0) {
    close(descriptor);
    return;
  }
  g_follower = std::make_unique<FolderFollower>(descriptor, window, command);
}
