#include "tests/fs/expected_errors.h"

#include <windows.h>

const int kMissingFolderError = ERROR_PATH_NOT_FOUND;
const int kFolderOpenedError = ERROR_ACCESS_DENIED;
const int kBadNameError = ERROR_INVALID_NAME;
