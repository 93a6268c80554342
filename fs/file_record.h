#pragma once
// Inside the numbered files: the record of an open file and its buffered byte transfers.
#include <cstdint>
#include <memory>

#include "fs/memory_block.h"
#include "fs/object_table.h"
#include "fs/platform_file.h"
#include "fs/text_format.h"

inline constexpr int64_t kFileBufferSize = 4096;

struct FileBufferFree {
  void operator()(uint8_t* block) const { MemoryFree(block); }
};

struct FileRecord {
  PlatformFile file;
  std::unique_ptr<uint8_t[], FileBufferFree> buffer;  // null: unbuffered
  // Reading: bytes of the buffer not yet handed out. Writing: room still free.
  int64_t count = 0;
  int64_t fill = 0;  // bytes the last refill placed in the buffer
  bool reading = true;
  int default_format = TextFormat::Utf8;
  bool read_only = false;

  bool InUse() const { return file.IsOpen(); }
};

// The table that owns every open file's record, created on first use.
ObjectTable<FileRecord>& FileTable();
// The open file under a number or id; null when there is none.
FileRecord* FileFind(int64_t number);
// The TextFormat code a format argument stands for: the code in its low bits, or the
// file's default for 0.
int FileResolveFormat(const FileRecord& record, int format);

// Byte transfers through the buffer (straight to the system when there is none).
// Results are the bytes transferred; fewer than asked means the end or a failure.
int64_t FileReadBytes(FileRecord& record, void* data, int64_t count);
int64_t FileWriteBytes(FileRecord& record, const void* data, int64_t count);
// Writing state only: writes the buffered bytes; bytes the system refuses are dropped.
void FileFlushBuffer(FileRecord& record);
// Steps back over the last `count` bytes read, so that they are read again.
void FileGiveBack(FileRecord& record, int64_t count);
// Moves to `offset` from the start, flushing and emptying the buffer.
void FileSetPosition(FileRecord& record, int64_t offset);
