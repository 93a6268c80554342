#pragma once
// A fresh folder per test, removed with everything in it afterwards, and small helpers
// to put bytes into files and take them out without the code under test.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fs/text_encoding.h"

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "imagescan-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }

  // The byte path of an entry inside, and the same path as the program's string.
  std::filesystem::path Path(const std::string& name) const { return path_ / name; }
  std::u16string Text(const std::string& name) const { return TextFromEscapedBytes(Path(name).string()); }
  std::u16string Text() const { return TextFromEscapedBytes(path_.string()); }

  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
};
