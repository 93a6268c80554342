// Runs the imagescan-cli program as a user would and checks what it says and writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/scene/scene_format.h"
#include "support/deep_folders.h"
#include "support/scene_expectations.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "tests/cli/posix/cli_run.h"

namespace {

namespace stdfs = std::filesystem;

// Permission bits bind root only without its privileges, so as root the program runs as
// nobody, with `folder` opened up to it. The shell prefix for RunCli, or none when the
// program cannot run that way or cannot reach the folder (a build or a temporary folder
// inside a private home); the caller then skips.
std::optional<std::string> Unprivileged(const TempFolder& folder, const TempFolder& scratch) {
  if (geteuid() != 0) return "";
  const std::string prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  chmod(folder.Path("").c_str(), 0777);
  // A scan of the still empty folder proves both.
  if (RunCli("--quiet " + Quote(folder.Path("").string()), scratch, prefix).status != 0) return std::nullopt;
  std::filesystem::remove(folder.Path("image_scan.pov"));
  return prefix;
}

TEST(Cli, WritesTheSceneAndListsTheImages) {
  TempFolder folder, scratch;
  stdfs::create_directories(folder.Path("trip"));
  folder.Put("trip/a.png", EncodeTestPng(64, 32));
  const Outcome run = RunCli(Quote(folder.Path("").string()), scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "trip/a.png\n");
  EXPECT_TRUE(Contains(run.err, "wrote 1 image to " + folder.Path("image_scan.pov").string())) << run.err;
  EXPECT_EQ(folder.Get("image_scan.pov"), std::string(kSceneHeader) + "\r\n" +
                                              "add_image ( \"trip/a.png\", 64, 32 ) \r\n" + std::string(kSceneFooter) +
                                              "\r\n");
  // Quiet: the same file, no paths. Not a terminal: no progress line either.
  const Outcome quiet = RunCli("--quiet " + Quote(folder.Path("trip").string()), scratch);
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.out, "");
  EXPECT_FALSE(Contains(quiet.err, "\r"));
}

TEST(Cli, CommandLineMistakesExitWithTwo) {
  TempFolder folder, scratch;
  folder.Put("file.png", EncodeTestPng(2, 2));
  for (const std::string& arguments :
       {std::string(), std::string("--frobnicate ."), Quote(folder.Path("file.png").string()),
        Quote(folder.Path("missing").string())}) {
    const Outcome run = RunCli(arguments, scratch);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_FALSE(run.err.empty()) << arguments;
  }
  EXPECT_TRUE(Contains(RunCli(Quote(folder.Path("file.png").string()), scratch).err, "not a folder"));
  // A mistake is named in one line, with the way to the help, not buried under it.
  EXPECT_EQ(RunCli("--frobnicate " + Quote(folder.Path("").string()), scratch).err,
            "imagescan-cli: unknown option '--frobnicate'\n"
            "Try 'imagescan-cli --help' for more information.\n");
  EXPECT_EQ(RunCli("", scratch).err,
            "imagescan-cli: no folder given\nTry 'imagescan-cli --help' for more information.\n");
  EXPECT_FALSE(stdfs::exists(folder.Path("image_scan.pov")));

  const Outcome help = RunCli("--help", scratch);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, kCliUsage);
  const Outcome version = RunCli("--version", scratch);
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(Contains(version.out, "imagescan-cli "));
}

