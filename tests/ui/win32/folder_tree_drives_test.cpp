// Drives of the folder tree coming and going, and the notice of a drive that is not ready.
#include "tests/ui/win32/folder_tree_test_support.h"

#include <dbt.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Each test a letter of its own: test programs may run side by side.
constexpr char16_t kArriving = kTestLetters[0], kRefreshed = kTestLetters[1], kUnready = kTestLetters[2],
                   kFirst = kTestLetters[3];
constexpr uint32_t Unit(char16_t letter) { return 1u << (letter - u'A'); }

// A drive letter of the test's own, gone with it. Under Wine such a letter counts as a
// drive but cannot be read, as a drive without its disc.
class TestDrive {
 public:
  explicit TestDrive(char16_t letter) : name_{static_cast<wchar_t>(letter), L':', 0}, unit_(Unit(letter)) {
    present_ = DefineDosDeviceW(0, name_, L"C:\\imagescan-absent-disc");
  }
  ~TestDrive() { Remove(); }
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;
  bool Present() const { return present_ && (GetLogicalDrives() & unit_); }
  void Remove() {
    if (present_) DefineDosDeviceW(DDD_REMOVE_DEFINITION, name_, nullptr);
    present_ = false;
  }

 private:
  wchar_t name_[3];
  uint32_t unit_;
  bool present_ = false;
};

// What the system tells top-level windows when volumes come or go.
void DeviceChange(WPARAM event, uint32_t units, DWORD type = DBT_DEVTYP_VOLUME) {
  DEV_BROADCAST_VOLUME volume = {};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = type;
  volume.dbcv_unitmask = units;
  SendMessageW(WindowHandle(0), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
}

// The open drive-not-ready notice of the test's window; null for none.
HWND Notice() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) {
        if (GetWindow(window, GW_OWNER) == WindowHandle(0) && IsWindowVisible(window) && GetDlgItem(window, 12291)) {
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::u16string NoticeText(HWND notice) {
  wchar_t text[512] = {};
  GetDlgItemTextW(notice, 12291, text, 512);
  return reinterpret_cast<const char16_t*>(text);
}

TEST_F(FolderTreeTest, DrivesComingAndGoingFollowDeviceChanges) {
  Create();
  ASSERT_EQ(Drive(kArriving), nullptr);

  // Arrival: a new node at the end.
  TestDrive drive(kArriving);
  ASSERT_TRUE(drive.Present());
  DeviceChange(DBT_DEVICEARRIVAL, Unit(kArriving));
  ASSERT_NE(Drive(kArriving), nullptr);
  EXPECT_EQ(Children(Computer()).back(), Drive(kArriving));
  EXPECT_EQ(PathOf(Drive(kArriving)), u"Q:\\");
  Drain();

  // Drive A (parameter 0) counts as selected before it is first opened.
  TestDrive first(kFirst);
  DeviceChange(DBT_DEVICEARRIVAL, Unit(kFirst));
  EXPECT_EQ(PathOf(Drive(kFirst)), u"A:\\");
  EXPECT_EQ(ControlGetState(1), 2);
  first.Remove();
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, Unit(kFirst));
  Select(Drive(kArriving));
  Drain();

  // Other devices, and volumes of other letters, change nothing.
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, Unit(kArriving), DBT_DEVTYP_PORT);
  DeviceChange(DBT_DEVICEARRIVAL, 1u << 1);
  SendMessageW(WindowHandle(0), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  EXPECT_EQ(ControlGetText(1), u"Q:\\");
  EXPECT_TRUE(Drain().empty());

  // The drive gone: its node goes, and the selection on it moves to the computer node.
  drive.Remove();
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, Unit(kArriving));
  EXPECT_EQ(Drive(kArriving), nullptr);
  EXPECT_EQ(Selected(), Computer());
  EXPECT_EQ(ControlGetText(1), u"");
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});

  // A volume taken out of a drive that stays: the node closes and forgets what it
  // showed; a selection inside it moves onto it.
  FolderTreeNavigate(1, u"C:\\windows\\");
  ASSERT_EQ(ControlGetText(1), u"C:\\windows\\");
  Drain();
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, 1u << 2);
  const HTREEITEM c = Drive(u'C');
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(IsOpen(c));
  EXPECT_TRUE(Children(c).empty());
  EXPECT_TRUE(HasButton(c));
  EXPECT_EQ(Parameter(c), 2);
  EXPECT_EQ(ControlGetText(1), u"C:\\");
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
  // Opened again, it reads its folders anew.
  FolderTreeNavigate(1, u"c:\\windows\\");
  EXPECT_EQ(ControlGetText(1), u"C:\\windows\\");
}

