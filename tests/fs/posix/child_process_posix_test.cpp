// Running a program as a child: its folder, arguments, pipe and exit code; that it gets
// none of our descriptors; and that ending it ends all it started.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "fs/child_process.h"
#include "fs/platform_file.h"
#include "support/posix/process_gone.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace {

ChildCommand Shell(const std::string& script, const std::u16string& folder = u"") {
  return {u"sh", {u"-c", TempFolder::TextOf(script), u"sh", u"two words"}, folder};
}

std::string ReadAll(ChildProcess& child) {
  std::string all;
  for (std::string piece = child.Read(); !piece.empty(); piece = child.Read()) all += piece;
  return all;
}

TEST(ChildProcess, RunsInItsFolderWithItsArgumentsAndTellsItsExitCode) {
  TempFolder folder;
  ChildProcess child(Shell("pwd; echo \"$1\" >&2; exit 7", folder.Text()));
  ASSERT_EQ(child.Error(), 0);
  EXPECT_FALSE(child.ProgramMissing());
  const std::string said = ReadAll(child);
  EXPECT_EQ(said, std::filesystem::canonical(folder.Path("")).string() + "\ntwo words\n");
  EXPECT_EQ(child.Wait(), 7);
  EXPECT_EQ(child.Wait(), 7);
}

TEST(ChildProcess, WritesItsOutputToTheFileGivenAndItsErrorsToThePipe) {
  TempFolder folder;
  PlatformFile file = PlatformFile::Open(folder.Text("out"), PlatformAccess::ReadWrite,
                                         PlatformDisposition::CreateAlways, PlatformShare::All);
  ASSERT_TRUE(file.IsOpen());
  ChildProcess child(Shell("printf picture; echo trouble >&2"), &file);
  EXPECT_EQ(ReadAll(child), "trouble\n");
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(folder.Get("out"), "picture");
}

TEST(ChildProcess, GetsNoDescriptorOfOurs) {
  TempFolder folder;
  // As a library might leave one: without close-on-exec.
  const int leaked = fcntl(open(folder.Path("").c_str(), O_RDONLY | O_DIRECTORY), F_DUPFD, 60);
  ASSERT_GE(leaked, 60);
  ChildProcess child(Shell("for fd in 0 1 2 " + std::to_string(leaked) +
                           "; do if [ -e /proc/$$/fd/$fd ]; then echo $fd; fi; done; read line || echo eof"));
  EXPECT_EQ(ReadAll(child), "0\n1\n2\neof\n");
  EXPECT_EQ(child.Wait(), 0);
  close(leaked);
}

TEST(ChildProcess, TellsAMissingProgramOrFolder) {
  ChildProcess missing({u"imagescan-no-such-program", {}, u""});
  EXPECT_NE(missing.Error(), 0);
  EXPECT_TRUE(missing.ProgramMissing());
  EXPECT_EQ(missing.Read(), "");
  EXPECT_EQ(missing.Wait(), -1);

  TempFolder folder;
  ChildProcess nowhere(Shell("exit 0", folder.Text("gone")));
  EXPECT_NE(nowhere.Error(), 0);
  EXPECT_FALSE(nowhere.ProgramMissing());
}

TEST(ChildProcess, EndingItEndsWhatItStarted) {
  ChildProcess child(Shell("sleep 60 & echo $!; wait"));
  ASSERT_EQ(child.Error(), 0);
  const std::string line = child.Read();
  ASSERT_FALSE(line.empty());
  const pid_t started = std::stoi(line);
  std::thread ender([&child] { child.End(); });
  EXPECT_EQ(ReadAll(child), "");
  ender.join();
  EXPECT_EQ(child.Wait(), 128 + SIGKILL);
  EXPECT_TRUE(WaitUntil([&] { return ProcessGone(started); }));

  // A child that ends by itself takes along what it left running.
  ChildProcess leaving(Shell("sleep 60 </dev/null >/dev/null 2>&1 & echo $!"));
  const pid_t left = std::stoi(ReadAll(leaving));
  EXPECT_EQ(leaving.Wait(), 0);
  EXPECT_TRUE(WaitUntil([&] { return ProcessGone(left); }));
}

}  // namespace
