// Drives of the folder tree coming and going, and the notice of a drive that is not ready.
#include <dbt.h>

#include "tests/ui/win32/folder_tree_test_support.h"

namespace {

constexpr char16_t kLetter = u'Q';

// A drive letter of the test's own, for a folder (that need not exist), gone with it.
class TestDrive {
 public:
  explicit TestDrive(const std::u16string& target) {
    present_ = DefineDosDeviceW(0, L"Q:", reinterpret_cast<const wchar_t*>(target.c_str()));
  }
  ~TestDrive() { Remove(); }
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;
  bool Present() const { return present_ && (GetLogicalDrives() & (1u << (kLetter - u'A'))); }
  void Remove() {
    if (present_) DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    present_ = false;
  }

 private:
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
constexpr uint32_t kUnit = 1u << (kLetter - u'A');

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
  MakeFolder(L"sub\\inner");
  TestDrive drive(Path());
  ASSERT_TRUE(drive.Present());
  drive.Remove();
  Create();
  ASSERT_EQ(Drive(kLetter), nullptr);

  // Arrival: a new node at the end, which opens on the drive's folders.
  TestDrive again(Path());
  DeviceChange(DBT_DEVICEARRIVAL, kUnit);
  ASSERT_NE(Drive(kLetter), nullptr);
  EXPECT_EQ(Children(Computer()).back(), Drive(kLetter));
  FolderTreeNavigate(1, u"Q:\\sub\\inner\\");
  EXPECT_EQ(ControlGetText(1), u"Q:\\sub\\inner\\");
  Drain();

  // Other devices, and a removal of a volume on another letter, change nothing.
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, kUnit, DBT_DEVTYP_PORT);
  DeviceChange(DBT_DEVICEARRIVAL, 1u << 1);
  SendMessageW(WindowHandle(0), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  EXPECT_EQ(ControlGetText(1), u"Q:\\sub\\inner\\");
  EXPECT_TRUE(Drain().empty());

  // A volume taken out of a drive that stays: the node closes and forgets what it
  // showed; the selection inside it moves onto it.
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, kUnit);
  const HTREEITEM node = Drive(kLetter);
  ASSERT_NE(node, nullptr);
  EXPECT_FALSE(IsOpen(node));
  EXPECT_TRUE(Children(node).empty());
  EXPECT_TRUE(HasButton(node));
  EXPECT_EQ(Parameter(node), kLetter - u'A');
  EXPECT_EQ(ControlGetText(1), u"Q:\\");
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
  // Opened again, it reads its folders anew.
  FolderTreeNavigate(1, u"q:\\sub\\");
  EXPECT_EQ(ControlGetText(1), u"Q:\\sub\\");
  EXPECT_EQ(ChildTexts(Selected()), std::vector<std::u16string>{u"inner"});
  Drain();

  // The drive gone: its node goes, and the selection with it to the computer node.
  again.Remove();
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, kUnit);
  EXPECT_EQ(Drive(kLetter), nullptr);
  EXPECT_EQ(Selected(), Computer());
  EXPECT_EQ(ControlGetText(1), u"");
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});

  // A refresh finds what changed without a message: drives and the open folders.
  TestDrive third(Path());
  FolderTreeRefresh(1);
  ASSERT_NE(Drive(kLetter), nullptr);
  FolderTreeNavigate(1, u"Q:\\sub\\");
  Select(Child(Selected(), u"inner"));
  Drain();
  RemoveDirectoryW(reinterpret_cast<const wchar_t*>(Path(L"sub\\inner").c_str()));
  MakeFolder(L"sub\\new");
  FolderTreeRefresh(1);
  EXPECT_EQ(ControlGetText(1), u"Q:\\sub\\");
  EXPECT_EQ(ChildTexts(Selected()), std::vector<std::u16string>{u"new"});
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
  third.Remove();
  FolderTreeRefresh(1);
  EXPECT_EQ(Drive(kLetter), nullptr);
  EXPECT_EQ(ControlGetText(1), u"");
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
}

TEST_F(FolderTreeTest, UnreadyDriveShowsANoticeUntilClosedOrArrived) {
  // A drive whose folder is missing cannot be read, as a drive without its disc.
  TestDrive drive(Path(L"absent"));
  ASSERT_TRUE(drive.Present());
  const HWND tree = Create();
  const HTREEITEM node = Drive(kLetter);
  ASSERT_NE(node, nullptr);
  Open(node);
  HWND notice = Notice();
  ASSERT_NE(notice, nullptr);
  EXPECT_NE(NoticeText(notice).find(u"Q:"), std::u16string::npos);
  EXPECT_NE(SendDlgItemMessageW(notice, 12297, STM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_FALSE(IsWindowEnabled(tree));
  // Left unfilled and closed, so that opening it again tries again.
  EXPECT_FALSE(IsOpen(node));
  EXPECT_TRUE(Children(node).empty());
  EXPECT_TRUE(HasButton(node));

  // Its button closes it.
  SendMessageW(GetDlgItem(notice, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(tree));

  // The drive's arrival closes it; the drive then opens.
  Open(Drive(kLetter));
  ASSERT_NE(Notice(), nullptr);
  MakeFolder(L"absent\\inside");
  DeviceChange(DBT_DEVICEARRIVAL, kUnit);
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(tree));
  Open(Drive(kLetter));
  EXPECT_EQ(ChildTexts(Drive(kLetter)), std::vector<std::u16string>{u"inside"});
  RemoveDirectoryW(reinterpret_cast<const wchar_t*>(Path(L"absent\\inside").c_str()));
  RemoveDirectoryW(reinterpret_cast<const wchar_t*>(Path(L"absent").c_str()));

  // So do a navigation and its close box.
  FolderTreeNavigate(1, u"");
  Open(Drive(kLetter));
  ASSERT_NE(Notice(), nullptr);
  FolderTreeNavigate(1, u"");
  EXPECT_EQ(Notice(), nullptr);
  Open(Drive(kLetter));
  ASSERT_NE(Notice(), nullptr);
  SendMessageW(Notice(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(tree));

  // A tree that goes takes its notice along. With flag 0x4 there is none.
  Open(Drive(kLetter));
  ASSERT_NE(Notice(), nullptr);
  const HWND quiet = Create(u"", kFolderTreeNoNotice);
  EXPECT_EQ(Notice(), nullptr);
  Open(Drive(kLetter));
  EXPECT_EQ(Notice(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(quiet));
  // So does its window.
  Create();
  Open(Drive(kLetter));
  ASSERT_NE(Notice(), nullptr);
  WindowClose(0);
  EXPECT_EQ(Notice(), nullptr);
}

}  // namespace
