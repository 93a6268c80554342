#pragma once
// The program's standard streams.

// True when the stream (1 output, 2 error) is a terminal.
bool ConsoleIsTerminal(int stream);
