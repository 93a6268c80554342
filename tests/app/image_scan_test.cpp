#include "app/scene/image_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "app/scene/process_command.h"
#include "app/scene/process_report.h"
#include "app/scene/scene_file_writer.h"
#include "app/scene/scene_format.h"
#include "app/scene/scene_report.h"
#include "fs/path_ops.h"
#include "fs/system_errors.h"
#include "scene_test_support.h"
#include "support/folder_link.h"
#include "support/scene_expectations.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

namespace {

// Every report in the order it came, folders and images alike.
class SequenceObserver : public ScanObserver {
 public:
  void ImageFound(const std::u16string& relative_path, ImageSize) override {
    events.push_back(u"image " + relative_path);
  }
  void FolderEntered(const std::u16string& directory) override { events.push_back(u"folder " + directory); }
  std::vector<std::u16string> events;
};

// Stops the scan at the first question after `limit` images were reported.
class StoppingObserver : public ScanObserver {
 public:
  explicit StoppingObserver(size_t limit) : limit_(limit) {}
  void ImageFound(const std::u16string&, ImageSize) override { ++images; }
  bool ScanContinues() override {
    ++asked;
    if (images < limit_) return true;
    if (images_at_stop < 0) images_at_stop = static_cast<int64_t>(images);
    return false;
  }
  size_t images = 0;
  int asked = 0;
  int64_t images_at_stop = -1;

