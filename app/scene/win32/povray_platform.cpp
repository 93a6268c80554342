#include "app/scene/povray_platform.h"

// POV-Ray for Windows keeps its include folder in its own settings.
std::u16string PovRayIncludeFolder(const PovRayVersion&) { return {}; }

const char16_t kPovRayInstallHint[] =
    u"Windows: install POV-Ray from www.povray.org and put its command-line renderer on PATH";
