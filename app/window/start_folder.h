#pragma once
// Where the window opens: at a folder named on its command line, else where the user
// last was.
#include <string>
#include <vector>

struct StartFolder {
  std::u16string folder;   // the folder to select, ending in a separator; empty: the tree's top
  std::u16string problem;  // why a folder asked for cannot be opened; empty when none was
};

// The first of the arguments (escaped bytes, as ConsoleStart gives them) when it is a
// folder; without arguments the folder last remembered, when it still is one. A
// remembered folder that is gone is forgotten without a word.
StartFolder ChooseStartFolder(const std::vector<std::string>& arguments);

// Remembers the folder the user last showed or processed, for the next start.
void RememberFolder(const std::u16string& folder);
