#pragma once
// The window program's life, as each system's entry point runs it.
#include <string>
#include <vector>

// MainWindowStart at the folder the arguments (escaped bytes) or the last run chose,
// MainWindowRun and MainWindowStop; their exit code. An exception that
// ends them (memory that keeps failing, say) is told through `tell` in a sentence, naming
// the scene of a scan it cut short, and gives 1: by then that scan's temporary file is
// gone and its old scene stays.
int MainWindowLife(const std::vector<std::string>& arguments, void (*tell)(const std::u16string& text));
