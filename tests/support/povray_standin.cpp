// A stand-in for POV-Ray in the render tests. What it does follows from its own file
// name (or, when that is not "povray3...", from its folder's name, for a copy named
// plain "povray" to be found on PATH), so that tests running at once each use a copy of
// their own:
//   ...37... or ...38...  the version it names for --version (3.7.0.10 or 3.8.0)
//   -render    says its progress as POV-Ray does and writes a PNG of +W x +H to
//              standard output (+O-)
//   -fail      talks, writes part of a picture, names a parse error and exits with 1
//   -nopicture exits with 0 having written nothing
//   -hang      says it started and waits to be ended
//   -mute      answers --version with a first line and then waits to be ended
// Each run but --version writes its folder and arguments, one a line, to the file named
// as the program (without ".exe") with ".log" added (-hang adds "started" once it waits).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/standard_output.h"
#include "support/test_images.h"

namespace {

int Side(int argc, char** argv, const std::string& option, int otherwise) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind(option, 0) == 0) return std::stoi(argument.substr(option.size()));
  }
  return otherwise;
}

}  // namespace

int main(int argc, char** argv) {
  // Found on PATH it is called by its name alone; where the system tells its own file,
  // that says which copy it is.
  std::error_code unknown;
  const std::filesystem::path own = std::filesystem::read_symlink("/proc/self/exe", unknown);
  std::string self = unknown ? argv[0] : own.string();
  if (self.ends_with(".exe")) self.resize(self.size() - 4);
  const std::filesystem::path path(self);
  std::string name = path.filename().string();
  if (!name.starts_with("povray3")) name = path.parent_path().filename().string();
  if (argc == 2 && std::string(argv[1]) == "--version") {
    std::fprintf(stderr, "povray: cannot open the user configuration file\n");
    if (name.find("-mute") != std::string::npos) {
      std::fflush(stderr);
      for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
    }
    std::fprintf(stderr, "POV-Ray %s\n\nThis is a stand-in.\n",
                 name.find("38") != std::string::npos ? "3.8.0" : "3.7.0.10.unofficial");
    return 0;
  }
  {
    std::ofstream log(self + ".log", std::ios::binary);
    log << std::filesystem::current_path().string() << "\n";
    for (int i = 1; i < argc; ++i) log << argv[i] << "\n";
  }
  const int width = Side(argc, argv, "+W", 800), height = Side(argc, argv, "+H", 600);
  const std::string picture = EncodeTestPng(width, height);
  std::fprintf(stderr, "Persistence of Vision(tm) Ray Tracer Stand-in\n==== [Rendering...] ====\n");
  if (name.find("-hang") != std::string::npos) {
    std::fprintf(stderr, "Rendered 1 of %d pixels (0%%)\r", width * height);
    std::fflush(stderr);
    // Said last: after it, nothing is written that a pipe closed meanwhile would refuse.
    std::ofstream(self + ".log", std::ios::binary | std::ios::app) << "started\n";
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  if (name.find("-fail") != std::string::npos) {
    WriteStandardOutput(std::string_view(picture).substr(0, picture.size() / 2));
    std::fprintf(stderr,
                 "  Library paths:\n    /srv/terrors/\n"
                 "File 'image_scan.pov' line 15: Parse Error: An array declaration must have at\n"
                 " least one dimension\nFatal error in parser: Cannot parse input.\nRender failed\n");
    return 1;
  }
  if (name.find("-nopicture") != std::string::npos) return 0;
  for (int done = 0; done <= 4; ++done) {
    std::fprintf(stderr, "Rendered %d of %d pixels (%d%%)\r", width * height * done / 4, width * height, done * 25);
  }
  std::fprintf(stderr, "\nRender Statistics\n");
  return WriteStandardOutput(picture) ? 0 : 1;
}
