#pragma once
// The system's codes for failures the tests cause on purpose.

extern const int kMissingFolderError;  // a file opened in a folder that is not there
extern const int kFolderOpenedError;   // a folder opened as a file
extern const int kBadNameError;        // a path holding a NUL
