#pragma once
// The system's error codes for failures the program finds itself, so that they are
// reported in the same words as the system's own.

// Memory for the work could not be had.
extern const int kOutOfMemoryError;
// A folder stands where a file is to be written.
extern const int kIsFolderError;

// The temporary file of a replacement was swapped for another file or a link before it
// could be put in place (see file_replacement.h). No system code says this; SystemErrorText
// has the words.
inline constexpr int kReplacedError = -2;
// What decides who may use a replaced file could not be given to the new one: its
// owner and group, its mode, its access list and extended attributes.
inline constexpr int kOwnerNotKeptError = -4;
inline constexpr int kModeNotKeptError = -5;
inline constexpr int kAttributesNotKeptError = -6;
// A symbolic link of another user's that leads to what that user does not own, which
// a scan does not follow (see link_rule.h).
inline constexpr int kLinkNotFollowedError = -7;
// A folder or file was swapped for another between the look at it and its use.
inline constexpr int kChangedError = -3;

// The failure's code as the system gave it, or -1 where it gave none: a failure must
// never read as success (0).
inline int FailureCode(int error) { return error != 0 ? error : -1; }