TEST(Cli, WritesTheSceneForThePovVersionAsked) {
  TempFolder folder, scratch;
  stdfs::create_directories(folder.Path("trip"));
  folder.Put("trip/a.png", EncodeTestPng(64, 32));
  const std::string lines = "add_image ( \"trip/a.png\", 64, 32 ) \r\n";
  const std::string path = Quote(folder.Path("").string());

  EXPECT_EQ(RunCli("--quiet --pov-version=3.7 " + path, scratch).status, 0);
  EXPECT_EQ(folder.Get("image_scan.pov"),
            std::string(kSceneHeader37) + "\r\n" + lines + std::string(kSceneFooter37) + "\r\n");
  EXPECT_EQ(RunCli("--quiet --pov-version=3.8 " + path, scratch).status, 0);
  EXPECT_EQ(folder.Get("image_scan.pov"),
            std::string(kSceneHeader) + "\r\n" + lines + std::string(kSceneFooter) + "\r\n");

  // Any other version is a mistake on the command line that names the versions there are.
  stdfs::remove(folder.Path("image_scan.pov"));
  for (const std::string option : {"--pov-version=3.6", "--pov-version=", "--pov-version", "--pov-version=3.7.0"}) {
    const Outcome run = RunCli(option + " " + path, scratch);
    EXPECT_EQ(run.status, 2) << option;
    EXPECT_TRUE(Contains(run.err, "3.8 or 3.7")) << run.err;
  }
  EXPECT_FALSE(stdfs::exists(folder.Path("image_scan.pov")));
}

TEST(Cli, ASceneFileThatCannotBeWrittenExitsWithOneAndLeavesNothingBehind) {
  TempFolder folder, scratch;
  stdfs::create_directories(folder.Path("pics/image_scan.pov"));
  folder.Put("pics/a.gif", EncodeTestGif(4, 4));
  const Outcome run = RunCli(Quote(folder.Path("pics").string()), scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, folder.Path("pics/image_scan.pov").string())) << run.err;
  EXPECT_TRUE(Contains(run.err, "Is a directory")) << run.err;
  EXPECT_EQ(std::distance(stdfs::directory_iterator(folder.Path("pics")), {}), 2);  // a.gif, the folder

  // A folder that fails does not keep the next one from being written.
  stdfs::create_directory(folder.Path("good"));
  const Outcome both = RunCli(Quote(folder.Path("pics").string()) + " " + Quote(folder.Path("good").string()), scratch);
  EXPECT_EQ(both.status, 1);
  EXPECT_EQ(folder.Get("good/image_scan.pov"), Scene(""));
}

}  // namespace

namespace {

TEST(Cli, AFullDiskIsReportedAndTheOldSceneStays) {
  TempFolder folder, scratch;
  stdfs::create_directory(folder.Path("pics"));
  folder.Put("pics/a.png", EncodeTestPng(4, 4));
  folder.Put("pics/image_scan.pov", "the scene of an earlier run");
  // A file size limit below the scene's size stands in for a full disk.
  const Outcome run = RunCli("--quiet " + Quote(folder.Path("pics").string()), scratch, "ulimit -f 2; ");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "File too large")) << run.err;
  EXPECT_EQ(folder.Get("pics/image_scan.pov"), "the scene of an earlier run");
  EXPECT_EQ(std::distance(stdfs::directory_iterator(folder.Path("pics")), {}), 2);
}

