// Reading a file's lines to its end in each text format, buffered or not, with and
// without reading to a zero byte. The first input byte picks the way; the rest is the
// file. Every read must make progress: a file of n bytes ends within n + 1 reads.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fs/files.h"
#include "fuzz_file.h"

namespace {

constexpr int kFormats[] = {0, TextFormat::Utf8, TextFormat::Ansi, TextFormat::Utf16};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FileFilesInit();
  MakeFuzzFile();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t way = data[0];
  const std::u16string path = FuzzFileWith(data + 1, size - 1);

  uint32_t open_flags = static_cast<uint32_t>(kFormats[way & 3]);
  if (way & 4) open_flags |= OpenFlag::Unbuffered;
  if (way & 8) open_flags |= OpenFlag::ByteOrderMark;
  const int read_format = kFormats[(way >> 4) & 3] | ((way & 0x40) ? ReadFlag::ToEnd : 0);

  const int64_t file = FileOpenAs(FileOpenMode::ReadOnly, kAutoNumber, path, open_flags);
  if (file == 0) std::abort();
  size_t reads = 0;
  while (FileAtEnd(file) == 0) {
    FileReadLine(file, read_format);
    if (++reads > size) {
      std::fprintf(stderr, "no end after %zu reads of a %zu-byte file\n", reads, size - 1);
      std::abort();
    }
  }
  FileClose(file);
  return 0;
}
