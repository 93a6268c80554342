#pragma once
// The system's error codes for failures the program finds itself, so that they are
// reported in the same words as the system's own.

// Memory for the work could not be had.
extern const int kOutOfMemoryError;
// A folder stands where a file is to be written.
extern const int kIsFolderError;

// The failure's code as the system gave it, or -1 where it gave none: a failure must
// never read as success (0).
inline int FailureCode(int error) { return error != 0 ? error : -1; }
