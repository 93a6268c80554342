#include "app/window/scene_version_choice.h"

#include "app/window/app_numbers.h"
#include "ui/popup_menu.h"
#include "ui/settings.h"

namespace {

constexpr char16_t kSceneVersionSetting[] = u"PovVersion";
constexpr char16_t kPov37[] = u"3.7";
constexpr char16_t kPov38[] = u"3.8";

}  // namespace

PovVersion WindowSceneVersion() {
  return SettingsRead(kSceneVersionSetting) == kPov37 ? PovVersion::Pov37 : PovVersion::Pov38;
}

void ChooseSceneVersion() {
  const int chosen = PopupMenuShow(kProcessButton, {u"Scene for POV-Ray 3.8 (standard)", u"Scene for POV-Ray 3.7"},
                                   WindowSceneVersion() == PovVersion::Pov37 ? 1 : 0);
  if (chosen == 0) SettingsWrite(kSceneVersionSetting, kPov38);
  if (chosen == 1) SettingsWrite(kSceneVersionSetting, kPov37);
}
