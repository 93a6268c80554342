#pragma once
// What imagescan-cli shows while a scan or a render runs: each image's relative path on `out`, ended
// by `path_end`, and, when `err` is a terminal, one progress line there, redrawn in place
// (the folders and images so far, or the share of the picture rendered).
// Names go to a terminal with their control characters escaped, elsewhere byte for byte.
// Once `out` refuses a write (a closed pipe) no more paths are printed.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/scene/image_scan.h"
#include "app/scene/scene_render.h"

class CliProgress : public ScanObserver, public RenderObserver {
 public:
  // `show_progress`: `err` is a terminal.
  CliProgress(std::FILE* out, std::FILE* err, bool print_paths, bool show_progress, bool out_is_terminal = false,
              char path_end = '\n');
  void ImageFound(const std::u16string& relative_path, ImageSize size) override;
  void FolderEntered(const std::u16string& directory) override;
  // A warning on `err`.
  void EntryUnreadable(const std::u16string& path, int system_error) override;
  // From the first call on, the line tells how much of `picture` POV-Ray has rendered.
  void RenderStarted(const std::u16string& picture);
  void PixelsRendered(int64_t done, int64_t total) override;
  // What an exit signal leaves on `err` from now on until Finish: `line`, after ending
  // the progress line where one is shown, so that it stays above.
  void SetInterruptNote(std::string line);
  // Clears the progress line.
  void Finish();

 private:
  void Redraw();
  void Clear();
  void SetLineShown(bool shown);

  std::FILE* out_;
  std::FILE* err_;
  bool print_paths_;
  bool show_progress_;
  bool out_is_terminal_;
  char path_end_;
  bool line_shown_ = false;
  int64_t folders_ = 0;
  int64_t images_ = 0;
  std::u16string current_;
  std::u16string picture_;  // being rendered; empty while scanning
  int percent_ = 0;
  std::string interrupt_note_;
  std::chrono::steady_clock::time_point last_draw_{};
};
