#include "fs/path_separator.h"

bool IsFolderSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

const char16_t kFolderSeparator = u'\\';
