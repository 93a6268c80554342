// A replaced scene keeps who may use it: owner, group, mode, access list and extended
// attributes are carried over to the new one, or the old one stays as it was.
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/scene/process_command.h"
#include "app/scene/process_report.h"
#include "app/scene/scene_file_writer.h"
#include "fs/fault_seam.h"
#include "fs/path_ops.h"
#include "fs/system_errors.h"
#include "support/scene_expectations.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

class SceneKeeping : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    folder_.Put("a.png", EncodeTestPng(3, 2));
    folder_.Put("image_scan.pov", "the scene of an earlier run");
  }
  void TearDown() override {
    FaultHookSet(nullptr);
    SceneTest::TearDown();
  }
  std::filesystem::path Scene() const { return folder_.Path("image_scan.pov"); }
  struct stat Status() const {
    struct stat status {};
    lstat(Scene().c_str(), &status);
    return status;
  }
  size_t Temporaries() const {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path("")))
      count += entry.path().filename().string().ends_with(".tmp");
    return count;
  }
  // The scan's failure as the user reads it.
  std::u16string Failure(ScanObserver& observer) {
    return ProcessFailureText(ProcessFolder(folder_.Text() + u"/", observer));
  }

  TempFolder folder_;
};

class Quiet : public ScanObserver {
 public:
  void ImageFound(const std::u16string&, ImageSize) override {}
};

int RefuseOwner(FaultPoint point, const std::u16string&) { return point == FaultPoint::ChangeOwner ? EPERM : 0; }
int RefuseMode(FaultPoint point, const std::u16string&) { return point == FaultPoint::ChangeMode ? EPERM : 0; }

TEST_F(SceneKeeping, AnOwnerOrModeThatCannotBeGivenKeepsTheOldSceneAndSaysWhat) {
  ASSERT_EQ(chmod(Scene().c_str(), 0600), 0);
  Quiet quiet;
  // The running user's own scene needs no new owner: the refusal is never met.
  FaultHookSet(RefuseOwner);
  EXPECT_EQ(Failure(quiet), u"");
  EXPECT_EQ(Status().st_mode & 0777, 0600u);

  folder_.Put("image_scan.pov", "the scene of an earlier run");
  FaultHookSet(RefuseMode);
  EXPECT_EQ(Failure(quiet),
            u"Cannot write " + folder_.Text("image_scan.pov") + u": " + SystemErrorText(kModeNotKeptError));
  EXPECT_EQ(folder_.Get("image_scan.pov"), "the scene of an earlier run");
  EXPECT_EQ(Temporaries(), 0u);

  if (geteuid() != 0) GTEST_SKIP() << "only root can give the old scene another user";
  ASSERT_EQ(chown(Scene().c_str(), 65534, 65534), 0);
  FaultHookSet(RefuseOwner);
  EXPECT_EQ(Failure(quiet),
            u"Cannot write " + folder_.Text("image_scan.pov") + u": " + SystemErrorText(kOwnerNotKeptError));
  EXPECT_EQ(folder_.Get("image_scan.pov"), "the scene of an earlier run");
  EXPECT_EQ(Status().st_uid, 65534u);
  EXPECT_EQ(Status().st_mode & 0777, 0600u);
  EXPECT_EQ(Temporaries(), 0u);

  FaultHookSet(nullptr);
  EXPECT_EQ(Failure(quiet), u"");
  EXPECT_EQ(Status().st_uid, 65534u);
  EXPECT_EQ(Status().st_gid, 65534u);
  EXPECT_EQ(Status().st_mode & 0777, 0600u);
  EXPECT_NE(folder_.Get("image_scan.pov").find(Line("a.png", 3, 2)), std::string::npos);
}

// An access list in the form the system keeps it: a version, then (tag, permissions, id).
std::string AccessList(std::initializer_list<std::array<uint32_t, 3>> entries) {
  std::string bytes;
  const auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i));
  };
  put(2, 4);
  for (const auto& [tag, permissions, id] : entries) {
    put(tag, 2);
    put(permissions, 2);
    put(id, 4);
  }
  return bytes;
}

std::string Attribute(const std::filesystem::path& path, const char* name) {
  std::vector<char> value(4096);
  const ssize_t size = lgetxattr(path.c_str(), name, value.data(), value.size());
  return size < 0 ? "(none)" : std::string(value.data(), static_cast<size_t>(size));
}

TEST_F(SceneKeeping, TheAccessListAndExtendedAttributesGoToTheNewScene) {
  // user::rw- user:4242:r-- group::--- mask::r-- other::---: the named user may read, the
  // group may not, whatever the mode's group bits (the mask) seem to say.
  constexpr uint32_t kAny = 0xFFFFFFFF;
  const std::string list =
      AccessList({{0x01, 6, kAny}, {0x02, 4, 4242}, {0x04, 0, kAny}, {0x10, 4, kAny}, {0x20, 0, kAny}});
  if (lsetxattr(Scene().c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0)
    GTEST_SKIP() << "the file system keeps no access lists here: " << std::strerror(errno);
  if (lsetxattr(Scene().c_str(), "user.origin", "camera", 6, 0) != 0)
    GTEST_SKIP() << "the file system keeps no user attributes here: " << std::strerror(errno);
  ASSERT_EQ(Status().st_mode & 0777, 0640u);
  Quiet quiet;
  EXPECT_EQ(Failure(quiet), u"");
  EXPECT_NE(folder_.Get("image_scan.pov").find(Line("a.png", 3, 2)), std::string::npos);
  EXPECT_EQ(Attribute(Scene(), "system.posix_acl_access"), list);
  EXPECT_EQ(Attribute(Scene(), "user.origin"), "camera");
  EXPECT_EQ(Status().st_mode & 0777, 0640u);
}

// Looks at the temporary file whenever an image is reported: the scan is writing it.
class TemporaryWatch : public ScanObserver {
 public:
  explicit TemporaryWatch(std::filesystem::path folder) : folder_(std::move(folder)) {}
  void ImageFound(const std::u16string&, ImageSize) override {
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      struct stat status {};
      if (entry.path().extension() == ".tmp" && lstat(entry.path().c_str(), &status) == 0)
        modes.push_back(status.st_mode & 0777);
    }
  }
  std::vector<mode_t> modes;

 private:
  std::filesystem::path folder_;
};

TEST_F(SceneKeeping, OnlyItsOwnerMayReadTheNewSceneWhileItIsWritten) {
  ASSERT_EQ(chmod(Scene().c_str(), 0644), 0);
  TemporaryWatch watch(folder_.Path(""));
  EXPECT_EQ(Failure(watch), u"");
  EXPECT_EQ(watch.modes, std::vector<mode_t>{0600});
  EXPECT_EQ(Status().st_mode & 0777, 0644u);
}

}  // namespace
