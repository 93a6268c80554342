#pragma once
// Writing bytes to standard output exactly as they are (no line-end translation), for a
// test program that writes a picture there.
#include <string_view>

// True when every byte was written.
bool WriteStandardOutput(std::string_view bytes);
