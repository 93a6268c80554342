// Settings the sanitizer runtimes read at start-up: stop at the first report, and look
// past leaks inside system libraries that Qt loads.

extern "C" const char* __asan_default_options() { return "halt_on_error=1:detect_leaks=1"; }

extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

extern "C" const char* __tsan_default_options() { return "halt_on_error=1:second_deadlock_stack=1"; }

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