TEST(Cli, AnUnreadableFolderKeepsTheOldSceneAndUnreadableEntriesAreCounted) {
  TempFolder folder, scratch;
  const auto as_user = Unprivileged(folder, scratch);
  if (!as_user) GTEST_SKIP() << "an unprivileged user cannot run the program on a folder of the test's";
  stdfs::create_directories(folder.Path("pics/locked"));
  folder.Put("pics/a.png", EncodeTestPng(4, 4));
  folder.Put("pics/locked/b.png", EncodeTestPng(2, 2));
  folder.Put("pics/image_scan.pov", "the scene of an earlier run");
  // The user's own scene: another's could not be given to the user's new one.
  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.Path("pics/image_scan.pov").c_str(), 65534, 65534), 0);
  }
  chmod(folder.Path("pics").c_str(), 0333);  // new files may go in, but it cannot be listed

  const Outcome denied = RunCli(Quote(folder.Path("pics").string()), scratch, *as_user);
  EXPECT_EQ(denied.status, 1);
  EXPECT_TRUE(Contains(denied.err, "cannot read " + folder.Path("pics/").string() + ": Permission denied"))
      << denied.err;
  chmod(folder.Path("pics").c_str(), 0777);
  EXPECT_EQ(folder.Get("pics/image_scan.pov"), "the scene of an earlier run");
  EXPECT_EQ(std::distance(stdfs::directory_iterator(folder.Path("pics")), {}), 3);

  // Below the scanned folder: a folder that cannot be listed and one whose path is too
  // long are warnings, and the scene holds what could be read.
  chmod(folder.Path("pics/locked").c_str(), 0);
  MakeDeepFolders(folder.Path("pics"), 17);  // 17 names of 250 bytes: no path reaches the last
  const Outcome partial = RunCli(Quote(folder.Path("pics").string()), scratch, *as_user);
  RemoveDeepFolders(folder.Path("pics"), 17);
  chmod(folder.Path("pics/locked").c_str(), 0755);
  EXPECT_EQ(partial.status, 3) << partial.err;
  EXPECT_EQ(partial.out, "a.png\n");
  EXPECT_TRUE(
      Contains(partial.err, "warning: cannot read " + folder.Path("pics/locked/").string() + ": Permission denied"))
      << partial.err;
  EXPECT_TRUE(Contains(partial.err, "File name too long")) << partial.err;
  EXPECT_TRUE(Contains(partial.err, "wrote 1 image to " + folder.Path("pics/image_scan.pov").string() + " in "))
      << partial.err;
  EXPECT_TRUE(Contains(partial.err, "warning: 2 folders or files could not be read and were left out")) << partial.err;
  EXPECT_EQ(folder.Get("pics/image_scan.pov"), Scene("add_image ( \"a.png\", 4, 4 ) \r\n"));
}

TEST(Cli, ASignalRemovesTheTemporaryFileAndKeepsTheOldScene) {
  TempFolder folder, scratch;
  // More paths than a pipe holds: with nobody reading, the scan waits in mid-scene.
  constexpr int kImages = 400;
  for (int i = 0; i < kImages; ++i) folder.Put(std::string(200, 'n') + std::to_string(i) + ".png", "");
  folder.Put("image_scan.pov", "the scene of an earlier run");
  for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGXCPU, SIGKILL}) {
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
    const pid_t pid = StartCli({folder.Path("").string()}, ends[1]);
    close(ends[1]);
    ASSERT_GT(pid, 0);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Temporaries(folder).empty() && std::chrono::steady_clock::now() < give_up) usleep(5000);
    kill(pid, number);
    const int status = WaitFor(pid);
    close(ends[0]);
    EXPECT_EQ(status, number == SIGKILL ? -SIGKILL : 128 + number) << strsignal(number);
    EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run") << strsignal(number);
    EXPECT_EQ(Temporaries(folder).size(), number == SIGKILL ? 1u : 0u) << strsignal(number);
  }
  // What SIGKILL left is no image and does not stand in the way of the next run.
  const Outcome next = RunCli("--quiet " + Quote(folder.Path("").string()), scratch);
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_TRUE(Contains(next.err, "wrote " + std::to_string(kImages) + " images")) << next.err;
  EXPECT_FALSE(Contains(folder.Get("image_scan.pov"), ".tmp"));
}

TEST(Cli, AClosedOutputEndsThePathsButNotTheScene) {
  TempFolder folder;
  folder.Put("a.png", EncodeTestPng(3, 2));
  folder.Put("b.gif", EncodeTestGif(5, 4));
  int ends[2];
  ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
  close(ends[0]);  // as `imagescan-cli DIR | head` once head is done
  const pid_t pid = StartCli({folder.Path("").string()}, ends[1]);
  close(ends[1]);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitFor(pid), 0);
  const std::string scene = folder.Get("image_scan.pov");
  EXPECT_TRUE(Contains(scene, Line("a.png", 3, 2))) << scene;
  EXPECT_TRUE(Contains(scene, Line("b.gif", 5, 4))) << scene;
  EXPECT_TRUE(scene.ends_with(std::string(kSceneFooter) + "\r\n"));
}

