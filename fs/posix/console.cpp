#include "fs/console.h"

#include <signal.h>
#include <unistd.h>

bool ConsoleIsTerminal(int stream) { return (stream == 1 || stream == 2) && isatty(stream) == 1; }

void ConsoleKeepFileSizeErrors() { signal(SIGXFSZ, SIG_IGN); }

void ConsoleKeepClosedOutputErrors() { signal(SIGPIPE, SIG_IGN); }

// Arguments and terminals take bytes as they are.
std::vector<std::string> ConsoleStart(int argc, char** argv) { return {argv + 1, argv + argc}; }
