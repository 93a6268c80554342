#include "fs/path_separator.h"

// A backslash is an ordinary name character here.
bool IsFolderSeparator(char16_t unit) { return unit == u'/'; }

const char16_t kFolderSeparator = u'/';