TEST(Cli, AReplacedSceneFileKeepsItsPermissionsAndOwner) {
  TempFolder folder, scratch;
  folder.Put("image_scan.pov", "the scene of an earlier run");
  ASSERT_EQ(chmod(folder.Path("image_scan.pov").c_str(), 0440), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(folder.Path("image_scan.pov").c_str(), 65534, 65534), 0);
  }
  const Outcome run = RunCli("--quiet " + Quote(folder.Path("").string()), scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.Get("image_scan.pov"), Scene(""));
  struct stat status;
  ASSERT_EQ(stat(folder.Path("image_scan.pov").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0440u);
  if (root) {
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_gid, 65534u);
  }
}

TEST(Cli, PrintsNamesByteForByteEndedByLineFeedsOrNuls) {
  TempFolder folder, scratch;
  const std::vector<std::string> names = {"esc\x1B[2J.png", "caf\xE9.png", "tab\there.png"};
  for (const std::string& name : names) folder.Put(name, "");
  for (const char end : {'\n', '\0'}) {
    const Outcome run = RunCli(std::string(end == '\0' ? "-0 " : "") + Quote(folder.Path("").string()), scratch);
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> printed;
    for (size_t start = 0, stop; (stop = run.out.find(end, start)) != std::string::npos; start = stop + 1)
      printed.push_back(run.out.substr(start, stop - start));
    std::sort(printed.begin(), printed.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(printed, expected);
  }
}

TEST(Cli, WarnsWhenTheSceneListsMoreImagesThanItsTableHolds) {
  TempFolder folder, scratch;
  for (int i = 0; i <= 2000; ++i) folder.Put("i" + std::to_string(i) + ".png", "");
  const Outcome run = RunCli("--quiet " + Quote(folder.Path("").string()), scratch);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Contains(run.err, "2001 images; the scene's table holds 2000 rows")) << run.err;
  // Exactly as many as the table holds: no warning.
  stdfs::remove(folder.Path("i0.png"));
  const Outcome full = RunCli("--quiet " + Quote(folder.Path("").string()), scratch);
  EXPECT_EQ(full.status, 0);
  EXPECT_TRUE(Contains(full.err, "wrote 2000 images")) << full.err;
  EXPECT_FALSE(Contains(full.err, "warning")) << full.err;
}

}  // namespace

namespace {

TEST(Cli, NamesWithQuotesBackslashesAndLineEndsGiveLinesPovRayParses) {
  TempFolder folder, scratch;
  const std::vector<std::string> names = {"a\"b.png", "x\\y.png", "l\nf.png", "c\rr.png"};
  for (const std::string& name : names) folder.Put(name, EncodeTestPng(4, 3));
  const Outcome run = RunCli("--quiet " + Quote(folder.Path("").string()), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string scene = folder.Get("image_scan.pov");
  for (const char* escaped : {"\"a\\\"b.png\"", "\"x\\\\y.png\"", "\"l\\nf.png\"", "\"c\\rr.png\""})
    EXPECT_TRUE(Contains(scene, std::string("add_image ( ") + escaped + ", 4, 3 ) \r\n")) << escaped;

  // Where POV-Ray is installed, its parser must give back every name as it is on disk.
  if (std::system("command -v povray >/dev/null 2>&1") != 0) return;
  std::string probe =
      "#macro add_image(_name, _x, _y)\n#debug concat(\"[\", _name, \"] \", str(strlen(_name), 0, 0), \"\\n\")\n#end\n";
  for (size_t at = scene.find("\nadd_image ( "); at != std::string::npos; at = scene.find("\nadd_image ( ", at + 1))
    probe += scene.substr(at + 1, scene.find("\r\n", at + 1) + 2 - (at + 1));
  scratch.Put("probe.pov", probe);
  const std::string command =
      "cd " + Quote(scratch.Path("").string()) + " && povray -D -GR -GS +W8 +H6 +O/dev/null probe.pov 2>&1";
  std::string parsed;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) parsed.append(buffer.data(), got);
    pclose(pipe);
  }
  for (std::string name : names) {
    const std::string length = std::to_string(name.size());
    std::replace(name.begin(), name.end(), '\r', '\n');  // the console shows CR as a line end
    EXPECT_TRUE(Contains(parsed, "[" + name + "] " + length)) << name << "\n" << parsed;
  }
}

