#pragma once
// A scratch file of the fuzz target's own, for the routes that read from a file: made at
// start-up, removed at exit, rewritten with each input.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fs/text_encoding.h"

inline std::string& FuzzFilePath() {
  static std::string path;
  return path;
}

inline void MakeFuzzFile() {
  char pattern[] = "/tmp/imagescan-fuzz-XXXXXX";
  const int file = mkstemp(pattern);
  if (file < 0) std::abort();
  close(file);
  FuzzFilePath() = pattern;
  std::atexit([] { unlink(FuzzFilePath().c_str()); });
}

// Puts the input into the scratch file and gives its path as the program's string.
inline std::u16string FuzzFileWith(const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(FuzzFilePath().c_str(), "wb");
  if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
  return TextFromEscapedBytes(FuzzFilePath());
}
