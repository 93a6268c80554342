// imagescan-cli --render with a stand-in POV-Ray (support/povray_standin.cpp): the scene
// chosen for the version it names, the options it is given, its failures, a missing
// program, and an interrupted render.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/scene/povray_version.h"
#include "app/scene/scene_format.h"
#include "cli/posix/cli_run.h"
#include "fs/text_encoding.h"
#include "image/image_measure.h"
#include "image/image_setup.h"
#include "support/posix/process_gone.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "support/wait_until.h"

namespace {

namespace stdfs = std::filesystem;

// A folder with an image, and a copy of the stand-in named for what it is to do.
struct RenderSetup {
  TempFolder folder, tools, scratch;
  std::string standin;
  explicit RenderSetup(const std::string& name) : standin(tools.Path(name).string()) {
    folder.Put("a.png", EncodeTestPng(8, 4));
    stdfs::copy_file(IMAGESCAN_POVRAY_STANDIN, standin);
  }
  Outcome Render(const std::string& options = "") const {
    return RunCli(
        "--quiet --render=64x36 --povray=" + Quote(standin) + " " + options + " " + Quote(folder.Path("").string()),
        scratch);
  }
  std::string Log() const {
    std::ifstream in(standin + ".log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> found;
    for (const auto& entry : stdfs::directory_iterator(folder.Path(""))) {
      if (entry.path().filename().string().starts_with(".image_scan.")) found.push_back(entry.path().filename());
    }
    return found;
  }
};

bool SceneIsFor37(const TempFolder& folder) { return folder.Get("image_scan.pov").starts_with(kSceneHeader37); }

TEST(CliRender, WritesTheSceneThePovRayReadsAndRendersItInTheFolder) {
  ImageLayerStart();
  RenderSetup pov37("povray37-render");
  const Outcome run = pov37.Render();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(SceneIsFor37(pov37.folder));
  const auto size = MeasureImageFile(pov37.folder.Text("image_scan.png"));
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 64);
  EXPECT_EQ(size->height, 36);
  EXPECT_TRUE(Contains(run.err, "rendered " + pov37.folder.Path("image_scan.png").string() + " (64 x 36) in "))
      << run.err;
  EXPECT_TRUE(pov37.Leftovers().empty());
  // Run in the folder, with the options it needs; the folder itself quoted, as POV-Ray
  // splits its options at blanks.
  const std::string log = pov37.Log();
  const std::string folder = stdfs::canonical(pov37.folder.Path("")).string();
  EXPECT_TRUE(log.starts_with(folder + "\n+Iimage_scan.pov\n+O-\n+FN\n-D\n+W64\n+H36\n")) << log;
  EXPECT_TRUE(Contains(log, "\n+L\"" + pov37.folder.Path("").string() + "\"\n")) << log;

