#include "fs/system_errors.h"

#include <cerrno>

const int kOutOfMemoryError = ENOMEM;
const int kIsFolderError = EISDIR;
