// The file table: the numbers of open files, their lifetime and closing.
#include <optional>

#include "fs/file_record.h"
#include "fs/files.h"
#include "fs/system_errors.h"

namespace {

// The release callback: a file leaves its number with its pending bytes written.
void CloseRecord(FileRecord& record) {
  FileFlushBuffer(record);
  record.buffer.reset();
  record.file.Close();
}

std::optional<ObjectTable<FileRecord>>& TableHolder() {
  static std::optional<ObjectTable<FileRecord>> table;
  return table;
}

}  // namespace

ObjectTable<FileRecord>& FileTable() {
  auto& table = TableHolder();
  if (!table) table.emplace(16, CloseRecord);
  return *table;
}

FileRecord* FileFind(int64_t number) {
  const auto& table = TableHolder();
  return table ? table->Find(number) : nullptr;
}

int FileResolveFormat(const FileRecord& record, int format) {
  const int code = format & TextFormat::kCodeMask;
  return code == 0 ? record.default_format : code;
}

void FileFilesInit() { FileTable(); }

void FileFilesEnd() { TableHolder().reset(); }

void FileClose(int64_t number) {
  auto& table = TableHolder();
  if (!table) return;
  if (number == -1) {
    table->ReleaseAll();
  } else {
    table->Release(number);
  }
}

void FileCloseAll() { FileClose(-1); }

void FileFlush(int64_t number) {
  if (FileRecord* record = FileFind(number)) FileFlushBuffer(*record);
}

int FileLastError() { return PlatformLastError(); }

int FileWriteError(int64_t number) {
  const FileRecord* record = FileFind(number);
  return record ? record->write_error : 0;
}

int FileSync(int64_t number) {
  FileRecord* record = FileFind(number);
  if (!record) return -1;
  FileFlushBuffer(*record);
  if (record->write_error != 0) return record->write_error;
  if (!record->file.Sync()) {
    return FailureCode(PlatformLastError());
  }
  return 0;
}
