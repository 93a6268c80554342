// The folder tree over a real tree view, driven with its messages.
#include "tests/ui/win32/folder_tree_test_support.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

namespace {

std::u16string ShellName(const wchar_t* path) {
  SHFILEINFOW info = {};
  SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_DISPLAYNAME);
  return reinterpret_cast<const char16_t*>(info.szDisplayName);
}

TEST_F(FolderTreeTest, StartsWithComputerOpenDrivesInLetterOrderThenDocuments) {
  const HWND tree = Create();
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(GetParent(tree), WindowHandle(0));
  EXPECT_EQ(GetWindowLongPtrW(tree, GWL_STYLE) & 0xFFFF, TVS_HASLINES | TVS_HASBUTTONS);
  EXPECT_TRUE(GetWindowLongPtrW(tree, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  // The shell's own list of small icons.
  SHFILEINFOW info = {};
  const auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), images);

  const HTREEITEM computer = Computer();
  ASSERT_NE(computer, nullptr);
  EXPECT_EQ(Next(computer, TVGN_NEXT), nullptr);
  EXPECT_TRUE(IsOpen(computer));
  EXPECT_EQ(Parameter(computer), 0xFFFB);
  // (Leaving out the letters that other tests define meanwhile.)
  std::vector<int64_t> kinds;
  for (HTREEITEM child : Children(computer))
    if (Parameter(child) >= 32 || !(kTestLetterUnits & (1u << Parameter(child)))) kinds.push_back(Parameter(child));
  std::vector<int64_t> expected;
  for (int64_t drive = 0; drive < 32; ++drive)
    if (GetLogicalDrives() & ~kTestLetterUnits & (1u << drive)) expected.push_back(drive);
  expected.push_back(0xFD);
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(Text(Drive(u'C')), ShellName(L"C:\\"));

  // Nothing selected: empty text, state 0; no event before the user acts.
  EXPECT_EQ(ControlGetText(1), u"");
  EXPECT_EQ(ControlGetState(1), 0);
  EXPECT_TRUE(Drain().empty());

  EXPECT_EQ(PathOf(computer), u"");
  EXPECT_EQ(ControlGetState(1), 2);
  EXPECT_EQ(PathOf(Drive(u'C')), u"C:\\");
  wchar_t documents[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
  EXPECT_EQ(PathOf(Children(computer).back()), reinterpret_cast<const char16_t*>(documents) + std::u16string(u"\\"));
  EXPECT_EQ(Text(Children(computer).back()), ShellName(documents));

  // Flag 0x1 leaves the documents node out; 0x10 the sunken edge.
  Create(u"", kFolderTreeNoDocuments | kFolderTreeNoEdge);
  EXPECT_LT(Parameter(Children(Computer()).back()), 32);
  EXPECT_FALSE(GetWindowLongPtrW(Tree(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(FolderTreeTest, OpeningAFolderListsFoldersThenFilesOnce) {
  for (const wchar_t* name : {L"b", L"a", L"empty", L"only files", L"deep\\inner"}) MakeFolder(name);
  for (const wchar_t* name : {L"z.png", L"y.txt", L".hidden", L"only files\\p.png"}) MakeFile(name);
  Create(Path() + u"\\");
  const HTREEITEM folder = Selected();
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(ControlGetText(1), Path() + u"\\");
  EXPECT_TRUE(IsOpen(folder));
  // Folders first, then files, each in the system's order; never "." or "..".
  std::vector<std::u16string> texts = ChildTexts(folder);
  ASSERT_EQ(texts.size(), 8u);
  std::vector<std::u16string> folders(texts.begin(), texts.begin() + 5), files(texts.begin() + 5, texts.end());
  std::sort(folders.begin(), folders.end());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(folders, (std::vector<std::u16string>{u"a", u"b", u"deep", u"empty", u"only files"}));
  EXPECT_EQ(files, (std::vector<std::u16string>{u".hidden", u"y.txt", u"z.png"}));

  // Buttons promise only what opening shows: files count, since the tree shows them.
  EXPECT_FALSE(HasButton(Child(folder, u"empty")));
  EXPECT_TRUE(HasButton(Child(folder, u"deep")));
  EXPECT_TRUE(HasButton(Child(folder, u"only files")));
  // A file's text is its full path; its state 1.
  EXPECT_EQ(PathOf(Child(folder, u"z.png")), Path(L"z.png"));
  EXPECT_EQ(ControlGetState(1), 1);

  // Opened through the tree view, as the user opens it: filled then, and only once.
  const HTREEITEM deep = Child(folder, u"deep");
  Open(deep);
  EXPECT_EQ(ChildTexts(deep), std::vector<std::u16string>{u"inner"});
  EXPECT_EQ(PathOf(Child(deep, u"inner")), Path(L"deep\\inner\\"));
  // Closing it around the selection selects it: what the tree reports stays in sight.
  Select(Child(deep, u"inner"));
  Drain();
  POINT button = {0, Centre(deep).y};
  for (TVHITTESTINFO hit = {}; button.x < Centre(deep).x; ++button.x) {
    hit.pt = button;
    SendMessageW(Tree(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.flags & TVHT_ONITEMBUTTON) break;
  }
  PostMessageW(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.x, button.y));
  PostMessageW(Tree(), WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));
  EXPECT_EQ(Drain(), (std::vector<int64_t>{DetailLeftClick, DetailChange}));
  EXPECT_FALSE(IsOpen(deep));
}

TEST_F(FolderTreeTest, PatternsAndFlagsChooseTheFilesAndTheirOrder) {
  MakeFolder(L"only files");
  MakeFolder(L"sub");
  for (const wchar_t* name : {L"img10.png", L"Img1.PNG", L"img2.png", L"notes.txt", L"only files\\p.txt"})
    MakeFile(name);
  // Sorted: natural order, folders before files.
  Create(Path() + u"\\", kFolderTreeSorted);
  EXPECT_EQ(ChildTexts(Selected()),
            (std::vector<std::u16string>{u"only files", u"sub", u"Img1.PNG", u"img2.png", u"img10.png", u"notes.txt"}));
  // A path with a name after its last "\" takes the name as the pattern list.
  FolderTreeNavigate(1, Path() + u"\\*.png");
  EXPECT_EQ(ControlGetText(1), Path() + u"\\");
  EXPECT_EQ(ChildTexts(Selected()),
            (std::vector<std::u16string>{u"only files", u"sub", u"Img1.PNG", u"img2.png", u"img10.png"}));
  // With nothing that matches, a folder with only other files has no button.
  EXPECT_FALSE(HasButton(Child(Selected(), u"only files")));

  // Folders only: no files, whatever the patterns.
  Create(Path() + u"\\", kFolderTreeFoldersOnly | kFolderTreeSorted);
  EXPECT_EQ(ChildTexts(Selected()), (std::vector<std::u16string>{u"only files", u"sub"}));
  EXPECT_FALSE(HasButton(Child(Selected(), u"only files")));
}

TEST_F(FolderTreeTest, NavigationOpensTheWayMatchingNamesWithoutRegardToCase) {
  MakeFolder(L"Data\\Photos");
  MakeFolder(L"\u00dcber \u2603\\\u00e9t\u00e9 \U0001F600");
  Create();
  Drain();
  // The drive letter in either case.
  std::u16string path = Path(L"Data\\Photos\\");
  path[0] = static_cast<char16_t>(path[0] + 32);
  FolderTreeNavigate(1, path);
  EXPECT_EQ(ControlGetText(1), Path(L"Data\\Photos\\"));
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
  for (HTREEITEM node = Next(Selected(), TVGN_PARENT); node != Computer(); node = Next(node, TVGN_PARENT))
    EXPECT_TRUE(IsOpen(node)) << std::string(Text(node).begin(), Text(node).end());
  // Paths of no drive lead nowhere.
  for (const std::u16string& nowhere :
       {std::u16string(u"\\\\server\\share\\"), std::u16string(u"~\\"), std::u16string(u"C:x\\")}) {
    FolderTreeNavigate(1, nowhere);
    EXPECT_EQ(ControlGetText(1), Path(L"Data\\Photos\\"));
  }
  EXPECT_TRUE(Drain().empty());
  // Names beyond any code page, case folded beyond ASCII.
  FolderTreeNavigate(1, Path(L"\u00fcBER \u2603\\\u00c9T\u00c9 \U0001F600\\"));
  EXPECT_EQ(ControlGetText(1), Path(L"\u00dcber \u2603\\\u00e9t\u00e9 \U0001F600\\"));
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
}

TEST_F(FolderTreeTest, UserActionsReachTheQueueWithTheirDetails) {
  MakeFolder(L"a");
  MakeFolder(L"b");
  const HWND tree = Create(Path() + u"\\", kFolderTreeSorted);
  const HTREEITEM a = Child(Selected(), u"a"), b = Child(Selected(), u"b");
  Drain();
  const LPARAM at_a = MAKELPARAM(Centre(a).x, Centre(a).y);

  // A click reports itself, then the selection it makes.
  PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at_a);
  PostMessageW(tree, WM_LBUTTONUP, 0, at_a);
  EXPECT_EQ(Drain(), (std::vector<int64_t>{DetailLeftClick, DetailChange}));
  EXPECT_EQ(Selected(), a);
  PostMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at_a);
  PostMessageW(tree, WM_LBUTTONUP, 0, at_a);
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailLeftDoubleClick});
  PostMessageW(tree, WM_RBUTTONDBLCLK, MK_RBUTTON, at_a);
  PostMessageW(tree, WM_RBUTTONUP, 0, at_a);
  const std::vector<int64_t> right = Drain();
  EXPECT_NE(std::find(right.begin(), right.end(), DetailRightDoubleClick), right.end());

  // A right click selects the node under the pointer first.
  POINT at_b = Centre(b);
  const LPARAM at_b_client = MAKELPARAM(at_b.x, at_b.y);
  ClientToScreen(tree, &at_b);
  SetCursorPos(at_b.x, at_b.y);
  PostMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, at_b_client);
  PostMessageW(tree, WM_RBUTTONUP, 0, at_b_client);
  EXPECT_EQ(Drain(), (std::vector<int64_t>{DetailChange, DetailRightClick}));
  EXPECT_EQ(Selected(), b);
  Select(a);
  Drain();

  // The keyboard moves the selection.
  PostMessageW(tree, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Drain(), std::vector<int64_t>{DetailChange});
  EXPECT_EQ(Selected(), b);

  // A drag selects its node first.
  NMTREEVIEWW drag = {};
  drag.hdr = {tree, static_cast<UINT_PTR>(GetDlgCtrlID(tree)), TVN_BEGINDRAGW};
  drag.itemNew.hItem = a;
  SendMessageW(GetParent(tree), WM_NOTIFY, drag.hdr.idFrom, reinterpret_cast<LPARAM>(&drag));
  EXPECT_EQ(Drain(), (std::vector<int64_t>{DetailChange, DetailDragStart}));
  EXPECT_EQ(Selected(), a);
}

}  // namespace
