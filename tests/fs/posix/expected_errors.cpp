#include "tests/fs/expected_errors.h"

#include <cerrno>

const int kMissingFolderError = ENOENT;
const int kFolderOpenedError = EISDIR;
const int kBadNameError = EINVAL;
