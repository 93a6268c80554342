// imagescan-cli.exe --render through CreateProcessW, with the stand-in POV-Ray
// (support/povray_standin.cpp) copied under the names that say what it does, both run
// as children the way the batch program runs POV-Ray.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "fs/child_process.h"
#include "image/image_measure.h"
#include "image/image_setup.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "support/wait_until.h"

namespace {

namespace stdfs = std::filesystem;

// This test program's folder, where the build puts the stand-in too; the batch program
// is in the build's app folder.
stdfs::path OwnFolder() {
  wchar_t own[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  return stdfs::path(std::wstring(own, length)).parent_path();
}

struct Finished {
  int status = -1;
  std::string said;  // standard output and error
};

Finished RunProgram(const stdfs::path& program, std::vector<std::u16string> arguments) {
  ChildProcess child({TempFolder::TextOf(program), std::move(arguments), u""});
  Finished run;
  for (std::string piece = child.Read(); !piece.empty(); piece = child.Read()) run.said += piece;
  run.status = child.Wait();
  return run;
}

struct RenderSetup {
  TempFolder folder, tools;
  stdfs::path standin, log;
  explicit RenderSetup(const std::string& name) : standin(tools.Path(name + ".exe")), log(tools.Path(name + ".log")) {
    folder.Put("a.png", EncodeTestPng(8, 4));
    stdfs::copy_file(OwnFolder() / "povray_standin.exe", standin);
  }
  Finished Render(const std::u16string& program) const {
    return RunProgram(OwnFolder().parent_path() / "app" / "imagescan-cli.exe",
                      {u"--quiet", u"--render=64x36", u"--povray=" + program, folder.Text()});
  }
  std::string Log() const {
    std::ifstream in(log, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST(CliRenderWin32, RendersWithTheStandInInTheFolderAndKeepsThePictureOnFailure) {
  ImageLayerStart();
  RenderSetup setup("povray37-render");
  // Named without ".exe", as a user would.
  const Finished run = setup.Render(TempFolder::TextOf(setup.tools.Path("povray37-render")));
  EXPECT_EQ(run.status, 0) << run.said;
  const auto size = MeasureImageFile(setup.folder.Text("image_scan.png"));
  ASSERT_TRUE(size) << run.said;
  EXPECT_EQ(size->width, 64);
  EXPECT_EQ(size->height, 36);
  const std::string log = setup.Log();
  EXPECT_EQ(log.substr(0, log.find('\n')), stdfs::path(setup.folder.Path("")).parent_path().string()) << log;
  EXPECT_NE(log.find("\n+Iimage_scan.pov\n+O-\n+FN\n-D\n+W64\n+H36\n"), std::string::npos) << log;
  ImageLayerStop();

  RenderSetup failing("povray37-fail");
  failing.folder.Put("image_scan.png", "the picture of an earlier run");
  const Finished failed = failing.Render(TempFolder::TextOf(failing.standin));
  EXPECT_EQ(failed.status, 4) << failed.said;
  EXPECT_NE(failed.said.find("imagescan-cli: POV-Ray: File 'image_scan.pov' line 15: Parse Error"), std::string::npos)
      << failed.said;
  EXPECT_EQ(failing.folder.Get("image_scan.png"), "the picture of an earlier run");
}

TEST(CliRenderWin32, AMissingPovRaySaysWhereToGetIt) {
  RenderSetup setup("povray37-render");
  const Finished given = setup.Render(TempFolder::TextOf(setup.tools.Path("nosuch.exe")));
  EXPECT_EQ(given.status, 4);
  EXPECT_NE(given.said.find(": no such program"), std::string::npos) << given.said;
  // Only PATH is searched for a name alone, not the current folder.
  const stdfs::path before = stdfs::current_path();
  stdfs::current_path(setup.tools.Path(""));
  stdfs::copy_file(setup.standin, setup.tools.Path("povray.exe"));
  const std::wstring path = _wgetenv(L"PATH");
  SetEnvironmentVariableW(L"PATH", setup.folder.Path("").wstring().c_str());
  const Finished on_path = setup.Render(u"povray");
  SetEnvironmentVariableW(L"PATH", path.c_str());
  stdfs::current_path(before);
  EXPECT_EQ(on_path.status, 4);
  EXPECT_NE(on_path.said.find("imagescan-cli: cannot render: no povray found on PATH (Windows: install POV-Ray from "
                              "www.povray.org and put its command-line renderer on PATH)"),
            std::string::npos)
      << on_path.said;
}

TEST(CliRenderWin32, EndingAChildEndsItsJob) {
  RenderSetup setup("povray37-hang");
  ChildProcess child({TempFolder::TextOf(setup.standin), {u"+W4", u"+H4"}, setup.folder.Text()});
  ASSERT_EQ(child.Error(), 0);
  // It says its progress, then notes in its log that it waits; its pipe ends only when
  // it does.
  EXPECT_NE(child.Read(), "");
  ASSERT_TRUE(WaitUntil([&] { return setup.Log().find("started\n") != std::string::npos; }));
  std::thread ender([&child] { child.End(); });
  while (!child.Read().empty()) {
  }
  ender.join();
  EXPECT_NE(child.Wait(), 0);
}

}  // namespace
