// The window's benchmarks on Win32: the window layer needs nothing made before it.
#include "bench/window_bench.h"

int main(int argc, char** argv) { return WindowBench(argc, argv); }
