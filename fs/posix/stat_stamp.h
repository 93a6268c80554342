#pragma once
// A FileStamp from what stat says of a file.
#include <sys/stat.h>

#include "fs/file_stamp.h"

inline int64_t StampNanoseconds(const timespec& time) { return int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; }

inline FileStamp StampOfStatus(const struct stat& status) {
  return {
      static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino), status.st_size,
      StampNanoseconds(status.st_mtim),     StampNanoseconds(status.st_ctim),     static_cast<uint32_t>(status.st_uid)};
}
