#pragma once
// The window's process runs timed, for each window system's entry to call once the
// window system is up.

// Opens the program's window, selects the folder in the tree and runs the process
// command `runs` times in that window, each timed from its start until the scene file
// is replaced; prints one line per run ("run N: R rows before, S s"), then "done", and
// keeps the window up for the seconds of the third argument, if any. Returns 0, or 2
// for wrong arguments.
int WindowScanBench(int argc, char** argv);
