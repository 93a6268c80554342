#include "fs/path_separator.h"

bool IsFolderSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }
