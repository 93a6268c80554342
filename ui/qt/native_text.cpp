// Texts the shared controls code reads from and gives to Qt's widgets.
#include <QChar>
#include <QString>
#include <QVariant>
#include <QWidget>

#include "ui/native_hooks.h"

std::u16string NativeText(NativeHandle control) {
  const QVariant text = control->property("text");
  return (text.isValid() ? text.toString() : control->windowTitle()).toStdU16String();
}

void NativeSetAccessibleName(NativeHandle control, const std::u16string& name) {
  control->setAccessibleName(QString::fromStdU16String(name));
}

char32_t NativeCaseFold(char16_t unit) { return QChar::toCaseFolded(static_cast<char32_t>(unit)); }
