#pragma once
// Which POV-Ray the window writes its scenes for: the standard scene, or the one POV-Ray
// 3.7 reads. Chosen from the process button's menu and remembered for the next start.
#include <optional>

#include "app/scene/scene_format.h"

// The version chosen, as remembered; the standard scene when none was.
PovVersion WindowSceneVersion();
// The version chosen, as remembered; nothing when none was.
std::optional<PovVersion> WindowSceneVersionChosen();
// Shows the choice as the process button's menu and remembers what the user picks.
void ChooseSceneVersion();
