// Runs the imagescan-cli program as a user would and checks what it says and writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/cli/cli_options.h"
#include "app/scene/scene_format.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

namespace {

namespace stdfs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs the program through the shell, after `prefix` (shell commands) when given.
Outcome RunCli(const std::string& arguments, const TempFolder& scratch, const std::string& prefix = "") {
  const std::string err_path = scratch.Path("stderr").string();
  const std::string command = prefix + Quote(IMAGESCAN_CLI) + " " + arguments + " 2>" + Quote(err_path);
  Outcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return outcome;
  std::array<char, 4096> buffer;
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) outcome.out.append(buffer.data(), got);
  const int status = pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.err = scratch.Get("stderr");
  return outcome;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Cli, WritesTheSceneAndListsTheImages) {
  TempFolder folder, scratch;
  stdfs::create_directories(folder.Path("trip"));
  folder.Put("trip/a.png", EncodeTestPng(64, 32));
  const Outcome run = RunCli(Quote(folder.Path("").string()), scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "trip/a.png\n");
  EXPECT_TRUE(Contains(run.err, "wrote 1 image to " + folder.Path("image_scan.pov").string())) << run.err;
  EXPECT_EQ(folder.Get("image_scan.pov"), std::string(kSceneHeader) + "\r\n" +
                                               "add_image ( \"trip/a.png\", 64, 32 ) \r\n" +
                                               std::string(kSceneFooter) + "\r\n");
  // Quiet: the same file, no paths. Not a terminal: no progress line either.
  const Outcome quiet = RunCli("--quiet " + Quote(folder.Path("trip").string()), scratch);
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.out, "");
  EXPECT_FALSE(Contains(quiet.err, "\r"));
}

TEST(Cli, CommandLineMistakesExitWithTwo) {
  TempFolder folder, scratch;
  folder.Put("file.png", EncodeTestPng(2, 2));
  for (const std::string& arguments : {std::string(), std::string("--frobnicate ."),
                                       Quote(folder.Path("file.png").string()),
                                       Quote(folder.Path("missing").string())}) {
    const Outcome run = RunCli(arguments, scratch);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_FALSE(run.err.empty()) << arguments;
  }
  EXPECT_TRUE(Contains(RunCli(Quote(folder.Path("file.png").string()), scratch).err, "not a folder"));
  EXPECT_TRUE(Contains(RunCli("--frobnicate", scratch).err, "usage:"));
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

TEST(Cli, WarnsWhenTheSceneListsMoreImagesThanItsTableHolds) {
  TempFolder folder, scratch;
  for (int i = 0; i <= 2000; ++i) folder.Put("i" + std::to_string(i) + ".png", "");
  const Outcome run = RunCli("--quiet " + Quote(folder.Path("").string()), scratch);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Contains(run.err, "2001 images; the scene's table holds 2000 rows")) << run.err;
}

}  // namespace
