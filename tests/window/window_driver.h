#pragma once
// Drives the real program: starts it as main() does, then runs its event loop while a
// script of steps acts on the window, one step per turn of the loop, the way a user's
// clicks arrive.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/window/app_numbers.h"
#include "app/window/main_window.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/folder_tree.h"
#include "ui/qt/window_access.h"

struct ShownMessage {
  std::u16string caption, text;
};

class WindowDriver {
 public:
  explicit WindowDriver(const StartFolder& start = {}) { MainWindowStart(start); }
  ~WindowDriver() {
    if (!stopped_) MainWindowStop();
  }

  // Adds a step; steps run in order, each once the loop is idle again.
  WindowDriver& Then(std::function<void()> step) {
    steps_.push_back({nullptr, std::move(step)});
    return *this;
  }
  // Adds a step that waits, turn after turn of the loop, until `ready` holds: for what
  // the program does in its own time (a file it follows, the window's activation). After
  // a generous limit the step runs all the same, to find what it checks missing.
  WindowDriver& When(std::function<bool()> ready, std::function<void()> step) {
    steps_.push_back({std::move(ready), std::move(step)});
    return *this;
  }

  // Runs the loop until the program leaves it; returns its exit code. The program is
  // shut down afterwards.
  int Run() {
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      CloseMessageBoxes();
      // A scan lets the window repaint while it runs (under the busy cursor); steps wait
      // for it to end.
      if (!steps_.empty() && !QApplication::activeModalWidget() && !QGuiApplication::overrideCursor()) {
        if (!waiting_.isValid()) waiting_.start();
        if (steps_.front().ready && !steps_.front().ready() && waiting_.elapsed() < kLongestWaitMs) return;
        waiting_.invalidate();
        auto step = std::move(steps_.front().step);
        steps_.pop_front();
        step();
      }
    });
    timer.start();
    const int code = MainWindowRun();
    timer.stop();
    MainWindowStop();
    stopped_ = true;
    return code;
  }

  // The controls' widgets.
  static QWidget* Control(int64_t number) {
    ControlRecord* record = ControlFind(number);
    return record ? record->handle : nullptr;
  }
  static void Click(int64_t number) { QTest::mouseClick(Control(number), Qt::LeftButton); }
  static void Select(const std::u16string& folder) { FolderTreeNavigate(kFolderTree, folder); }
  static bool Active() { return QApplication::activeWindow() == Control(kProcessButton)->window(); }
  // The rows of ImageLog.
  static std::vector<std::string> LogRows() {
    auto* log = qobject_cast<QListWidget*>(Control(kImageLog));
    std::vector<std::string> rows;
    for (int i = 0; i < log->count(); ++i) rows.push_back(log->item(i)->text().toStdString());
    return rows;
  }

  // The message boxes the program showed, each closed by pressing its button.
  std::vector<ShownMessage> messages;

 private:
  void CloseMessageBoxes() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    messages.push_back({box->windowTitle().toStdU16String(), box->text().toStdU16String()});
    box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->accept();
  }

  struct Step {
    std::function<bool()> ready;  // null: at once
    std::function<void()> step;
  };
  std::deque<Step> steps_;
  static constexpr qint64 kLongestWaitMs = 30000;
  QElapsedTimer waiting_;  // since the first step became the next
  bool stopped_ = false;
};

// Selects the folder, presses process and, once the run is over, keeps ImageLog's rows
// and a picture of the window, and quits. Returns the program's exit code.
inline int ProcessThenQuit(WindowDriver& driver, const std::u16string& folder, std::vector<std::string>* rows = nullptr,
                           QImage* shot = nullptr, QString* title = nullptr) {
  driver.Then([folder] { WindowDriver::Select(folder); })
      .Then([] { WindowDriver::Click(kProcessButton); })
      .Then([rows, shot, title] {
        if (rows) *rows = WindowDriver::LogRows();
        if (title) *title = WindowHandle(kMainWindow)->windowTitle();
        if (shot) *shot = WindowHandle(kMainWindow)->grab().toImage();
        WindowDriver::Click(kQuitButton);
      });
  return driver.Run();
}
