#pragma once
// What one status call says of a file: enough to tell whether a file seen before is
// still the same file with the same content.
#include <cstdint>

struct FileStamp {
  uint64_t device = 0;      // the file system (on Windows the volume's serial number)
  uint64_t node = 0;        // the file on it (on Windows the file's index)
  int64_t size = 0;         // bytes
  int64_t modified_ns = 0;  // the content's last change, nanoseconds since 1970
  int64_t changed_ns = 0;   // the status's last change (0 where the file system keeps none)
  uint32_t owner = 0;       // the owning user (0 on Windows)
  bool operator==(const FileStamp&) const = default;
};