  // A 3.8 gets the standard scene; a scene chosen is written as chosen.
  RenderSetup pov38("povray38-render");
  EXPECT_EQ(pov38.Render().status, 0);
  EXPECT_FALSE(SceneIsFor37(pov38.folder));
  EXPECT_EQ(pov38.Render("--pov-version=3.7").status, 0);
  EXPECT_TRUE(SceneIsFor37(pov38.folder));
  ImageLayerStop();
}

TEST(CliRender, AFailedRenderKeepsThePreviousPictureAndExitsWithFour) {
  for (const std::string name : {"povray37-fail", "povray37-nopicture"}) {
    RenderSetup setup(name);
    setup.folder.Put("image_scan.png", "the picture of an earlier run");
    const Outcome run = setup.Render();
    EXPECT_EQ(run.status, 4) << name;
    EXPECT_EQ(setup.folder.Get("image_scan.png"), "the picture of an earlier run") << name;
    EXPECT_TRUE(setup.Leftovers().empty()) << name;
    EXPECT_TRUE(SceneIsFor37(setup.folder)) << name;
    const std::string picture = setup.folder.Path("image_scan.png").string();
    if (name.ends_with("-fail")) {
      // POV-Ray's own words first, from its error on, named as its.
      EXPECT_TRUE(Contains(run.err,
                           "imagescan-cli: POV-Ray: File 'image_scan.pov' line 15: Parse Error: An array declaration "
                           "must have at\nimagescan-cli: POV-Ray:  least one dimension\n"))
          << run.err;
      EXPECT_FALSE(Contains(run.err, "Stand-in")) << run.err;
      EXPECT_FALSE(Contains(run.err, "terrors")) << "a library path is no error";
      EXPECT_TRUE(Contains(run.err, "imagescan-cli: cannot render " + picture + ": POV-Ray failed (exit status 1)\n"))
          << run.err;
    } else {
      EXPECT_TRUE(Contains(run.err, "cannot render " + picture + ": POV-Ray wrote no whole PNG picture")) << run.err;
    }
  }

  // The standard scene asked for a 3.7 is written, and not rendered.
  RenderSetup old("povray37-render");
  const Outcome too_new = old.Render("--pov-version=3.8");
  EXPECT_EQ(too_new.status, 4);
  EXPECT_TRUE(Contains(too_new.err, "cannot render: POV-Ray 3.7 cannot read the scene for POV-Ray 3.8")) << too_new.err;
  EXPECT_FALSE(SceneIsFor37(old.folder));
  EXPECT_FALSE(stdfs::exists(old.folder.Path("image_scan.png")));
  EXPECT_TRUE(old.Log().empty());
}

TEST(CliRender, APovRayThatNeverFinishesItsVersionIsEndedAndNamesNone) {
  RenderSetup mute("povray38-mute");
  const PovRayVersion version = QueryPovRayVersion(TextFromUtf8(mute.standin), std::chrono::milliseconds(200));
  EXPECT_EQ(version.system_error, 0);
  EXPECT_FALSE(version.major);
  EXPECT_EQ(SceneVersionFor(version, std::nullopt), PovVersion::Pov37);
}

TEST(CliRender, AMissingPovRayIsNamedAndTheSceneStillWritten) {
  RenderSetup setup("povray37-render");
  const std::string folder = Quote(setup.folder.Path("").string());
  const Outcome on_path =
      RunCli("--quiet --render " + folder, setup.scratch, "PATH=" + Quote(setup.tools.Path("").string()) + " ");
  EXPECT_EQ(on_path.status, 4);
  EXPECT_TRUE(Contains(on_path.err,
                       "imagescan-cli: cannot render: no povray found on PATH (Debian: apt install "
                       "povray povray-includes)\n"))
      << on_path.err;
  EXPECT_TRUE(stdfs::exists(setup.folder.Path("image_scan.pov")));
  const Outcome given = RunCli("--quiet --render --povray=/nonexistent/povray " + folder, setup.scratch);
  EXPECT_EQ(given.status, 4);
  EXPECT_TRUE(Contains(given.err, "imagescan-cli: cannot render: /nonexistent/povray: no such program\n")) << given.err;

  // Sizes that are none are mistakes on the command line.
  for (const std::string size : {"0x10", "10x", "x10", "10", "10x10x", "ax7", "99999x10"}) {
    EXPECT_EQ(RunCli("--render=" + size + " " + folder, setup.scratch).status, 2) << size;
  }
}

// The process whose command line starts with `program`, or 0.
pid_t ProcessOf(const std::string& program) {
  for (const auto& entry : stdfs::directory_iterator("/proc")) {
    std::ifstream in(entry.path() / "cmdline", std::ios::binary);
    std::string command_line;
    std::getline(in, command_line, '\0');
    if (command_line == program) return std::stoi(entry.path().filename().string());
  }
  return 0;
}

TEST(CliRender, AnInterruptEndsPovRayAndLeavesThePreviousPicture) {
  for (const int number : {SIGINT, SIGTERM}) {
    RenderSetup setup("povray37-hang");
    setup.folder.Put("image_scan.png", "the picture of an earlier run");
    const int err = open(setup.scratch.Path("stderr").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const pid_t pid =
        StartCli({"--quiet", "--render", "--povray=" + setup.standin, setup.folder.Path("").string()}, err, err);
    close(err);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitUntil([&] { return Contains(setup.Log(), "started\n"); }));
    EXPECT_TRUE(Contains(setup.Log(), "\n+W1280\n+H720\n")) << "the default size";
    const pid_t standin = ProcessOf(setup.standin);
    ASSERT_GT(standin, 0);
    kill(pid, number);
    EXPECT_EQ(WaitFor(pid), 128 + number);
    EXPECT_TRUE(WaitUntil([&] { return ProcessGone(standin); }));
    EXPECT_EQ(setup.folder.Get("image_scan.png"), "the picture of an earlier run");
    EXPECT_TRUE(setup.Leftovers().empty());
    EXPECT_TRUE(
        Contains(setup.scratch.Get("stderr"),
                 "imagescan-cli: interrupted; " + setup.folder.Path("image_scan.png").string() + " left as it was\n"))
        << setup.scratch.Get("stderr");
  }
}

}  // namespace
