#include "fs/system_errors.h"

#include <windows.h>

const int kOutOfMemoryError = ERROR_NOT_ENOUGH_MEMORY;
// What replacing a folder by a file gives.
const int kIsFolderError = ERROR_ACCESS_DENIED;
