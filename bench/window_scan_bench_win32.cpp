// The window's benchmark on Win32: the window layer needs nothing made before it.
#include "bench/window_scan_bench.h"

int main(int argc, char** argv) { return WindowScanBench(argc, argv); }