TEST(Cli, AFolderNamedTwiceIsWrittenOnceAndSkippedNamesGetAHint) {
  TempFolder folder, scratch;
  folder.Put("a.png", EncodeTestPng(2, 2));
  folder.Put("IMG_0001.JPG", EncodeTestJpeg(2, 2));
  folder.Put("b.jpeg", EncodeTestJpeg(2, 2));
  const std::string path = folder.Path("").string();
  const Outcome run = RunCli(Quote(path) + " " + Quote(path + "/.") + " " + Quote(path), scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "a.png\n");
  const std::string hint =
      "2 files skipped (IMG_0001.JPG and b.jpeg): only names ending in png, jpg, gif or hdr (lower case) are scanned\n";
  EXPECT_TRUE(Contains(run.err, hint)) << run.err;
  EXPECT_EQ(run.err.find("wrote "), run.err.rfind("wrote "));
  EXPECT_FALSE(Contains(RunCli("--quiet " + Quote(path), scratch).err, "skipped"));
}

TEST(Cli, EachFolderIsWrittenOnceInTheOrderGivenPastARepeat) {
  TempFolder folder, scratch;
  std::vector<std::string> paths;
  for (const std::string name : {"A", "B", "C"}) {
    stdfs::create_directory(folder.Path(name));
    folder.Put(name + "/" + name + ".png", EncodeTestPng(2, 2));
    paths.push_back(folder.Path(name).string());
  }
  const Outcome run =
      RunCli(Quote(paths[0]) + " " + Quote(paths[1]) + " " + Quote(paths[0]) + " " + Quote(paths[2]), scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "A.png\nB.png\nC.png\n");
  std::vector<std::string> written;
  for (size_t at = run.err.find("wrote 1 image to "); at != std::string::npos;
       at = run.err.find("wrote 1 image to ", at + 1)) {
    const size_t start = at + 17;
    written.push_back(run.err.substr(start, run.err.find(" in ", start) - start));
  }
  EXPECT_EQ(written, (std::vector<std::string>{paths[0] + "/image_scan.pov", paths[1] + "/image_scan.pov",
                                               paths[2] + "/image_scan.pov"}))
      << run.err;
  EXPECT_EQ(folder.Get("C/image_scan.pov"), Scene(Line("C.png", 2, 2)));
}

TEST(Cli, AReadOnlyFileSystemIsTheReasonGiven) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a read-only file system needs root";
  TempFolder folder, scratch;
  const std::string mount_point = folder.Path("ro").string();
  stdfs::create_directory(mount_point);
  if (mount("imagescan-test", mount_point.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here";
  const Outcome run = RunCli("--quiet " + Quote(mount_point), scratch);
  umount2(mount_point.c_str(), MNT_DETACH);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "cannot write " + mount_point + "/image_scan.pov: Read-only file system")) << run.err;
}

