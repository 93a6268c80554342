#pragma once
// The body of a benchmark of the window program, for each window system's entry
// (window_bench_qt.cpp, window_bench_win32.cpp) to call once the window system is up.
// Each benchmark program defines it.
int WindowBench(int argc, char** argv);
