#pragma once
// Whole files read from a fresh folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fs/whole_file.h"
#include "support/temp_folder.h"

class WholeFile : public ::testing::Test {
 protected:
  std::u16string Path(const std::string& name) const { return dir_.Text(name); }
  TempFolder dir_;
  const std::filesystem::path folder_ = dir_.Path("");
};
