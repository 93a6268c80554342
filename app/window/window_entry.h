#pragma once
// The window program's life, as each system's entry point runs it.
#include <string>

// MainWindowStart, MainWindowRun and MainWindowStop; their exit code. An exception that
// ends them (memory that keeps failing, say) is told through `tell` in a sentence, and
// gives 1: by then a scan's temporary file is gone and the old scene stays.
int MainWindowLife(void (*tell)(const std::string& text));
