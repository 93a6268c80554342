#include "ui/push_button.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/push_button_ops.h"
#include "ui/qt/control_create.h"

namespace {

// Enter and Return press the focused button as Space does, as on every desktop.
class PushButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !event->isAutoRepeat() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
  // A right click or the menu key asks the program for the button's menu, if it has one.
  void contextMenuEvent(QContextMenuEvent* event) override {
    ControlEventPost(this, DetailRightClick);
    event->accept();
  }
};

}  // namespace

int64_t PushButtonCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height,
                         const std::u16string& caption, uint32_t) {
  QWidget* container = ControlContainer();
  if (!container) return 0;
  auto* button = new PushButton(QString::fromStdU16String(caption), container);
  QObject::connect(button, &QPushButton::clicked, button, [button] {
    ControlNotify(button, {NoticeKind::kCommand, kPushButtonClicked});
  });
  return ControlCreate(number, button, x, y, width, height, kPushButtonOps).result;
}
