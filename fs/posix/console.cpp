#include "fs/console.h"

#include <signal.h>
#include <unistd.h>

bool ConsoleIsTerminal(int stream) { return (stream == 1 || stream == 2) && isatty(stream) == 1; }

void ConsoleKeepFileSizeErrors() { signal(SIGXFSZ, SIG_IGN); }

void ConsoleKeepClosedOutputErrors() { signal(SIGPIPE, SIG_IGN); }
