#include "fs/system_errors.h"

#include <cerrno>
#include <initializer_list>

const int kOutOfMemoryError = ENOMEM;
const int kIsFolderError = EISDIR;

bool IsSystemFault(int code) {
  for (const int fault : {EIO, EMFILE, ENFILE, ENOMEM, ENOBUFS}) {
    if (code == fault) return true;
  }
  return false;
}
