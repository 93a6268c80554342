#include "app/cli/cli_progress.h"

#include <cstdio>

#include "app/cli/terminal_text.h"
#include "fs/path_ops.h"
#include "fs/text_encoding.h"

namespace {
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr size_t kShownPathLength = 60;
}  // namespace

CliProgress::CliProgress(std::FILE* out, std::FILE* err, bool print_paths, bool show_progress,
                         bool out_is_terminal, char path_end)
    : out_(out),
      err_(err),
      print_paths_(print_paths),
      show_progress_(show_progress),
      out_is_terminal_(out_is_terminal),
      path_end_(path_end) {}

void CliProgress::ImageFound(const std::u16string& relative_path) {
  ++images_;
  if (print_paths_) {
    Clear();
    const std::string bytes = ShownText(relative_path, out_is_terminal_);
    std::fwrite(bytes.data(), 1, bytes.size(), out_);
    std::fputc(path_end_, out_);
    // Whoever read the paths has gone (`| head`): the scene is still finished.
    if (std::fflush(out_) != 0 || std::ferror(out_)) print_paths_ = false;
  }
  Redraw();
}

void CliProgress::FolderEntered(const std::u16string& directory) {
  ++folders_;
  current_ = directory;
  Redraw();
}

void CliProgress::EntryUnreadable(const std::u16string& path, int system_error) {
  Clear();
  std::fprintf(err_, "imagescan-cli: warning: cannot read %s: %s\n", ShownText(path, show_progress_).c_str(),
               EscapedBytesFromText(SystemErrorText(system_error)).c_str());
  Redraw();
}

void CliProgress::Finish() { Clear(); }

void CliProgress::Redraw() {
  if (!show_progress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (line_shown_ && now - last_draw_ < kRedrawInterval) return;
  last_draw_ = now;
  // Keep the line short enough for one terminal row: the end of the folder's path.
  std::u16string shown = current_;
  if (shown.size() > kShownPathLength) shown = u"..." + shown.substr(shown.size() - kShownPathLength);
  std::fprintf(err_, "\r\033[K%lld folders, %lld images: %s", static_cast<long long>(folders_),
               static_cast<long long>(images_), TerminalText(shown).c_str());
  std::fflush(err_);
  line_shown_ = true;
}

void CliProgress::Clear() {
  if (!line_shown_) return;
  std::fputs("\r\033[K", err_);
  std::fflush(err_);
  line_shown_ = false;
}
