#pragma once
// What an exit signal removes on Linux: a name in a folder held open, so that the folder
// renamed meanwhile still loses the file and no link in a path is followed.
#include <climits>

struct ExitSignalTarget {
  int folder = -1;  // a descriptor of the folder
  char name[NAME_MAX + 1] = {};
};

// The child an exit signal ends: its process group, which the child leads.
struct ExitSignalChild {
  int group = 0;
};
