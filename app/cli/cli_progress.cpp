#include "app/cli/cli_progress.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/cli/terminal_text.h"
#include "app/scene/access_failure.h"
#include "app/scene/scene_report.h"
#include "fs/exit_signals.h"
#include "fs/path_ops.h"
#include "fs/text_encoding.h"

namespace {
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr size_t kShownPathLength = 60;
}  // namespace

CliProgress::CliProgress(std::FILE* out, std::FILE* err, bool print_paths, bool show_progress, bool out_is_terminal,
                         char path_end)
    : out_(out),
      err_(err),
      print_paths_(print_paths),
      show_progress_(show_progress),
      out_is_terminal_(out_is_terminal),
      path_end_(path_end) {}

void CliProgress::ImageFound(const std::u16string& relative_path, ImageSize /*size*/) {
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
  std::fprintf(err_, "imagescan-cli: warning: %s\n",
               ShownText(AccessFailureText(Access::Read, path, system_error, Placing::AfterProgramName), show_progress_)
                   .c_str());
  Redraw();
}

void CliProgress::RenderStarted(const std::u16string& picture) {
  picture_ = picture;
  percent_ = 0;
  Redraw();
}

void CliProgress::PixelsRendered(int64_t done, int64_t total) {
  const int percent = static_cast<int>(std::min<int64_t>(done, total) * 100 / total);
  if (percent == percent_ && line_shown_) return;
  percent_ = percent;
  Redraw();
}

void CliProgress::SetInterruptNote(std::string line) {
  interrupt_note_ = std::move(line);
  SetLineShown(line_shown_);
}

void CliProgress::Finish() {
  Clear();
  if (!interrupt_note_.empty()) ExitSignalNote({});
}

void CliProgress::Redraw() {
  if (!show_progress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (line_shown_ && now - last_draw_ < kRedrawInterval) return;
  last_draw_ = now;
  // Keep the line short enough for one terminal row: the end of the folder's path.
  std::u16string shown = picture_.empty() ? current_ : picture_;
  if (shown.size() > kShownPathLength) shown = u"..." + shown.substr(shown.size() - kShownPathLength);
  // Marked shown first: a signal in the middle of drawing still ends the line.
  if (!line_shown_) SetLineShown(true);
  if (picture_.empty()) {
    std::fprintf(err_, "\r\033[K%s, %s: %s", TerminalText(Counted(folders_, u"folder")).c_str(),
                 TerminalText(Counted(images_, u"image")).c_str(), TerminalText(shown).c_str());
  } else {
    std::fprintf(err_, "\r\033[Krendering %s: %d%%", TerminalText(shown).c_str(), percent_);
  }
  std::fflush(err_);
}

void CliProgress::Clear() {
  if (!line_shown_) return;
  std::fputs("\r\033[K", err_);
  std::fflush(err_);
  SetLineShown(false);
}

void CliProgress::SetLineShown(bool shown) {
  line_shown_ = shown;
  if (!interrupt_note_.empty()) ExitSignalNote((shown ? "\n" : "") + interrupt_note_);
}
