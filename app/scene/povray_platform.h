#pragma once
// What differs between systems about the POV-Ray a user has: where its include files
// lie, and where to get one.
#include <string>

#include "app/scene/povray_version.h"

// The include folder of that version where the system's packages put it, or empty where
// there is none (POV-Ray's own settings name it then).
std::u16string PovRayIncludeFolder(const PovRayVersion& version);

// Where a user without POV-Ray gets it, as the end of a message.
extern const char16_t kPovRayInstallHint[];
