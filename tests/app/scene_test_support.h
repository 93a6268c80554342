#pragma once
// Starts the file and image layers for scene tests, and runs a scan into a file of its
// own so that its lines can be compared as bytes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/scene/image_scan.h"
#include "app/scene/scene_format.h"
#include "fs/files.h"
#include "fs/listings.h"
#include "image/image_setup.h"
#include "support/temp_folder.h"

// Every image and folder the scan reports, in order.
class RecordingObserver : public ScanObserver {
 public:
  void ImageFound(const std::u16string& relative_path, ImageSize) override { images.push_back(relative_path); }
  void FolderEntered(const std::u16string& directory) override { folders.push_back(directory); }
  std::vector<std::u16string> images;
  std::vector<std::u16string> folders;
};

// Writes the line of every image reported to `file`, as the scene's writer does, and
// passes the reports on.
class LineWriter : public ScanObserver {
 public:
  LineWriter(int64_t file, ScanObserver& observer) : file_(file), observer_(observer) {}
  void ImageFound(const std::u16string& relative_path, ImageSize size) override {
    FileWriteLine(file_, AddImageLine(relative_path, size.width, size.height), TextFormat::Ansi);
    observer_.ImageFound(relative_path, size);
  }
  void FolderEntered(const std::u16string& directory) override { observer_.FolderEntered(directory); }
  bool ScanContinues() override { return observer_.ScanContinues(); }
  void EntryUnreadable(const std::u16string& path, int system_error) override {
    observer_.EntryUnreadable(path, system_error);
  }

 private:
  int64_t file_;
  ScanObserver& observer_;
};

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FileFilesInit();
    ImageLayerStart();
  }
  void TearDown() override {
    ImageLayerStop();
    ListingCloseAll();
    FileFilesEnd();
  }

  // The bytes the scan of `directory` (also its base) writes, and whether the scan's
  // file could be made.
  std::pair<std::string, bool> ScanToText(const std::u16string& directory, ScanObserver& observer,
                                          const ScanOptions& options = {}) {
    const int64_t file = FileCreate(kAutoNumber, output_.Text("lines"), 0);
    if (file == 0) return {"", false};
    LineWriter lines(file, observer);
    ImageScan(directory, directory, lines, options);
    FileClose(file);
    return {output_.Get("lines"), true};
  }

 private:
  TempFolder output_;
};

class ImageScanTest : public SceneTest {};
