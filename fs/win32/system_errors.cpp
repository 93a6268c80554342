#include "fs/system_errors.h"

#include <windows.h>

#include <initializer_list>

const int kOutOfMemoryError = ERROR_NOT_ENOUGH_MEMORY;
// What replacing a folder by a file gives.
const int kIsFolderError = ERROR_ACCESS_DENIED;

bool IsSystemFault(int code) {
  for (const DWORD fault : {ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY, ERROR_TOO_MANY_OPEN_FILES,
                            ERROR_NO_SYSTEM_RESOURCES, ERROR_READ_FAULT, ERROR_CRC, ERROR_IO_DEVICE}) {
    if (static_cast<DWORD>(code) == fault) return true;
  }
  return false;
}
