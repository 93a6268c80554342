// The scene file's writer on Linux against a folder that someone else may write: the
// temporary file swapped for a link, an old scene that is a link, a refused rename, the
// folder renamed under a scan.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "app/scene/process_command.h"
#include "app/scene/process_report.h"
#include "app/scene/scene_file_writer.h"
#include "fs/fault_seam.h"
#include "fs/path_ops.h"
#include "fs/system_errors.h"
#include "fs/text_encoding.h"
#include "support/scene_expectations.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

class SceneFileWriter : public SceneTest {
 protected:
  void TearDown() override {
    FaultHookSet(nullptr);
    SceneTest::TearDown();
  }
};

class Quiet : public ScanObserver {
 public:
  void ImageFound(const std::u16string&, ImageSize) override {}
};

// Where a swapped-in link leads.
std::string g_victim;

// What another user who may write the folder can do just before the rename: move the
// temporary file aside and put a link to a file of the victim's in its place.
int SwapForLink(FaultPoint point, const std::u16string& temporary_path) {
  if (point != FaultPoint::ReplaceFile) return 0;
  const std::string path = EscapedBytesFromText(temporary_path);
  if (rename(path.c_str(), (path + ".moved").c_str()) != 0 || symlink(g_victim.c_str(), path.c_str()) != 0)
    return errno;
  return 0;
}

int RefuseRename(FaultPoint point, const std::u16string&) { return point == FaultPoint::ReplaceFile ? EACCES : 0; }

size_t CountTemporaries(const std::filesystem::path& folder) {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".image_scan.pov.")) ++count;
  }
  return count;
}

mode_t Mode(const std::filesystem::path& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status.st_mode;
}

TEST_F(SceneFileWriter, ATemporaryFileSwappedForALinkIsNeitherFollowedNorPutInPlace) {
  TempFolder folder, elsewhere;
  folder.Put("a.png", EncodeTestPng(3, 3));
  folder.Put("image_scan.pov", "the scene of an earlier run");
  chmod(folder.Path("image_scan.pov").c_str(), 0644);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.Path("image_scan.pov").c_str(), 65534, 65534), 0);
  }
  elsewhere.Put("secret", "only its owner may read this");
  chmod(elsewhere.Path("secret").c_str(), 0600);
  g_victim = elsewhere.Path("secret").string();
  FaultHookSet(SwapForLink);

  Quiet quiet;
  const SceneFileResult result = WriteSceneFileSafely(folder.Text() + u"/", quiet);
  EXPECT_EQ(result.system_error, kReplacedError);
  EXPECT_EQ(result.path, folder.Text("image_scan.pov"));
  EXPECT_EQ(SystemErrorText(result.system_error), u"its temporary file was replaced during the scan");
  // The victim's file kept its mode and owner, and the old scene stays in place.
  EXPECT_EQ(Mode(elsewhere.Path("secret")) & 07777, 0600u);
  struct stat victim {};
  stat(elsewhere.Path("secret").c_str(), &victim);
  EXPECT_EQ(victim.st_uid, geteuid());
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");
  EXPECT_TRUE(S_ISREG(Mode(folder.Path("image_scan.pov"))));
  EXPECT_EQ(elsewhere.Get("secret"), "only its owner may read this");
}

TEST_F(SceneFileWriter, AnOldSceneThatIsALinkGivesAnOrdinaryFileOnlyPermissionBitsAreCopied) {
  TempFolder folder, elsewhere;
  elsewhere.Put("program", "#!/bin/sh\n");
  chmod(elsewhere.Path("program").c_str(), 04755);
  const mode_t mask = umask(022);
  umask(mask);
  Quiet quiet;
  // A link to a set-user-id file, to a device that anyone may write, to another user's file.
  for (const std::string& target : {elsewhere.Path("program").string(), std::string("/dev/null")}) {
    std::filesystem::remove(folder.Path("image_scan.pov"));
    std::filesystem::create_symlink(target, folder.Path("image_scan.pov"));
    if (geteuid() == 0) lchown(folder.Path("image_scan.pov").c_str(), 65534, 65534);
    ASSERT_EQ(WriteSceneFileSafely(folder.Text() + u"/", quiet).system_error, 0) << target;
    struct stat status {};
    ASSERT_EQ(lstat(folder.Path("image_scan.pov").c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode)) << target;
    EXPECT_EQ(status.st_mode & 07777, 0666u & ~mask) << target;
    EXPECT_EQ(status.st_uid, geteuid()) << target;
  }
  EXPECT_EQ(Mode(elsewhere.Path("program")) & 07777, 04755u);

  // A plain old scene gives its permission bits, never its set-id or sticky bits.
  chmod(elsewhere.Path("program").c_str(), 0755);
  std::filesystem::remove(folder.Path("image_scan.pov"));
  folder.Put("image_scan.pov", "old");
  chmod(folder.Path("image_scan.pov").c_str(), 07751);
  ASSERT_EQ(WriteSceneFileSafely(folder.Text() + u"/", quiet).system_error, 0);
  EXPECT_EQ(Mode(folder.Path("image_scan.pov")) & 07777, 0751u);
}

TEST_F(SceneFileWriter, ARefusedRenameIsTheFailureItIs) {
  TempFolder folder;
  folder.Put("a.png", EncodeTestPng(3, 3));
  folder.Put("image_scan.pov", "the scene of an earlier run");
  FaultHookSet(RefuseRename);
  Quiet quiet;
  const ProcessResult result = ProcessFolder(folder.Text() + u"/", quiet);
  EXPECT_EQ(result.scene.system_error, EACCES);
  EXPECT_EQ(ProcessFailureText(result),
            u"Cannot write " + folder.Text("image_scan.pov") + u": " + SystemErrorText(EACCES));
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");
  EXPECT_EQ(CountTemporaries(folder.Path("")), 0u);
}

// Renames the scanned folder as soon as the first image is found, then cancels.
class RenamingObserver : public ScanObserver {
 public:
  RenamingObserver(std::filesystem::path from, std::filesystem::path to) : from_(from), to_(to) {}
  void ImageFound(const std::u16string&, ImageSize) override {
    std::filesystem::rename(from_, to_);
    renamed_ = true;
  }
  bool ScanContinues() override { return !renamed_; }

 private:
  std::filesystem::path from_, to_;
  bool renamed_ = false;
};

TEST_F(SceneFileWriter, AFolderRenamedDuringAScanKeepsNoTemporaryFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder.Path("pics"));
  for (int i = 0; i < 4; ++i) folder.Put("pics/" + std::to_string(i) + ".png", EncodeTestPng(2, 2));
  RenamingObserver renaming(folder.Path("pics"), folder.Path("renamed"));
  const SceneFileResult result = WriteSceneFileSafely(folder.Text("pics") + u"/", renaming);
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(CountTemporaries(folder.Path("renamed")), 0u);
  EXPECT_FALSE(std::filesystem::exists(folder.Path("renamed/image_scan.pov")));
}

}  // namespace