 private:
  size_t limit_;
};

// Images of many sizes in nested folders, a slow one first so that later ones are done
// before it, and damaged ones between them.
std::map<std::string, std::pair<int, int>> PutManyImages(const TempFolder& folder) {
  std::map<std::string, std::pair<int, int>> sizes;
  folder.Put("big.png", EncodeTestPng(800, 600));
  sizes["big.png"] = {800, 600};
  for (int f = 0; f < 6; ++f) {
    const std::string sub = "f" + std::to_string(f) + (f % 2 ? "/deeper/" : "/");
    stdfs::create_directories(folder.Path(sub));
    for (int i = 0; i < 20; ++i) {
      const int w = 1 + (i * 7 + f) % 40, h = 1 + (i * 3 + f * 5) % 30;
      const std::string name = sub + std::to_string(i);
      switch (i % 4) {
        case 0:
          folder.Put(name + ".png", EncodeTestPng(w, h));
          sizes[name + ".png"] = {w, h};
          break;
        case 1:
          folder.Put(name + ".jpg", EncodeTestJpeg(w * 10, h * 10));
          sizes[name + ".jpg"] = {w * 10, h * 10};
          break;
        case 2:
          folder.Put(name + ".gif", EncodeTestGif(w, h));
          sizes[name + ".gif"] = {w, h};
          break;
        case 3:
          folder.Put(name + ".png", EncodeTestPng(w, h).substr(0, 40));
          break;  // cut short: 1 x 1
      }
    }
  }
  return sizes;
}

TEST_F(ImageScanTest, WritesOneLinePerImageDepthFirstInListingOrder) {
  TempFolder folder;
  folder.Put("a.png", EncodeTestPng(640, 480));
  stdfs::create_directories(folder.Path("trip/day2"));
  folder.Put("trip/b.jpg", EncodeTestJpeg(32, 16));
  folder.Put("trip/day2/c.gif", EncodeTestGif(20, 10));
  folder.Put("trip/sky.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 2\n\x01\x02\x03\x04");
  folder.Put("notes.txt", "not an image");
  folder.Put("UPPER.PNG", EncodeTestPng(5, 5));
  folder.Put("photo.jpeg", EncodeTestJpeg(8, 8));
  folder.Put("png", EncodeTestPng(3, 2));             // no dot needed
  folder.Put("broken.gif", "GIF89a but not really");  // no decoder takes it: 1 x 1
  folder.Put("x.jpg", EncodeTestPng(7, 9));           // the content decides, not the name
  stdfs::create_directory(folder.Path("empty"));

  RecordingObserver observer;
  const auto [lines, ok] = ScanToText(folder.Text() + u"/", observer);
  ASSERT_TRUE(ok);
  std::vector<std::string> order;
  const std::string expected = ExpectedLines(folder.Path(""),
                                             {{"a.png", {640, 480}},
                                              {"trip/b.jpg", {32, 16}},
                                              {"trip/day2/c.gif", {20, 10}},
                                              {"png", {3, 2}},
                                              {"x.jpg", {7, 9}}},
                                             &order);
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(order.size(), 7u);  // a.png b.jpg c.gif sky.hdr png broken.gif x.jpg
  ASSERT_EQ(observer.images.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(observer.images[i], TextFromEscapedBytes(order[i]));
}

TEST_F(ImageScanTest, ManyWorkersWriteTheBytesAndReportsOfOneWorker) {
  TempFolder folder;
  const auto sizes = PutManyImages(folder);
  const std::string expected = ExpectedLines(folder.Path(""), sizes);
  std::vector<std::u16string> one_worker_events;
  for (const int workers : {1, 0}) {
    SequenceObserver observer;
    const auto [lines, ok] = ScanToText(folder.Text() + u"/", observer, {MeasureMode::Exact, workers});
    ASSERT_TRUE(ok);
    EXPECT_EQ(lines, expected) << workers << " workers";
    if (workers == 1) one_worker_events = observer.events;
    EXPECT_EQ(observer.events, one_worker_events);
  }
  EXPECT_EQ(one_worker_events.size(), 1 + 6 + 3 + 121u);  // folders and images
}

TEST_F(ImageScanTest, AnObserverStopsTheScanAndTheSafeWriterKeepsTheOldFile) {
  TempFolder folder;
  PutManyImages(folder);
  folder.Put("image_scan.pov", "the scene of an earlier run");
  for (const size_t limit : {0u, 1u, 50u}) {
    StoppingObserver observer(limit);
    const int64_t file = FileCreate(kAutoNumber, folder.Text("lines"), 0);
    LineWriter writer(file, observer);
    const ScanResult result = ImageScan(folder.Text() + u"/", folder.Text() + u"/", writer);
    FileClose(file);
    EXPECT_TRUE(result.stopped);
    // Nothing more after the answer that stopped it.
    EXPECT_EQ(observer.images_at_stop, static_cast<int64_t>(observer.images));
    EXPECT_EQ(result.images, observer.images_at_stop);
    const std::string lines = folder.Get("lines");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), result.images);
  }
  stdfs::remove(folder.Path("lines"));

  StoppingObserver stop_at_once(0);
  const SceneFileResult stopped = WriteSceneFileSafely(folder.Text() + u"/", stop_at_once);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.system_error, 0);
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");
  // No temporary file is left beside it.
  for (const auto& entry : stdfs::directory_iterator(folder.Path(""))) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
  }

  // An observer that never stops is asked all the same, and the scan runs to its end.
  StoppingObserver never(1000);
  EXPECT_FALSE(WriteSceneFileSafely(folder.Text() + u"/", never).stopped);
  EXPECT_GT(never.asked, 0);
  EXPECT_EQ(never.images, 121u);
}

