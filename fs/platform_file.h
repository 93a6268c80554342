#pragma once
// The system's file calls behind one small owner, so that buffering and text encoding
// stay free of them. The Linux implementation is posix/platform_file.cpp.
#include <cstdint>
#include <string_view>
#include <utility>

enum class PlatformAccess { Read, ReadWrite, Write };
enum class PlatformDisposition {
  OpenExisting,      // fail when missing
  OpenAlways,        // create when missing
  CreateAlways,      // create when missing, else empty it
  TruncateExisting,  // fail when missing, else empty it
};
// Who else may open the file while it is open here. None admits nobody. Unlocked reads
// beside anyone, even an exclusive opener, and takes no lock of its own.
enum class PlatformShare { None, Read, All, Unlocked };
enum class PlatformOrigin { Start, Current, End };

// The system's code for the last failure of a call below on this thread; 0 for none yet.
int PlatformLastError();
// Puts back a code as the last failure, for a caller whose fallback failed for a lesser reason.
void PlatformSetLastError(int code);

class PlatformFile {
 public:
  PlatformFile() = default;
  PlatformFile(PlatformFile&& other) noexcept
      : handle_(std::exchange(other.handle_, 0)), opened_size_(std::exchange(other.opened_size_, 0)) {}
  PlatformFile& operator=(PlatformFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, 0);
      opened_size_ = std::exchange(other.opened_size_, 0);
    }
    return *this;
  }
  ~PlatformFile() { Close(); }

  // Not open when the path is missing (for OpenExisting and TruncateExisting), is not a
  // plain file (told before it is opened, so a FIFO or device never sees an open), holds a NUL, is refused by the
  // system or is held by another opener whose sharing does not admit this one. An existing file is emptied only once it
  // is held.
  static PlatformFile Open(std::u16string_view path, PlatformAccess access, PlatformDisposition disposition,
                           PlatformShare share);

  // Takes over a handle of the system's, in the form Handle() gives it, of a file whose
  // size the caller found (for OpenedSize).
  static PlatformFile Adopt(int64_t handle, int64_t size = 0) {
    PlatformFile file(handle);
    file.opened_size_ = size;
    return file;
  }

  bool IsOpen() const { return handle_ != 0; }
  // The system's handle as a number, non-zero while open.
  int64_t Handle() const { return handle_; }
  // The file's size in bytes as Open found it (0 once it emptied the file), known without
  // asking the system again.
  int64_t OpenedSize() const { return opened_size_; }

  // Transfer up to count bytes, retrying interrupted and partial calls; a failing call
  // ends the transfer. The result is the total transferred (fewer at the end of the file).
  int64_t Read(void* data, int64_t count);
  int64_t Write(const void* data, int64_t count);
  // Reads as Read does, but from offset, in one call per piece where the system allows,
  // without a separate move (the position it leaves behind is unspecified).
  int64_t ReadAt(int64_t offset, void* data, int64_t count);
  // The new position from the start, or -1 when the system refuses the move.
  int64_t Seek(int64_t distance, PlatformOrigin origin);
  // Makes the written bytes durable; false when the system reports a failure.
  bool Sync();
  // False when the system reports a failure; the file is closed either way.
  bool Close();

 private:
  explicit PlatformFile(int64_t handle) : handle_(handle) {}
  int64_t handle_ = 0;
  int64_t opened_size_ = 0;
};
