#pragma once
// The system's error codes for failures the program finds itself, so that they are
// reported in the same words as the system's own.

// Memory for the work could not be had.
extern const int kOutOfMemoryError;
// A folder stands where a file is to be written.
extern const int kIsFolderError;
// Whether a failure says nothing of a file's content: the device failed to read it, or
// the system or the process ran out of descriptors or memory.
bool IsSystemFault(int code);

// The temporary file of a replacement was swapped for another file or a link before it
// could be put in place (see file_replacement.h). No system code says this; SystemErrorText
// has the words.
inline constexpr int kReplacedError = -2;
// A folder or file was swapped for another between the look at it and its use.
inline constexpr int kChangedError = -3;

// The failure's code as the system gave it, or -1 where it gave none: a failure must
// never read as success (0).
inline int FailureCode(int error) { return error != 0 ? error : -1; }
