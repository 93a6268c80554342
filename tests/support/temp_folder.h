#pragma once
// A fresh folder per test, removed with everything in it afterwards, and small helpers
// to put bytes into files and take them out without the code under test.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "fs/text_encoding.h"

class TempFolder {
 public:
  TempFolder() {
    std::error_code error;
    const std::filesystem::path parent = std::filesystem::temp_directory_path(error);
    std::random_device random;
    // A name nobody else holds: creating it fails for one that exists.
    for (int attempt = 0; attempt < 100 && !error; ++attempt) {
      const std::filesystem::path path = parent / ("imagescan-" + std::to_string(random()));
      if (std::filesystem::create_directory(path, error)) {
        path_ = path;
        break;
      }
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }

  // UTF-8 from the system's wide names on Windows; the bytes as they are on Linux.
  static std::u16string TextOf(const std::filesystem::path& path) {
    const std::u8string bytes = path.u8string();
    return TextFromEscapedBytes({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  }

  // The byte path of an entry inside, and the same path as the program's string.
  std::filesystem::path Path(const std::string& name) const { return path_ / name; }
  std::u16string Text(const std::string& name) const { return TextOf(Path(name)); }
  std::u16string Text() const { return TextOf(path_); }

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
