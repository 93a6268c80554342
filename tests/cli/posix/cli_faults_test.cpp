// The batch program when the system fails it where a sound machine cannot be made to:
// its test build takes the faults from IMAGESCAN_FAULTS (support/faults_from_environment.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "support/scene_expectations.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "tests/cli/posix/cli_run.h"

namespace {

Outcome RunWithFaults(const std::string& faults, const std::string& arguments, const TempFolder& scratch) {
  return RunCli(arguments, scratch, "IMAGESCAN_FAULTS=" + Quote(faults) + " ", IMAGESCAN_CLI_FAULTS);
}

// Memory running out in the middle of the second folder's scan: the first folder's new
// scene stays, the second keeps its old one, and neither keeps a temporary file.
TEST(CliFaults, MemoryRunningOutEndsWithOneAndNamesTheSceneLeftAsItWas) {
  TempFolder one, two, scratch;
  one.Put("a.png", EncodeTestPng(3, 2));
  two.Put("b.png", EncodeTestPng(5, 4));
  stdfs::create_directory(two.Path("sub"));
  two.Put("image_scan.pov", "the scene of an earlier run");
  const std::string second_scene = two.Path("image_scan.pov").string();
  const Outcome run = RunWithFaults("list-folder:bad_alloc:" + two.Path("sub").string(),
                                    Quote(one.Path("").string()) + " " + Quote(two.Path("").string()), scratch);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(Contains(run.err, "wrote 1 image to " + one.Path("image_scan.pov").string())) << run.err;
  EXPECT_TRUE(Contains(run.err, "imagescan-cli: out of memory; " + second_scene + " left as it was\n")) << run.err;
  EXPECT_EQ(one.Get("image_scan.pov"), Scene(Line("a.png", 3, 2)));
  EXPECT_EQ(two.Get("image_scan.pov"), "the scene of an earlier run");
  EXPECT_TRUE(Temporaries(one).empty());
  EXPECT_TRUE(Temporaries(two).empty());
}

// What Cli.AnImageLeftWithoutAFileDescriptorIsWarnedAboutAndCounted shows with a real
// descriptor limit, which the sanitizers' own descriptors rule out there.
TEST(CliFaults, AnImageTheSystemCannotOpenIsListedAsOneByOneWarnedAboutAndCounted) {
  TempFolder folder, scratch;
  folder.Put("a.png", EncodeTestPng(3, 2));
  folder.Put("b.png", EncodeTestPng(5, 4));
  // No descriptor left for it, or its open refused once it was seen to be a plain file.
  for (const auto& [fault, reason] : {std::pair{"open-file:" + std::to_string(EMFILE), "Too many open files"},
                                      std::pair{"file-looked:" + std::to_string(EACCES), "Permission denied"}}) {
    const Outcome run = RunWithFaults(fault + ":/a.png", Quote(folder.Path("").string()), scratch);
    EXPECT_EQ(run.status, 3) << run.err;
    const std::string scene = folder.Get("image_scan.pov");
    EXPECT_TRUE(Contains(scene, Line("a.png", 1, 1))) << scene;
    EXPECT_TRUE(Contains(scene, Line("b.png", 5, 4))) << scene;
    EXPECT_TRUE(Contains(run.err, "warning: cannot read " + folder.Path("a.png").string() + ": " + reason)) << run.err;
    EXPECT_TRUE(Contains(run.err, "1 image could not be read and is listed as 1 x 1")) << run.err;
  }
}

// The scanned folder's own opening or listing failing is told once, as the failure to
// read it: no warning beside it, no temporary file, the old scene kept; the next folder
// is written all the same.
TEST(CliFaults, AScannedFolderThatCannotBeReadIsToldOnceAndExitsWithOne) {
  TempFolder pics, good, scratch;
  pics.Put("a.png", EncodeTestPng(3, 2));
  pics.Put("image_scan.pov", "the scene of an earlier run");
  good.Put("b.png", EncodeTestPng(5, 4));
  const std::string folder = pics.Path("").string();
  for (const std::string point : {"open-folder", "list-folder"}) {
    const Outcome run = RunWithFaults(point + ":" + std::to_string(EIO) + ":" + folder,
                                      "--quiet " + Quote(folder) + " " + Quote(good.Path("").string()), scratch);
    EXPECT_EQ(run.status, 1) << point;
    const std::string failure = "imagescan-cli: cannot read " + folder + ": Input/output error\n";
    const std::string written = "wrote 1 image to " + good.Path("image_scan.pov").string() + " in ";
    EXPECT_EQ(run.err.substr(0, failure.size() + written.size()), failure + written) << point << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << point << ": " << run.err;
    EXPECT_EQ(pics.Get("image_scan.pov"), "the scene of an earlier run");
    EXPECT_TRUE(Temporaries(pics).empty());
    EXPECT_EQ(good.Get("image_scan.pov"), Scene(Line("b.png", 5, 4)));
  }
}

}  // namespace
