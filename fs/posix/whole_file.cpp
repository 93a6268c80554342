#include "fs/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "fs/text_encoding.h"

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// Fills the whole buffer; false on an error or when the file ends early (it shrank).
bool ReadFully(int fd, uint8_t* out, size_t size) {
  constexpr size_t kChunk = size_t{1} << 30;
  while (size > 0) {
    const ssize_t got = read(fd, out, size < kChunk ? size : kChunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return false;
    out += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

}  // namespace

std::optional<FileBytes> ReadWholeFile(const std::u16string& path) {
  const std::string name = EscapedBytesFromText(path);
  if (name.empty() || name.find('\0') != std::string::npos) return std::nullopt;
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused just below.
  Descriptor file(open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) return std::nullopt;
  struct stat info {};
  if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    return std::nullopt;
  }
  const auto size = static_cast<uint64_t>(info.st_size);
  if (size >= kWholeFileLimit) return std::nullopt;

  FileBytes bytes;
  bytes.size = static_cast<size_t>(size);
  try {
    bytes.data = std::make_unique_for_overwrite<uint8_t[]>(bytes.size);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (!ReadFully(file.get(), bytes.data.get(), bytes.size)) return std::nullopt;
  return bytes;
}
