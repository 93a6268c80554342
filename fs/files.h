#pragma once
// Numbered files: opened on a slot number or kAutoNumber, read and written through a
// 4096-byte buffer, holding text lines in UTF-8, Ansi or UTF-16 (see text_format.h).
// Text lines are written with CR LF; on reading, CR LF, LF, CR and a zero byte each end
// a line. An operation on a number without an open file does nothing and returns 0 (or
// the empty string).
#include <cstdint>
#include <string>

#include "fs/object_table.h"
#include "fs/platform_file.h"
#include "fs/text_format.h"

// Open flags: the low bits hold the file's default TextFormat code (0 means Utf8).
namespace OpenFlag {
inline constexpr uint32_t ShareRead = 0x20000;  // others may open beside (without it: nobody)
inline constexpr uint32_t ShareAll = 0x40000;   // as ShareRead here; see platform_file.cpp
inline constexpr uint32_t Unbuffered = 0x80000;
inline constexpr uint32_t SeekEnd = 0x100000;        // ReadWrite: start at the end
inline constexpr uint32_t ByteOrderMark = 0x200000;  // Create: write it; else detect it
}  // namespace OpenFlag

namespace ReadFlag {
// FileReadLine reads to a zero byte or the end of the file, keeping CR and LF.
inline constexpr int ToEnd = 0x10000;
}  // namespace ReadFlag

enum class FileOpenMode {
  ReadOnly = 1,   // existing files only; writes do nothing
  ReadWrite = 2,  // creates a missing file
  Create = 3,     // creates or empties; falls back to write-only on an existing file
};

// Start-up and shutdown: the table exists from FileFilesInit (or the first open) until
// FileFilesEnd, which closes every file, writing out pending bytes.
void FileFilesInit();
void FileFilesEnd();

// 0 on failure, and the number is free afterwards (a file it held is closed first).
// Otherwise non-zero: the new id for kAutoNumber, else the system's handle.
int64_t FileOpenAs(FileOpenMode mode, int64_t number, const std::u16string& path, uint32_t flags);
int64_t FileCreate(int64_t number, const std::u16string& path, uint32_t flags);
int64_t FileOpen(int64_t number, const std::u16string& path, uint32_t flags);
// A numbered file, as FileCreate gives it, on a file already open for writing (say a
// FileReplacement's); the numbered file owns it from then on. 0 when `file` is not open.
int64_t FileCreateOn(int64_t number, PlatformFile file, uint32_t flags);

// Writes pending bytes and closes; -1 closes every open file.
void FileClose(int64_t number);
void FileCloseAll();
void FileFlush(int64_t number);

// Why the last FileCreate or FileOpen on this thread failed: the system's error code.
int FileLastError();
// Writes pending bytes and makes everything written durable. 0 when every write of the
// file went out in full and is on the disk; otherwise the system's error code of the
// first failure (-1 when the system gave none).
int FileSync(int64_t number);
// The system's error code of the first write of the file that fell short so far (bytes
// still in the buffer are not written yet); 0 while all went out or without a file.
int FileWriteError(int64_t number);

// Non-zero at the end of the file (1 buffered, -1 unbuffered); 0 otherwise.
int64_t FileAtEnd(int64_t number);
// One line without its end; `format` is a TextFormat code (0: the file's default),
// optionally with ReadFlag::ToEnd.
std::u16string FileReadLine(int64_t number, int format = 0);
// Writes the text, then CR LF, in `format` (0: the file's default). The result is the
// byte count of the line end's write.
int64_t FileWriteLine(int64_t number, const std::u16string& text, int format = 0);
