#pragma once
// The program's standard streams.

// True when the stream (1 output, 2 error) is a terminal.
bool ConsoleIsTerminal(int stream);

// A write beyond the process's file size limit then fails with an error the program can
// report, instead of ending the process.
void ConsoleKeepFileSizeErrors();

// A write to a closed pipe or socket then fails (EPIPE) instead of ending the process.
void ConsoleKeepClosedOutputErrors();