TEST(Cli, AFolderMountedInsideItselfIsWalkedOnce) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a folder inside itself needs root";
  TempFolder folder, scratch;
  stdfs::create_directories(folder.Path("A/sub/loop"));
  folder.Put("A/a.png", EncodeTestPng(3, 2));
  folder.Put("A/sub/b.gif", EncodeTestGif(4, 5));
  const std::string a = folder.Path("A").string();
  // `mount --bind A A/sub/loop`, then the program: A/sub/loop is A again, reached
  // without a link. In a mount namespace of its own, so that nobody else sees the mount.
  const std::string mount_then =
      "unshare --mount --propagation private sh -c " +
      Quote("mount --bind " + Quote(a) + " " + Quote(a + "/sub/loop") + " && exec \"$0\" \"$@\"") + " ";
  if (RunCli("--version", scratch, mount_then).status != 0)
    GTEST_SKIP() << "cannot mount in a mount namespace of its own here: " << scratch.Get("stderr");
  const Outcome run = RunCli(Quote(a), scratch, mount_then);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out == "a.png\nsub/b.gif\n" || run.out == "sub/b.gif\na.png\n") << run.out;
  EXPECT_TRUE(run.err.starts_with("wrote 2 images to " + a + "/image_scan.pov in ")) << run.err;
  EXPECT_FALSE(Contains(run.err, "warning")) << run.err;
  const std::string scene = folder.Get("A/image_scan.pov");
  EXPECT_TRUE(Contains(scene, Line("a.png", 3, 2)) && Contains(scene, Line("sub/b.gif", 4, 5))) << scene;
}

TEST(Cli, MeasuringModesAgreeOnSoundImagesAndQuickReadsHeadersOnly) {
  TempFolder folder, scratch;
  stdfs::create_directory(folder.Path("sub"));
  folder.Put("a.png", EncodeTestPng(300, 200));
  folder.Put("sub/b.jpg", EncodeTestJpeg(64, 48));
  folder.Put("sub/c.gif", EncodeTestGif(7, 5));
  const std::string png = EncodeTestPng(40, 30);
  folder.Put("cut.png", png.substr(0, png.size() / 2));
  folder.Put("sky.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 512 +X 1024\n");
  const std::string path = Quote(folder.Path("").string());

  std::string scenes[3];
  const char* modes[3] = {"--measure=exact", "--measure=bitmap", "--quick"};
  for (int m = 0; m < 3; ++m) {
    const Outcome run = RunCli(std::string(modes[m]) + " --quiet " + path, scratch);
    EXPECT_EQ(run.status, 0) << modes[m] << run.err;
    scenes[m] = folder.Get("image_scan.pov");
  }
  EXPECT_EQ(scenes[0], scenes[1]);
  EXPECT_TRUE(Contains(scenes[0], "\"a.png\", 300, 200 )"));
  EXPECT_TRUE(Contains(scenes[0], "\"cut.png\", 1, 1 )"));
  EXPECT_TRUE(Contains(scenes[0], "\"sky.hdr\", 1, 1 )"));
  // Quick: the header's size for the damaged file and the resolution line's for HDR.
  std::string expected_quick = scenes[0];
  expected_quick.replace(expected_quick.find("\"cut.png\", 1, 1"), 15, "\"cut.png\", 40, 30");
  expected_quick.replace(expected_quick.find("\"sky.hdr\", 1, 1"), 15, "\"sky.hdr\", 1024, 512");
  EXPECT_EQ(scenes[2], expected_quick);

  for (const char* wrong : {"--measure=fast", "--measure=", "--measure"}) {
    const Outcome run = RunCli(std::string(wrong) + " " + path, scratch);
    EXPECT_EQ(run.status, 2) << wrong;
    EXPECT_TRUE(Contains(run.err, "Try 'imagescan-cli --help'")) << wrong;
  }
}

}  // namespace

namespace {

TEST(Cli, ADeepTreeNeedsNoDeepStack) {
  TempFolder folder, scratch;
  constexpr int kLevels = 1250;
  std::string deepest;
  for (int level = 0; level < kLevels; ++level) {
    deepest += "d/";
    ASSERT_EQ(mkdir(folder.Path(deepest).c_str(), 0755), 0) << level;
  }
  folder.Put(deepest + "in.png", EncodeTestPng(2, 3));
  // 512 KB of stack, far less than a walk that recursed would need for this depth.
  const Outcome run = RunCli("--quiet " + Quote(folder.Path("").string()), scratch, "ulimit -s 512; ");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(folder.Get("image_scan.pov"), Line(deepest + "in.png", 2, 3)));
}