TEST_F(FolderTreeTest, RefreshFollowsDrivesAndOpenFoldersKeepingTheSelection) {
  MakeFolder(L"sub\\inner");
  MakeFolder(L"sub\\stays\\deeper");
  Create(Path(L"sub\\stays\\"));
  FolderTreeNavigate(1, Path(L"sub\\inner\\"));
  Drain();
  // Drives that came or went without a message.
  TestDrive drive(kRefreshed);
  FolderTreeRefresh(1);
  EXPECT_NE(Drive(kRefreshed), nullptr);
  drive.Remove();
  FolderTreeRefresh(1);
  EXPECT_EQ(Drive(kRefreshed), nullptr);
  EXPECT_EQ(ControlGetText(1), Path(L"sub\\inner\\"));
  EXPECT_TRUE(Drain().empty());

  // The selected folder gone: the selection moves to its parent, reported once; new
  // folders appear; the open folder that stays keeps its state.
  RemoveDirectoryW(reinterpret_cast<const wchar_t*>(Path(L"sub\\inner").c_str()));
  MakeFolder(L"sub\\new");
  const HTREEITEM stays = Child(Next(Selected(), TVGN_PARENT), u"stays");
  ASSERT_TRUE(IsOpen(stays));
  FolderTreeRefresh(1);
  EXPECT_EQ(ControlGetText(1), Path(L"sub\\"));
  std::vector<std::u16string> children = ChildTexts(Selected());
  std::sort(children.begin(), children.end());
  EXPECT_EQ(children, (std::vector<std::u16string>{u"new", u"stays"}));
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
  EXPECT_EQ(Child(Selected(), u"stays"), stays);
  EXPECT_TRUE(IsOpen(stays));
}

TEST_F(FolderTreeTest, UnreadyDriveShowsANoticeUntilClosedOrArrived) {
  TestDrive drive(kUnready);
  ASSERT_TRUE(drive.Present());
  const HWND tree = Create();
  const HTREEITEM node = Drive(kUnready);
  ASSERT_NE(node, nullptr);
  Open(node);
  HWND notice = Notice();
  ASSERT_NE(notice, nullptr);
  EXPECT_NE(NoticeText(notice).find(u"S:"), std::u16string::npos);
  EXPECT_NE(SendDlgItemMessageW(notice, 12297, STM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_FALSE(IsWindowEnabled(tree));
  // It stands over the tree's window.
  RECT window = {}, box = {};
  GetWindowRect(WindowHandle(0), &window);
  GetWindowRect(notice, &box);
  EXPECT_LE(std::abs((window.left + window.right) - (box.left + box.right)), 2);
  EXPECT_LE(std::abs((window.top + window.bottom) - (box.top + box.bottom)), 2);
  // Left unfilled and closed, so that opening it again tries again.
  EXPECT_FALSE(IsOpen(node));
  EXPECT_TRUE(Children(node).empty());
  EXPECT_TRUE(HasButton(node));

  // Its button closes it.
  SendMessageW(GetDlgItem(notice, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(tree));

  // The drive's arrival closes it, and opening the drive tries again.
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  DeviceChange(DBT_DEVICEARRIVAL, Unit(kUnready));
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(tree));
  Open(Drive(kUnready));
  EXPECT_NE(Notice(), nullptr);

  // So do a navigation and its close box.
  FolderTreeNavigate(1, u"");
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  FolderTreeNavigate(1, u"");
  EXPECT_EQ(Notice(), nullptr);
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  SendMessageW(Notice(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(tree));

  // A tree that goes takes its notice along. With flag 0x4 there is none.
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  const HWND quiet = Create(u"", kFolderTreeNoNotice);
  EXPECT_EQ(Notice(), nullptr);
  Open(Drive(kUnready));
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(quiet));
  // So does its window.
  Create();
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  WindowClose(0);
  EXPECT_EQ(Notice(), nullptr);
}

}  // namespace
