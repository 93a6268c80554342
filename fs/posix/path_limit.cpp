#include "fs/path_limit.h"

#include <cerrno>
#include <climits>

#include "fs/text_encoding.h"

// PATH_MAX counts the terminating NUL.
const int kPathTooLongError = ENAMETOOLONG;

bool PathFitsSystem(std::u16string_view path) { return EscapedBytesFromText(path).size() < PATH_MAX; }
