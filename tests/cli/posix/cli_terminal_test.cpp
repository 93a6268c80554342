// The batch program on a terminal: the progress line shows there and nowhere else, and
// an interrupt leaves it standing above the program's last words.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/scene_expectations.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "support/wait_until.h"
#include "tests/cli/posix/cli_run.h"

namespace {

namespace stdfs = std::filesystem;

// The program with a new terminal as its standard output and error; `terminal` gets the
// terminal's other end, where the user types and reads.
pid_t StartOnTerminal(const std::vector<std::string>& arguments, int& terminal) {
  std::vector<char*> argv = {const_cast<char*>(IMAGESCAN_CLI)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid == 0) {
    execv(IMAGESCAN_CLI, argv.data());
    _exit(127);
  }
  return pid;
}

// Reads what the terminal shows until `until` appears (empty: until the program has
// gone), or a minute has passed.
void ReadTerminal(int terminal, std::string& shown, const std::string& until = "") {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < give_up) {
    if (!until.empty() && Contains(shown, until)) return;
    pollfd ready{terminal, POLLIN, 0};
    if (poll(&ready, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(terminal, buffer, sizeof buffer);
    if (got <= 0) return;  // EIO: nobody holds the terminal any more
    shown.append(buffer, static_cast<size_t>(got));
  }
}

void PutImages(const TempFolder& folder) {
  stdfs::create_directory(folder.Path("sub"));
  folder.Put("a.png", EncodeTestPng(3, 2));
  folder.Put("sub/b.gif", EncodeTestGif(4, 5));
}

TEST(CliTerminal, ShowsProgressOnATerminalAndNeverInAFileOrAPipe) {
  TempFolder folder, scratch;
  PutImages(folder);
  const std::string path = folder.Path("").string();

  int terminal = -1;
  const pid_t pid = StartOnTerminal({"--quiet", path}, terminal);
  ASSERT_GT(pid, 0);
  std::string shown;
  ReadTerminal(terminal, shown);
  close(terminal);
  EXPECT_EQ(WaitFor(pid), 0);
  EXPECT_TRUE(Contains(shown, "\r\033[K1 folder, 0 images: " + path)) << shown;
  EXPECT_TRUE(Contains(shown, "wrote 2 images to ")) << shown;

  // Standard error a file, then a pipe: the paths and the summary only.
  const Outcome in_file = RunCli(Quote(path), scratch);
  EXPECT_EQ(in_file.status, 0);
  int ends[2];
  ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
  const int out = open(scratch.Path("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const pid_t piped = StartCli({path}, out, ends[1]);
  close(ends[1]);
  close(out);
  ASSERT_GT(piped, 0);
  std::string in_pipe;
  ReadTerminal(ends[0], in_pipe);
  close(ends[0]);
  EXPECT_EQ(WaitFor(piped), 0);
  for (const std::string& err : {in_file.err, in_pipe}) {
    EXPECT_TRUE(err.starts_with("wrote 2 images to " + path + "image_scan.pov in ")) << err;
    EXPECT_FALSE(Contains(err, "\r")) << err;
    EXPECT_FALSE(Contains(err, "folder,")) << err;
  }
  EXPECT_EQ(in_file.out, "a.png\nsub/b.gif\n");
  EXPECT_EQ(scratch.Get("out"), in_file.out);
}

TEST(CliTerminal, CtrlCEndsTheProgressLineBeforeSayingTheSceneWasKept) {
  TempFolder folder;
  // Enough for a scan to outlast the moment it takes to answer its first line.
  for (int f = 0; f < 20; ++f) {
    const std::string sub = "f" + std::to_string(f) + "/";
    stdfs::create_directory(folder.Path(sub));
    for (int i = 0; i < 20; ++i)
      close(open(folder.Path(sub + std::to_string(i) + ".png").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
  }
  folder.Put("image_scan.pov", "the scene of an earlier run");
  const std::string scene = folder.Path("image_scan.pov").string();

  int terminal = -1;
  const pid_t pid = StartOnTerminal({"--quiet", folder.Path("").string()}, terminal);
  ASSERT_GT(pid, 0);
  std::string shown;
  ReadTerminal(terminal, shown, "images: ");
  // Ctrl+S holds the program at its next line of output, mid-scan; Ctrl+C then
  // interrupts it (and lets output go on).
  ASSERT_EQ(write(terminal, "\x13", 1), 1);
  ASSERT_EQ(write(terminal, "\x03", 1), 1);
  ReadTerminal(terminal, shown);
  close(terminal);
  EXPECT_EQ(WaitFor(pid), 128 + SIGINT);
  // The terminal's echo of the Ctrl+C may come before or after the program's words.
  for (size_t echo; (echo = shown.find("^C")) != std::string::npos;) shown.erase(echo, 2);

  const std::string message = "imagescan-cli: interrupted; " + scene + " left as it was\r\n";
  ASSERT_TRUE(shown.ends_with(message)) << shown;
  // Above the message the progress line stands whole, and ended.
  const std::string above = shown.substr(0, shown.size() - message.size());
  EXPECT_TRUE(above.ends_with("\r\n")) << above;
  const std::string last_line = above.substr(above.rfind("\r\033[K"));
  EXPECT_TRUE(Contains(last_line, " images: ")) << above;
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");
  EXPECT_TRUE(Temporaries(folder).empty());
}

TEST(CliTerminal, ARenderShowsItsProgressAndCtrlCEndsPovRayKeepingThePicture) {
  TempFolder folder, tools;
  PutImages(folder);
  folder.Put("image_scan.png", "the picture of an earlier run");
  const std::string picture = folder.Path("image_scan.png").string();
  const std::string povray = tools.Path("povray37-hang").string();
  stdfs::copy_file(IMAGESCAN_POVRAY_STANDIN, povray);

  int terminal = -1;
  const pid_t pid =
      StartOnTerminal({"--quiet", "--render=64x36", "--povray=" + povray, folder.Path("").string()}, terminal);
  ASSERT_GT(pid, 0);
  std::string shown;
  ReadTerminal(terminal, shown, "\r\033[Krendering " + picture + ": 0%");
  // Once the stand-in waits, its Ctrl+C goes to the program alone (POV-Ray runs in a
  // group of its own), which ends POV-Ray.
  ASSERT_TRUE(WaitUntil([&] { return Contains(tools.Get("povray37-hang.log"), "started"); }));
  ASSERT_EQ(write(terminal, "\x03", 1), 1);
  ReadTerminal(terminal, shown);
  close(terminal);
  EXPECT_EQ(WaitFor(pid), 128 + SIGINT);
  for (size_t echo; (echo = shown.find("^C")) != std::string::npos;) shown.erase(echo, 2);
  EXPECT_TRUE(shown.ends_with(": 0%\r\nimagescan-cli: interrupted; " + picture + " left as it was\r\n")) << shown;
  EXPECT_EQ(folder.Get("image_scan.png"), "the picture of an earlier run");
}

}  // namespace
