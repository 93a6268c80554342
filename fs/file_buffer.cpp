#include <algorithm>
#include <cstring>

#include "fs/file_record.h"
#include "fs/system_errors.h"

namespace {

// Leaves the writing state: pending bytes go out and the buffer starts empty.
void SwitchToReading(FileRecord& record) {
  if (record.reading) return;
  FileFlushBuffer(record);
  record.reading = true;
  record.count = 0;
  record.fill = 0;
}

// Leaves the reading state. The system's position is ahead by the bytes read into the
// buffer but not handed out; moving back makes a write land after what was consumed.
void SwitchToWriting(FileRecord& record) {
  if (!record.reading) return;
  if (record.count > 0) record.file.Seek(-record.count, PlatformOrigin::Current);
  record.reading = false;
  record.count = kFileBufferSize;
  record.fill = 0;
}

// Writes straight to the system, remembering the first shortfall.
int64_t WriteThrough(FileRecord& record, const void* data, int64_t count) {
  const int64_t written = record.file.Write(data, count);
  if (written < count && record.write_error == 0) {
    record.write_error = FailureCode(PlatformLastError());
  }
  return written;
}

}  // namespace

void FileFlushBuffer(FileRecord& record) {
  if (record.reading || !record.buffer) return;
  const int64_t used = kFileBufferSize - record.count;
  if (used > 0) WriteThrough(record, record.buffer.get(), used);
  record.count = kFileBufferSize;
}

int64_t FileWriteBytes(FileRecord& record, const void* data, int64_t count) {
  if (record.read_only || count <= 0) return 0;
  if (!record.buffer) return WriteThrough(record, data, count);
  SwitchToWriting(record);
  uint8_t* free_start = record.buffer.get() + (kFileBufferSize - record.count);
  if (count < record.count) {
    std::memcpy(free_start, data, static_cast<size_t>(count));
    record.count -= count;
    return count;
  }
  FileFlushBuffer(record);
  if (count >= kFileBufferSize) return WriteThrough(record, data, count);
  std::memcpy(record.buffer.get(), data, static_cast<size_t>(count));
  record.count = kFileBufferSize - count;
  return count;
}

int64_t FileReadBytes(FileRecord& record, void* data, int64_t count) {
  if (count <= 0) return 0;
  if (!record.buffer) return record.file.Read(data, count);
  SwitchToReading(record);
  auto* out = static_cast<uint8_t*>(data);
  const auto hand_out = [&](int64_t n) {
    std::memcpy(out, record.buffer.get() + (record.fill - record.count), static_cast<size_t>(n));
    record.count -= n;
    out += n;
  };
  if (record.count >= count) {
    hand_out(count);
    return count;
  }
  const int64_t buffered = record.count;
  hand_out(buffered);
  const int64_t rest = count - buffered;
  if (rest >= kFileBufferSize) {
    record.fill = 0;
    return buffered + record.file.Read(out, rest);
  }
  record.fill = record.file.Read(record.buffer.get(), kFileBufferSize);
  record.count = record.fill;
  const int64_t taken = std::min(rest, record.fill);
  hand_out(taken);
  return buffered + taken;
}

void FileGiveBack(FileRecord& record, int64_t count) {
  if (record.buffer && record.reading && record.fill - record.count >= count) {
    record.count += count;
    return;
  }
  // The bytes lie before the buffer's contents (a read across a refill): move the
  // system's position back over them and over whatever the buffer still holds.
  const int64_t ahead = record.buffer && record.reading ? record.count : 0;
  record.file.Seek(-(count + ahead), PlatformOrigin::Current);
  record.count = 0;
  record.fill = 0;
}

void FileSetPosition(FileRecord& record, int64_t offset) {
  SwitchToReading(record);
  record.file.Seek(offset, PlatformOrigin::Start);
  record.count = 0;
  record.fill = 0;
}
