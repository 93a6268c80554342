#include "ui/control_shortcut.h"

#include <QKeySequence>
#include <QShortcut>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/qt/window_access.h"

bool ControlShortcutAdd(int64_t number, const std::u16string& keys, int64_t command) {
  const ControlRecord* record = ControlFind(number);
  const QKeySequence sequence(QString::fromStdU16String(keys), QKeySequence::PortableText);
  if (!record || sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) return false;
  QWidget* control = record->handle;
  auto* shortcut = new QShortcut(sequence, control);  // goes with the control
  shortcut->setContext(Qt::WidgetWithChildrenShortcut);
  shortcut->setAutoRepeat(false);
  QObject::connect(shortcut, &QShortcut::activated, control,
                   [control, command] { EventPost(CommandEvent, command, WindowNumberOf(control), 0); });
  return true;
}
