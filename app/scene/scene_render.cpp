#include "app/scene/scene_render.h"

#include <algorithm>
#include <deque>
#include <utility>

#include "app/scene/leading_number.h"
#include "app/scene/scene_format.h"
#include "fs/child_process.h"
#include "fs/file_replacement.h"
#include "fs/text_encoding.h"
#include "image/image_measure.h"
#include "image/image_source.h"

// Lets the render hand its child to the stop while it runs.
class RenderStopWatch {
 public:
  RenderStopWatch(RenderStop* stop, ChildProcess& child) : stop_(stop) {
    if (stop_ == nullptr) return;
    const std::lock_guard lock(stop_->mutex_);
    stop_->child_ = &child;
    if (stop_->stopped_) child.End();
  }
  ~RenderStopWatch() {
    if (stop_ == nullptr) return;
    const std::lock_guard lock(stop_->mutex_);
    stop_->child_ = nullptr;
  }
  RenderStopWatch(const RenderStopWatch&) = delete;
  RenderStopWatch& operator=(const RenderStopWatch&) = delete;

 private:
  RenderStop* stop_;
};

void RenderStop::Stop() {
  const std::lock_guard lock(mutex_);
  stopped_ = true;
  if (child_ != nullptr) child_->End();
}

bool RenderStop::Stopped() const {
  const std::lock_guard lock(mutex_);
  return stopped_;
}

namespace {

// Lines POV-Ray printed, kept for the account of a failure: enough for its error and the
// lines around it, however long it talks.
constexpr size_t kKeptLines = 400;

// POV-Ray's option value for a path: quoted, since it splits its options at blanks.
// Empty for a path no quotes can hold.
std::u16string QuotedPath(const std::u16string& path) {
  for (const char16_t quote : {u'"', u'\''}) {
    if (path.find(quote) == std::u16string::npos) return quote + path + quote;
  }
  return {};
}

// Splits what POV-Ray writes into lines at CR or LF: its progress line is redrawn with
// CR alone.
class LineSplitter {
 public:
  template <typename Take>
  void Add(std::string_view bytes, Take&& take) {
    for (const char c : bytes) {
      if (c == '\r' || c == '\n') {
        if (!line_.empty()) take(std::exchange(line_, {}));
      } else {
        line_ += c;
      }
    }
  }
  template <typename Take>
  void Finish(Take&& take) {
    if (!line_.empty()) take(std::exchange(line_, {}));
  }

 private:
  std::string line_;
};

// A sound PNG of the size asked for in the temporary file: POV-Ray's exit code alone
// does not say that the picture is whole.
bool PictureIsWhole(const FileReplacement& replacement, const RenderSettings& settings) {
  PlatformFile file = replacement.WriteHandle();
  const int64_t size = file.Seek(0, PlatformOrigin::End);
  if (size <= 0) return false;
  ImageSource source = ImageSource::OverFile(std::move(file), static_cast<uint64_t>(size));
  const auto measured = MeasureImageSource(source);
  return measured && measured->width == settings.width && measured->height == settings.height;
}

}  // namespace

std::vector<std::u16string> PovRayArguments(const std::u16string& folder, const RenderSettings& settings) {
  std::vector<std::u16string> arguments = {
      u"+I" + std::u16string(kSceneFileName),
      u"+O-",  // the picture goes to standard output, which is the temporary file
      u"+FN",  // as PNG
      u"-D",   // no display
      u"+W" + TextFromUtf8(std::to_string(settings.width)),
      u"+H" + TextFromUtf8(std::to_string(settings.height)),
  };
  for (const std::u16string& library : {settings.include_folder, folder}) {
    if (library.empty()) continue;
    if (const std::u16string quoted = QuotedPath(library); !quoted.empty()) arguments.push_back(u"+L" + quoted);
  }
  return arguments;
}

bool ReadRenderedPixels(std::string_view line, int64_t& done, int64_t& total) {
  constexpr std::string_view kStart = "Rendered ", kOf = " of ", kEnd = " pixels";
  if (!line.starts_with(kStart)) return false;
  line.remove_prefix(kStart.size());
  const auto pixels_done = TakeLeadingNumber<int64_t>(line);
  if (!pixels_done || !line.starts_with(kOf)) return false;
  line.remove_prefix(kOf.size());
  const auto pixels = TakeLeadingNumber<int64_t>(line);
  if (!pixels || !line.starts_with(kEnd) || *pixels <= 0 || *pixels_done < 0) return false;
  done = *pixels_done;
  total = *pixels;
  return true;
}

std::vector<std::string> PovRayFailureLines(const std::vector<std::string>& lines, size_t count) {
  size_t first = lines.size() > count ? lines.size() - count : 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    // Its messages start at the line's start; what it lists indented (the library
    // paths, which hold the folder's own name) is no error, whatever its words.
    if (line.starts_with(' ')) continue;
    if (line.find("Error") != std::string::npos || line.find("error") != std::string::npos) {
      first = i;
      break;
    }
  }
  return {lines.begin() + static_cast<std::ptrdiff_t>(first),
          lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), first + count))};
}

RenderResult RenderSceneFile(const std::u16string& folder, const RenderSettings& settings, RenderObserver& observer,
                             RenderStop* stop) {
  RenderResult result;
  result.path = folder + kPictureFileName;
  FileReplacement replacement(folder, kPictureFileName);
  PlatformFile output = replacement.Error() == 0 ? replacement.WriteHandle() : PlatformFile();
  if (!output.IsOpen()) {
    result.outcome = RenderOutcome::NotWritten;
    result.system_error = replacement.Error() != 0 ? replacement.Error() : PlatformLastError();
    return result;
  }

  ChildProcess child({settings.program, PovRayArguments(folder, settings), folder}, &output);
  if (child.Error() != 0) {
    result.outcome = child.ProgramMissing() ? RenderOutcome::ProgramMissing : RenderOutcome::NotStarted;
    result.system_error = child.Error();
    return result;
  }
  std::deque<std::string> said;
  {
    const RenderStopWatch watch(stop, child);
    LineSplitter splitter;
    const auto take = [&](std::string line) {
      int64_t done = 0, total = 0;
      if (ReadRenderedPixels(line, done, total)) {
        observer.PixelsRendered(done, total);
        return;
      }
      said.push_back(std::move(line));
      if (said.size() > kKeptLines) said.pop_front();
    };
    for (std::string piece = child.Read(); !piece.empty(); piece = child.Read()) splitter.Add(piece, take);
    splitter.Finish(take);
    result.exit_status = child.Wait();
  }
  if (stop != nullptr && stop->Stopped()) {
    result.outcome = RenderOutcome::Stopped;
    return result;
  }
  if (result.exit_status != 0) {
    result.outcome = RenderOutcome::Failed;
    for (const std::string& line : PovRayFailureLines({said.begin(), said.end()}, 5)) {
      result.povray_lines.push_back(TextFromEscapedBytes(line));
    }
    return result;
  }
  if (!PictureIsWhole(replacement, settings)) {
    result.outcome = RenderOutcome::NoPicture;
    return result;
  }
  const bool synced = output.Sync();
  const int sync_error = synced ? 0 : PlatformLastError();
  output.Close();
  result.system_error = synced ? replacement.Commit() : sync_error;
  result.outcome = result.system_error == 0 ? RenderOutcome::Rendered : RenderOutcome::NotWritten;
  return result;
}