TEST_F(ImageScanTest, WalksATreeOfLinksOnceAndEveryFolderReachedWithoutALink) {
  // Twenty folders, each with two links to the next: followed blindly, 2^20 walks.
  constexpr int kLevels = 20;
  TempFolder folder;
  for (int level = 0; level < kLevels; ++level) {
    const std::string name = "level" + std::to_string(level);
    stdfs::create_directory(folder.Path(name));
    folder.Put(name + "/i.gif", EncodeTestGif(level + 1, 1));
    if (level + 1 == kLevels) continue;
    for (const char* link : {"a", "b"}) {
      if (!MakeFolderLink(folder.Path("level" + std::to_string(level + 1)), folder.Path(name + "/" + link)))
        GTEST_SKIP() << "this system makes no links";
    }
  }
  RecordingObserver observer;
  const auto [lines, ok] = ScanToText(folder.Text() + u"/", observer);
  ASSERT_TRUE(ok);
  std::map<int, int> seen;  // width (level + 1) -> lines
  for (size_t at = lines.find("add_image"); at != std::string::npos; at = lines.find("add_image", at + 1))
    ++seen[std::stoi(lines.substr(lines.find(", ", at) + 2))];
  for (int level = 0; level < kLevels; ++level) {
    const std::string name = "level" + std::to_string(level);
    // Once where it stands, at most once more through a link.
    EXPECT_NE(lines.find(Line(name + "/i.gif", level + 1, 1)), std::string::npos) << name;
    EXPECT_GE(seen[level + 1], 1) << name;
    EXPECT_LE(seen[level + 1], 2) << name;
  }
  EXPECT_LE(observer.folders.size(), 2u * kLevels);
}

TEST_F(ImageScanTest, BaseLengthCutsTheRelativePathAndSeparatorsAreAdded) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("d"));
  folder.Put("d/i.png", EncodeTestPng(2, 2));
  RecordingObserver observer;
  // Without a final separator the first level adds "/", so relative paths start with it.
  const auto [lines, ok] = ScanToText(folder.Text(), observer);
  ASSERT_TRUE(ok);
  EXPECT_EQ(lines, Line("/d/i.png", 2, 2));
  // A file's path gets "/" appended and lists nothing.
  RecordingObserver none;
  EXPECT_EQ(ScanToText(folder.Text() + u"/d/i.png", none).first, "");
  EXPECT_TRUE(none.images.empty());
}

TEST_F(ImageScanTest, ProcessWritesTheSameFileEachTimeAndReportsEveryRun) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("pics"));
  folder.Put("pics/a.png", EncodeTestPng(640, 480));
  folder.Put("pics/b.gif", EncodeTestGif(3, 4));
  folder.Put("pics/IMG_0001.JPG", EncodeTestJpeg(4, 4));
  folder.Put("pics/c.Jpeg", "");
  folder.Put("pics/xPNG", "");  // no dot: neither scanned nor hinted at
  RecordingObserver observer;
  const std::u16string selected = folder.Text("pics") + u"/";
  const ProcessResult run = ProcessFolder(selected, observer);
  ASSERT_TRUE(run.ran);
  EXPECT_EQ(ProcessFailureText(run), u"");
  const std::string first = folder.Get("pics/image_scan.pov");
  ProcessFolder(selected, observer);
  EXPECT_EQ(folder.Get("pics/image_scan.pov"), first);
  EXPECT_EQ(first, Scene(ExpectedLines(folder.Path("pics"), {{"a.png", {640, 480}}, {"b.gif", {3, 4}}})));
  EXPECT_EQ(observer.images.size(), 4u);
  const std::u16string scene = selected + u"image_scan.pov";
  EXPECT_EQ(ProcessSummaryRows(run),
            (std::vector<std::u16string>{u"2 images written to " + scene,
                                         u"2 files skipped (IMG_0001.JPG and c.Jpeg): only names ending in png, jpg, "
                                         u"gif or hdr (lower case) are scanned"}));

  // No images: header and footer only, and one row. Empty selection: nothing at all.
  stdfs::create_directory(folder.Path("none"));
  const ProcessResult none = ProcessFolder(folder.Text("none") + u"/", observer);
  EXPECT_EQ(folder.Get("none/image_scan.pov"), Scene(""));
  EXPECT_EQ(ProcessSummaryRows(none), std::vector<std::u16string>{u"0 images written to " + none.scene.path});
  const ProcessResult empty = ProcessFolder(u"", observer);
  EXPECT_FALSE(empty.ran);
  EXPECT_TRUE(ProcessSummaryRows(empty).empty());
}

