#pragma once
// The program's standard streams and its command line.
#include <string>
#include <vector>

// The arguments after the program's name as escaped bytes (see text_encoding.h), which
// carry every name as it was given; and from now on standard output and error carry
// UTF-8, also where a console would take another code page.
std::vector<std::string> ConsoleStart(int argc, char** argv);

// True when the stream (1 output, 2 error) is a terminal.
bool ConsoleIsTerminal(int stream);

// A write beyond the process's file size limit then fails with an error the program can
// report, instead of ending the process.
void ConsoleKeepFileSizeErrors();

// A write to a closed pipe or socket then fails (EPIPE) instead of ending the process.
void ConsoleKeepClosedOutputErrors();
