#include "fs/platform_file.h"

namespace {

thread_local int g_last_error = 0;

}  // namespace

int PlatformLastError() { return g_last_error; }

void PlatformSetLastError(int code) { g_last_error = code; }
