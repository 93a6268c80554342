#pragma once
// The bytes ExitSignalNote last gave, for the exit signal handlers of fs/posix and
// fs/win32. Safe to call from a signal handler.
#include <string_view>

std::string_view ExitSignalNoteBytes();
