// Two batch runs at once on one store of sizes: neither fails or slows the other into a
// wrong scene, and what they measured is kept.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "fs/sqlite_database.h"
#include "support/scene_expectations.h"
#include "support/test_images.h"
#include "tests/cli/posix/cli_run.h"

namespace {

namespace stdfs = std::filesystem;

// The latest change time of the files in the folder, in seconds since 1970.
double NewestChange(const TempFolder& folder) {
  double newest = 0;
  for (const auto& entry : stdfs::directory_iterator(folder.Path(""))) {
    struct stat status {};
    if (stat(entry.path().c_str(), &status) == 0) {
      newest = std::max(newest, status.st_ctim.tv_sec + status.st_ctim.tv_nsec / 1e9);
    }
  }
  return newest;
}

double Now() { return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count(); }

TEST(CliStore, TwoRunsAtOnceShareTheStoreAndWriteTheScenesOfRunsWithoutIt) {
  TempFolder one, two, cache, scratch;
  // The second tree holds hard links to the first's files: the same files, twice.
  for (int image = 0; image < 150; ++image) {
    const std::string name = "i" + std::to_string(image) + ".png";
    one.Put(name, EncodeTestPng(1 + image % 40, 1 + image / 40));
    stdfs::create_hard_link(one.Path(name), two.Path(name));
  }
  const std::string old_cache = getenv("XDG_CACHE_HOME") ? getenv("XDG_CACHE_HOME") : "";
  setenv("XDG_CACHE_HOME", cache.Path("").c_str(), 1);
  std::string expected[2];
  const TempFolder* trees[2] = {&one, &two};
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(RunCli("--quiet --no-cache " + Quote(trees[run]->Path("").string()), scratch).status, 0);
    expected[run] = trees[run]->Get("image_scan.pov");
  }
  // Files changed within a second before a scan began are never kept: wait until these
  // have settled, so that both runs write.
  const double settled = NewestChange(one) + 1.05;
  for (int step = 0; step < 300 && Now() < settled; ++step) std::this_thread::sleep_for(std::chrono::milliseconds(10));

  pid_t runs[2];
  int errs[2];
  for (int run = 0; run < 2; ++run) {
    errs[run] = open(scratch.Path("err" + std::to_string(run)).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    runs[run] = StartCli({"--quiet", trees[run]->Path("").string()}, errs[run], errs[run]);
  }
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(WaitFor(runs[run]), 0) << scratch.Get("err" + std::to_string(run));
    close(errs[run]);
    EXPECT_EQ(trees[run]->Get("image_scan.pov"), expected[run]);
    EXPECT_FALSE(Contains(scratch.Get("err" + std::to_string(run)), "warning"))
        << scratch.Get("err" + std::to_string(run));
  }
  setenv("XDG_CACHE_HOME", old_cache.c_str(), 1);

  SqlOutcome outcome = SqlOutcome::Failed;
  SqlDatabase store =
      SqlDatabase::Open(cache.Path("imagescan/sizes.sqlite").string(), std::chrono::milliseconds(0), outcome);
  ASSERT_TRUE(store.IsOpen());
  SqlStatement count = store.Prepare("SELECT count(*) FROM sizes", outcome);
  ASSERT_EQ(count.Step(), SqlOutcome::Row);
  EXPECT_EQ(count.Integer(0), 150);
}

}  // namespace
