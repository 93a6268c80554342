#pragma once
// The words that tell the user why a render gave no picture; the window and the batch
// program say the same things.
#include <string>

#include "app/scene/access_failure.h"
#include "app/scene/scene_render.h"

// "cannot render: no povray found on PATH (hint)" for a name alone, "cannot render:
// PROGRAM: no such program" for a path.
std::u16string PovRayMissingText(const std::u16string& program, Placing placing);

// "cannot render: POV-Ray 3.7 cannot read the scene for POV-Ray 3.8".
std::u16string SceneTooNewText(int major, int minor, Placing placing);

// Why the render gave no picture; empty for a render that did, or was stopped. POV-Ray's
// own lines are not in it (see RenderResult::povray_lines).
std::u16string RenderFailureText(const RenderResult& result, const std::u16string& program, Placing placing);