TEST_F(ImageScanTest, ProcessWritesNothingAndScansNothingWhereTheSceneCannotBeMade) {
  TempFolder folder;
  stdfs::create_directories(folder.Path("blocked/image_scan.pov"));
  folder.Put("blocked/a.png", EncodeTestPng(2, 2));
  RecordingObserver observer;
  const ProcessResult run = ProcessFolder(folder.Text("blocked") + u"/", observer);
  EXPECT_TRUE(observer.images.empty());
  const std::u16string expected =
      u"Cannot write " + folder.Text("blocked") + u"/image_scan.pov: " + SystemErrorText(kIsFolderError);
  EXPECT_EQ(ProcessFailureText(run), expected);
  EXPECT_EQ(ProcessSummaryRows(run), std::vector<std::u16string>{expected});
  EXPECT_EQ(std::distance(stdfs::directory_iterator(folder.Path("blocked")), {}), 2);

  // A folder that cannot take new files: the scene file it would have held is named.
  const std::u16string missing = folder.Text("missing") + u"/";
  EXPECT_EQ(FileCreate(kAutoNumber, missing + u"x", 0), 0);
  const std::u16string reason = SystemErrorText(FileLastError());  // "No such file or directory"
  EXPECT_EQ(ProcessFailureText(ProcessFolder(missing, observer)),
            u"Cannot write " + missing + u"image_scan.pov: " + reason);
}

TEST_F(ImageScanTest, ACancelledProcessSaysWhetherAnEarlierSceneIsKept) {
  TempFolder folder;
  stdfs::create_directories(folder.Path("pics/sub"));
  for (int i = 0; i < 20; ++i) folder.Put("pics/sub/i" + std::to_string(i) + ".png", EncodeTestPng(2, 2));
  folder.Put("pics/image_scan.pov", "the earlier scene");
  StoppingObserver observer(0);
  const ProcessResult run = ProcessFolder(folder.Text("pics") + u"/", observer);
  EXPECT_TRUE(run.scene.stopped);
  EXPECT_LT(observer.images, 20u);
  EXPECT_EQ(folder.Get("pics/image_scan.pov"), "the earlier scene");
  EXPECT_EQ(std::distance(stdfs::directory_iterator(folder.Path("pics")), {}), 2);
  EXPECT_EQ(ProcessFailureText(run), u"");
  EXPECT_EQ(ProcessSummaryRows(run),
            std::vector<std::u16string>{u"Scan cancelled: the previous " + run.scene.path + u" is kept"});

  // Without an earlier scene the row says nothing was written.
  stdfs::remove(folder.Path("pics/image_scan.pov"));
  StoppingObserver at_once(0);
  const ProcessResult first = ProcessFolder(folder.Text("pics") + u"/", at_once);
  EXPECT_FALSE(stdfs::exists(folder.Path("pics/image_scan.pov")));
  EXPECT_EQ(ProcessSummaryRows(first),
            std::vector<std::u16string>{u"Scan cancelled: " + first.scene.path + u" was not written"});
}

TEST_F(ImageScanTest, SummaryWarnsAboutTheTableOnlyBeyondItsRows) {
  ProcessResult run;
  run.ran = true;
  run.scene.path = u"/p/image_scan.pov";
  run.scene.images = 2000;
  EXPECT_EQ(ProcessSummaryRows(run).size(), 1u);
  run.scene.images = 2001;
  run.scene.skipped_names.Add(u"IMG_0001.JPG");
  EXPECT_EQ(ProcessSummaryRows(run),
            (std::vector<std::u16string>{
                u"2001 images written to /p/image_scan.pov",
                u"Warning: /p/image_scan.pov lists 2001 images; the scene's table holds 2000 rows",
                u"1 file skipped (IMG_0001.JPG): only names ending in png, jpg, gif or hdr (lower case) are scanned"}));
  run.scene.images = 1;
  run.scene.skipped_names = {};
  EXPECT_EQ(ProcessSummaryRows(run), std::vector<std::u16string>{u"1 image written to /p/image_scan.pov"});
}

