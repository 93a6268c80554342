#include "fs/path_limit.h"

#include <windows.h>

const int kPathTooLongError = ERROR_FILENAME_EXCED_RANGE;

// MAX_PATH counts the terminating NUL. Longer paths would need the "\\?\" form, which
// takes no "/" as a separator, and the scan joins its folders with "/".
bool PathFitsSystem(std::u16string_view path) { return path.size() < MAX_PATH; }
