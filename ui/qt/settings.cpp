#include "ui/settings.h"

#include <QSettings>

namespace {

// ~/.config/imagescan/imagescan.conf, or below $XDG_CONFIG_HOME.
QSettings UserSettings() { return QSettings("imagescan", "imagescan"); }

}  // namespace

std::u16string SettingsRead(const std::u16string& name) {
  return UserSettings().value(QString::fromStdU16String(name)).toString().toStdU16String();
}

void SettingsWrite(const std::u16string& name, const std::u16string& text) {
  UserSettings().setValue(QString::fromStdU16String(name), QString::fromStdU16String(text));
}