TEST(SkippedNamesHint, NamesTheFirstTwoInOrderAndCountsTheRest) {
  const auto hint = [](const std::vector<std::u16string>& names) {
    SkippedNames skipped;
    for (const std::u16string& name : names) skipped.Add(name);
    EXPECT_LE(skipped.named.size(), SkippedNames::kNamed);
    const std::u16string text = SkippedNamesHint(skipped);
    const std::u16string tail = u": only names ending in png, jpg, gif or hdr (lower case) are scanned";
    EXPECT_TRUE(names.empty() || text.ends_with(tail)) << std::string(text.begin(), text.end());
    return text.substr(0, text.size() - (names.empty() ? 0 : tail.size()));
  };
  EXPECT_EQ(hint({}), u"");
  EXPECT_EQ(hint({u"IMG_0001.JPG"}), u"1 file skipped (IMG_0001.JPG)");
  EXPECT_EQ(hint({u"photo.jpeg", u"IMG_0001.JPG"}), u"2 files skipped (IMG_0001.JPG and photo.jpeg)");
  EXPECT_EQ(hint({u"photo.jpeg", u"b.PNG", u"IMG_0001.JPG"}), u"3 files skipped (IMG_0001.JPG, b.PNG and 1 more)");
  // The same two, whatever order the folder is listed in.
  std::vector<std::u16string> many;
  for (int i = 41; i >= 0; --i) many.push_back(u"IMG_" + std::u16string(2, u'A' + i % 26) + u".JPG");
  EXPECT_EQ(hint(many), u"42 files skipped (IMG_AA.JPG, IMG_AA.JPG and 40 more)");
  std::reverse(many.begin(), many.end());
  many.push_back(u"DSC.JPG");
  EXPECT_EQ(hint(many), u"43 files skipped (DSC.JPG, IMG_AA.JPG and 41 more)");
  // Names stand as they are, whatever they hold.
  EXPECT_EQ(hint({u"a, b and c.JPG", u"line\nfeed\u00e9.GIF"}),
            u"2 files skipped (a, b and c.JPG and line\nfeed\u00e9.GIF)");
}

TEST_F(ImageScanTest, SafeWriterReplacesTheSceneWholeOrLeavesNothingBehind) {
  TempFolder folder;
  stdfs::create_directory(folder.Path("pics"));
  folder.Put("pics/a.png", EncodeTestPng(64, 48));
  folder.Put("pics/c.jpg", EncodeTestJpeg(10, 20));
  folder.Put("pics/image_scan.pov", std::string(100000, 'x'));  // longer than the new one
  RecordingObserver observer;
  const std::u16string pics = folder.Text("pics") + u"/";
  const SceneFileResult result = WriteSceneFileSafely(pics, observer);
  EXPECT_EQ(result.system_error, 0);
  EXPECT_EQ(result.images, 2);
  EXPECT_EQ(result.path, pics + u"image_scan.pov");
  EXPECT_EQ(folder.Get("pics/image_scan.pov"),
            Scene(ExpectedLines(folder.Path("pics"), {{"a.png", {64, 48}}, {"c.jpg", {10, 20}}})));
  EXPECT_EQ(std::distance(stdfs::directory_iterator(folder.Path("pics")), {}), 3);

  // A file selected instead of a folder: the scene goes beside it under the joined name.
  const SceneFileResult beside = WriteSceneFileSafely(pics + u"a.png", observer);
  EXPECT_EQ(beside.system_error, 0);
  EXPECT_EQ(folder.Get("pics/a.pngimage_scan.pov"), Scene(""));
  EXPECT_EQ(std::distance(stdfs::directory_iterator(folder.Path("pics")), {}), 4);
}

}  // namespace
