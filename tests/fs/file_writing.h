#pragma once
// Numbered files written in a fresh folder, all closed after each test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "fs/files.h"
#include "support/temp_folder.h"

class FileWriting : public testing::Test {
 protected:
  void TearDown() override { FileCloseAll(); }
  uintmax_t DiskSize(const std::string& name) { return std::filesystem::file_size(dir.Path(name)); }
  TempFolder dir;
};
