#pragma once
// Which POV-Ray a program is: what `PROGRAM --version` says of itself. The scene to
// write for it follows from that (POV-Ray 3.7 cannot read the standard scene).
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "app/scene/scene_format.h"

struct PovRayVersion {
  bool program_missing = false;  // no such program (on PATH, for a name alone)
  int system_error = 0;          // it could not be started, and why
  // The major and minor version it names ("POV-Ray 3.7.0.10" is 3 and 7); none when it
  // started but named none.
  std::optional<int> major, minor;
};

// Runs the program with --version and reads the version it prints, on either stream. A
// program still talking when the time is up is ended and taken as one that named no
// version.
PovRayVersion QueryPovRayVersion(const std::u16string& program,
                                 std::chrono::milliseconds time_limit = std::chrono::seconds(5));

// The version named in a program's words: the first "POV-Ray X.Y" in them.
void ReadPovRayVersion(std::string_view said, PovRayVersion& version);

// The scene the program can read: the one chosen when the user chose one, else the scene
// for 3.7 for a POV-Ray older than 3.8 (or one that did not say), else the standard one.
PovVersion SceneVersionFor(const PovRayVersion& version, std::optional<PovVersion> chosen);

// True when the user's choice is a scene the program cannot read: the standard scene for
// a POV-Ray older than 3.8.
bool SceneUnreadableBy(const PovRayVersion& version, PovVersion scene);
