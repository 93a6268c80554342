#pragma once
// Rendering a folder's scene file into its picture, image_scan.png, with POV-Ray: run in
// the folder (POV-Ray reads files only below a few folders, the current one among them),
// without a display, with its include folder and the folder itself as library paths.
// POV-Ray writes the PNG into a hidden temporary file beside image_scan.png, which takes
// its place only when POV-Ray succeeded and the file holds a sound picture of the size
// asked for; a failed or stopped render leaves the old picture as it was.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char16_t kPictureFileName[] = u"image_scan.png";
inline constexpr char16_t kPovRayProgram[] = u"povray";

struct RenderSettings {
  std::u16string program = kPovRayProgram;  // a path, or a name looked up on PATH
  int width = 1280;
  int height = 720;
  std::u16string include_folder;  // POV-Ray's include files; empty: what its own settings say
};

// Told of the render's progress, on the thread that renders.
class RenderObserver {
 public:
  virtual ~RenderObserver() = default;
  // POV-Ray has rendered `done` of `total` pixels.
  virtual void PixelsRendered(int64_t done, int64_t total) = 0;
};

// Stops a render from another thread: the POV-Ray it runs is ended, with all it started.
class RenderStop {
 public:
  void Stop();
  bool Stopped() const;

 private:
  friend class RenderStopWatch;
  mutable std::mutex mutex_;
  bool stopped_ = false;
  class ChildProcess* child_ = nullptr;
};

enum class RenderOutcome {
  Rendered,        // the new picture is in place
  ProgramMissing,  // no such program
  NotStarted,      // the program could not be run (system_error says why)
  Failed,          // POV-Ray failed (exit_status; povray_lines say why)
  NoPicture,       // POV-Ray said it succeeded, but wrote no sound picture of the size asked
  NotWritten,      // the picture could not be written or put in place (system_error)
  Stopped,         // stopped by the caller
};

struct RenderResult {
  RenderOutcome outcome = RenderOutcome::NotStarted;
  std::u16string path;  // the picture, <folder>image_scan.png
  int system_error = 0;
  int exit_status = 0;
  // The first lines of POV-Ray's own account of its failure.
  std::vector<std::u16string> povray_lines;
};

// Renders <folder>image_scan.pov (`folder` ends in a separator) into
// <folder>image_scan.png.
RenderResult RenderSceneFile(const std::u16string& folder, const RenderSettings& settings, RenderObserver& observer,
                             RenderStop* stop = nullptr);

// The options POV-Ray is run with, in the folder.
std::vector<std::u16string> PovRayArguments(const std::u16string& folder, const RenderSettings& settings);

// "Rendered N of M pixels (P%)": N and M, or false for another line.
bool ReadRenderedPixels(std::string_view line, int64_t& done, int64_t& total);

// What POV-Ray said that tells why it failed: from the first line that names an error
// (not counting indented ones), at most `count` lines; where none does, its last
// `count` lines.
std::vector<std::string> PovRayFailureLines(const std::vector<std::string>& lines, size_t count);
