#pragma once
// A window with a folder tree, over folders the test makes on Wine's Unix root (drive
// Z:) or, without it, in the temporary folder.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/ui/test_window_flags.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/folder_tree.h"

// The drive letters the tests define for themselves, each test its own.
inline constexpr char16_t kTestLetters[] = {u'Q', u'R', u'S'};
inline constexpr uint32_t kTestLetterUnits = (1u << (u'Q' - u'A')) | (1u << (u'R' - u'A')) | (1u << (u'S' - u'A'));

class FolderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const bool unix_root = GetLogicalDrives() & (1u << 25);
    const std::filesystem::path base =
        unix_root ? std::filesystem::path(L"Z:\\tmp") : std::filesystem::temp_directory_path();
    static int made = 0;
    folder_ = base / (L"imagescan-tree-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made));
    std::filesystem::create_directories(folder_);
    ASSERT_NE(WindowCreate(0, 0, 0, 600, 600, u"", kTestWindowFlags), 0);
    Drain();
  }
  void TearDown() override {
    WindowCloseAll();
    Drain();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // The application's tree: number 1 at 10, 10, 200 x 300.
  HWND Create(const std::u16string& path = u"", uint32_t flags = 0) {
    if (FolderTreeCreate(1, 10, 10, 200, 300, path, flags) == 0) return nullptr;
    return Tree();
  }
  static HWND Tree() { return ControlFind(1)->handle; }

  // The test's folder ("Z:\tmp\imagescan-tree-...") with `name` below it, as the tree
  // spells it: a folder's path ends in "\".
  std::u16string Path(const std::wstring& name = L"") const {
    const std::wstring path = name.empty() ? folder_.wstring() : (folder_ / name).wstring();
    return std::u16string(path.begin(), path.end());
  }
  void MakeFolder(const std::wstring& name) const { std::filesystem::create_directories(folder_ / name); }
  void MakeFile(const std::wstring& name) const {
    const HANDLE file = CreateFileW((folder_ / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }

  static HTREEITEM Next(HTREEITEM node, WPARAM how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(Tree(), TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(node)));
  }
  static HTREEITEM Computer() { return Next(nullptr, TVGN_ROOT); }
  static HTREEITEM Selected() { return Next(nullptr, TVGN_CARET); }
  static std::vector<HTREEITEM> Children(HTREEITEM node) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = Next(node, TVGN_CHILD); child; child = Next(child, TVGN_NEXT)) children.push_back(child);
    return children;
  }
  static std::u16string Text(HTREEITEM node) {
    wchar_t text[1024] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(text);
  }
  static std::vector<std::u16string> ChildTexts(HTREEITEM node) {
    std::vector<std::u16string> texts;
    for (HTREEITEM child : Children(node)) texts.push_back(Text(child));
    return texts;
  }
  static HTREEITEM Child(HTREEITEM node, const std::u16string& text) {
    for (HTREEITEM child : Children(node))
      if (Text(child) == text) return child;
    return nullptr;
  }
  static TVITEMW Item(HTREEITEM node) {
    TVITEMW item = {};
    item.mask = TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE | TVIF_IMAGE | TVIF_HANDLE;
    item.stateMask = TVIS_EXPANDED;
    item.hItem = node;
    SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item;
  }
  static int64_t Parameter(HTREEITEM node) { return static_cast<int64_t>(Item(node).lParam); }
  static bool IsOpen(HTREEITEM node) { return Item(node).state & TVIS_EXPANDED; }
  static bool HasButton(HTREEITEM node) { return Item(node).cChildren != 0; }
  // Opens the node as a click on its button does: the tree asks its window first.
  static void Open(HTREEITEM node) { SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node)); }
  static void Select(HTREEITEM node) {
    SendMessageW(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
  }
  // The middle of the node's text, in the tree's client coordinates.
  static POINT Centre(HTREEITEM node) {
    RECT box = {};
    *reinterpret_cast<HTREEITEM*>(&box) = node;
    SendMessageW(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&box));
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  }
  // The text of a node once it is selected.
  static std::u16string PathOf(HTREEITEM node) {
    Select(node);
    return ControlGetText(1);
  }
  // The drive node of a letter; null for none.
  static HTREEITEM Drive(char16_t letter) {
    for (HTREEITEM child : Children(Computer()))
      if (Parameter(child) % 0x100 == letter - u'A') return child;
    return nullptr;
  }

  // Dispatches what is pending and takes every queued event; returns the details of the
  // ControlEvents of the tree, in order.
  static std::vector<int64_t> Drain() {
    std::vector<int64_t> details;
    for (const SeenControlEvent& seen : DrainControlEvents())
      if (seen.object == 1 && seen.window == 0) details.push_back(seen.detail);
    return details;
  }

 private:
  std::filesystem::path folder_;
};
