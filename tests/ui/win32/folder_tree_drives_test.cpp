// Drives of the folder tree coming and going, and the notice of a drive that is not ready.
#include "tests/ui/win32/folder_tree_test_support.h"

#include <dbt.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Each test a letter of its own: test programs may run side by side.
constexpr char16_t kArriving = kTestLetters[0], kRefreshed = kTestLetters[1], kUnready = kTestLetters[2];
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

TEST_F(FolderTreeTest, RefreshFollowsDrivesThatCameOrWentWithoutAMessage) {
  MakeFolder(L"sub");
  Create(Path(L"sub\\"));
  Drain();
  TestDrive drive(kRefreshed);
  FolderTreeRefresh(1);
  EXPECT_NE(Drive(kRefreshed), nullptr);
  drive.Remove();
  FolderTreeRefresh(1);
  EXPECT_EQ(Drive(kRefreshed), nullptr);
  EXPECT_EQ(ControlGetText(1), Path(L"sub\\"));
  EXPECT_TRUE(Drain().empty());
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

  // So does its close box.
  FolderTreeNavigate(1, u"");
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  SendMessageW(Notice(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(tree));

  // A tree that goes takes its notice along.
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  Create();
  EXPECT_EQ(Notice(), nullptr);
  // So does its window.
  Create();
  Open(Drive(kUnready));
  ASSERT_NE(Notice(), nullptr);
  WindowClose(0);
  EXPECT_EQ(Notice(), nullptr);
}

}  // namespace
