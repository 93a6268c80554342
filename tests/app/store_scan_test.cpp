// Scans with the store of sizes against scans without it, over a tree of a few hundred
// images changed in every way that keeps or changes a file's stamp: the scenes must be the
// same, byte for byte.
#include <cerrno>
#include <filesystem>
#include <string>

#include "app/scene/size_store.h"
#include "fs/fault_seam.h"
#include "support/test_images.h"
#include "tests/app/scene_test_support.h"

namespace {

namespace stdfs = std::filesystem;

// The store is told that the scan starts later than it does, so that the files the test
// has just made count as settled and are kept.
int64_t Later() { return SizeStore::SystemClock() + int64_t{10} * 1'000'000'000; }

// A BMP (recognised by its content whatever its name) of 24 bits: w x h and h x w have
// the same byte size where both rows are whole words.
std::string Bmp(int width, int height) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  const Bytes bytes = MakeBmp(width, height, 24, 0, {}, Bytes(stride * height, 0x40));
  return std::string(bytes.begin(), bytes.end());
}

int RefuseEveryImage(FaultPoint point, const std::u16string& path) {
  return point == FaultPoint::OpenFile && path.ends_with(u".png") ? EIO : 0;
}
int ReadOnlyStore(FaultPoint point, const std::u16string&) { return point == FaultPoint::OpenDatabase ? 1 : 0; }

class StoreScan : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    for (int folder = 0; folder < 6; ++folder) {
      stdfs::create_directory(tree_.Path("d" + std::to_string(folder)));
      for (int image = 0; image < 20; ++image) {
        const std::string name = "d" + std::to_string(folder) + "/i" + std::to_string(image);
        if (image % 3 == 0) {
          tree_.Put(name + ".png", Bmp(4 + image % 4 * 4, 8));
        } else {
          tree_.Put(name + ".png", EncodeTestPng(1 + image, 1 + folder));
        }
      }
    }
  }
  void TearDown() override {
    FaultHookSet(nullptr);
    SceneTest::TearDown();
  }

  // The scene with the store, opened afresh as each run of a program opens it.
  std::string WithStore() {
    SizeStore store(cache_.Text() + u"/", Later);
    RecordingObserver observer;
    const std::string scene = ScanToText(tree_.Text() + u"/", observer, {MeasureMode::Exact, 0, &store}).first;
    warning_ = store.TakeWarning();
    return scene;
  }
  std::string WithoutStore() {
    RecordingObserver observer;
    return ScanToText(tree_.Text() + u"/", observer).first;
  }
  // A file's content replaced, its size and modification time as they were.
  void Rewrite(const std::string& name, const std::string& bytes) {
    const auto modified = stdfs::last_write_time(tree_.Path(name));
    ASSERT_EQ(bytes.size(), stdfs::file_size(tree_.Path(name))) << name;
    tree_.Put(name, bytes);
    stdfs::last_write_time(tree_.Path(name), modified);
  }

  TempFolder tree_;
  TempFolder cache_;
  std::u16string warning_;
};

TEST_F(StoreScan, GivesTheSceneOfAScanWithoutItWhateverChanged) {
  const std::string first = WithStore();
  ASSERT_EQ(first, WithoutStore());
  ASSERT_NE(first.find("d5/i19.png\", 20, 6 )"), std::string::npos);
  // Sizes kept are written without the files being opened.
  FaultHookSet(RefuseEveryImage);
  EXPECT_EQ(WithStore(), first);
  EXPECT_NE(WithoutStore(), first);
  FaultHookSet(nullptr);

  // Other dimensions at the same byte size and modification time; a damaged image in
  // place of a sound one, the same again.
  Rewrite("d0/i0.png", Bmp(8, 4));
  Rewrite("d0/i3.png", std::string(stdfs::file_size(tree_.Path("d0/i3.png")), 'x'));
  // Renamed, new and removed images; a file replaced by a hard link to another image;
  // a folder moved into another.
  stdfs::rename(tree_.Path("d2/i1.png"), tree_.Path("d2/renamed.png"));
  tree_.Put("d2/new.png", EncodeTestPng(77, 7));
  stdfs::remove(tree_.Path("d2/i2.png"));
  stdfs::remove(tree_.Path("d3/i4.png"));
  stdfs::create_hard_link(tree_.Path("d3/i19.png"), tree_.Path("d3/i4.png"));
  stdfs::rename(tree_.Path("d4"), tree_.Path("d5/d4"));
  const std::string changed = WithoutStore();
  EXPECT_NE(changed, first);
  EXPECT_NE(changed.find("d0/i0.png\", 8, 4 )"), std::string::npos);
  EXPECT_NE(changed.find("d0/i3.png\", 1, 1 )"), std::string::npos);
  EXPECT_EQ(WithStore(), changed);
  EXPECT_EQ(WithStore(), changed);
  EXPECT_EQ(warning_, u"");
}

TEST_F(StoreScan, AStoreThatCannotBeUsedCostsOnlyTime) {
  const std::string expected = WithoutStore();
  ASSERT_EQ(WithStore(), expected);
  // Every file of the store overwritten with garbage.
  for (const char* file : {"sizes.sqlite", "sizes.sqlite-wal", "sizes.sqlite-shm"}) {
    cache_.Put(file, std::string(70000, '\x5a'));
  }
  EXPECT_EQ(WithStore(), expected);
  EXPECT_NE(warning_.find(u"damaged"), std::u16string::npos);
  EXPECT_EQ(WithStore(), expected);
  EXPECT_EQ(warning_, u"");
  // A store that cannot be written, with images changed since it was.
  FaultHookSet(ReadOnlyStore);
  Rewrite("d0/i0.png", Bmp(8, 4));
  stdfs::remove(tree_.Path("d1/i1.png"));
  EXPECT_EQ(WithStore(), WithoutStore());
  EXPECT_NE(warning_.find(u"cannot be written"), std::u16string::npos);
}

}  // namespace