TEST(Cli, AnImageLeftWithoutAFileDescriptorIsWarnedAboutAndCounted) {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizers open descriptors of their own at any moment (a pipe for every new
  // type a virtual call meets), so no limit starves the image alone.
  GTEST_SKIP() << "the sanitizers need descriptors of their own; the fault seam covers this here";
#endif
  TempFolder folder, scratch;
  folder.Put("a.png", EncodeTestPng(3, 2));
  // Lower the descriptor limit step by step: every run either writes the true scene, or
  // fails and keeps the old one, or, where the image alone can no longer be opened, says
  // so and ends with 3; it never passes a 1 x 1 line off as done.
  bool seen = false;
  // Without the store of sizes, whose descriptors would move the limit that starves the image.
  for (int limit = 16; limit >= 4 && !seen; --limit) {
    folder.Put("image_scan.pov", "the scene of an earlier run");
    // The limit binds the program alone: a shell under it may itself run short.
    const std::string nofile = std::to_string(limit);
    const Outcome run = RunCli("--no-cache " + Quote(folder.Path("").string()), scratch,
                               "prlimit --nofile=" + nofile + ":" + nofile + " ");
    const std::string scene = folder.Get("image_scan.pov");
    if (run.status == 0) {
      EXPECT_TRUE(Contains(scene, Line("a.png", 3, 2))) << limit << ": " << run.err;
      continue;
    }
    if (run.status == 1) {
      EXPECT_TRUE(Contains(run.err, "Too many open files")) << limit << ": " << run.err;
      EXPECT_EQ(scene, "the scene of an earlier run") << limit;  // nothing half-done
      continue;
    }
    ASSERT_EQ(run.status, 3) << limit << ": " << run.err;
    seen = true;
    EXPECT_TRUE(Contains(scene, Line("a.png", 1, 1))) << scene;
    EXPECT_TRUE(Contains(run.err, "warning: cannot read " + folder.Path("a.png").string() + ": Too many open files"))
        << run.err;
    EXPECT_TRUE(Contains(run.err, "1 image could not be read and is listed as 1 x 1")) << run.err;
  }
  // The folder's listing is closed before its images are opened: the image takes the
  // listing's descriptor, and no limit may starve it alone.
  if (!seen) GTEST_SKIP() << "no descriptor limit starves the image alone here; CliFaults covers the warning";
}

// Root in a user namespace, as in a rootless container, over a scene of a user that the
// namespace does not map: that owner cannot be given to a new scene, so the old stays.
TEST(Cli, ASceneWhoseOwnerCannotBeKeptStaysAsItWas) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give the old scene a user the namespace does not map";
  TempFolder folder, scratch;
  const std::string prefix = "unshare --user --map-root-user ";
  if (RunCli("--version", scratch, prefix).status != 0) GTEST_SKIP() << "no user namespace can be made here";
  folder.Put("a.png", EncodeTestPng(3, 2));
  folder.Put("image_scan.pov", "the scene of an earlier run");
  const std::string scene = folder.Path("image_scan.pov").string();
  ASSERT_EQ(chown(scene.c_str(), 1001, 1001), 0);
  ASSERT_EQ(chmod(scene.c_str(), 0600), 0);
  const Outcome run = RunCli(Quote(folder.Path("").string()), scratch, prefix);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(Contains(run.err, scene + ": the new file could not be given its owner and group")) << run.err;
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");
  struct stat status {};
  ASSERT_EQ(stat(scene.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 1001u);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  for (const auto& entry : stdfs::directory_iterator(folder.Path(""))) EXPECT_NE(entry.path().extension(), ".tmp");
}

}  // namespace
