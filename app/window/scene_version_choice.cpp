#include "app/window/scene_version_choice.h"

#include "app/window/app_numbers.h"
#include "ui/popup_menu.h"
#include "ui/settings.h"

namespace {

constexpr char16_t kSceneVersionSetting[] = u"PovVersion";
constexpr char16_t kPov37[] = u"3.7";
constexpr char16_t kPov38[] = u"3.8";

}  // namespace

PovVersion WindowSceneVersion() { return WindowSceneVersionChosen().value_or(PovVersion::Pov38); }

std::optional<PovVersion> WindowSceneVersionChosen() {
  const std::u16string chosen = SettingsRead(kSceneVersionSetting);
  if (chosen == kPov37) return PovVersion::Pov37;
  if (chosen == kPov38) return PovVersion::Pov38;
  return std::nullopt;
}

void ChooseSceneVersion() {
  const int chosen = PopupMenuShow(kProcessButton, {u"Scene for POV-Ray 3.8 (standard)", u"Scene for POV-Ray 3.7"},
                                   WindowSceneVersion() == PovVersion::Pov37 ? 1 : 0);
  if (chosen == 0) SettingsWrite(kSceneVersionSetting, kPov38);
  if (chosen == 1) SettingsWrite(kSceneVersionSetting, kPov37);
}
