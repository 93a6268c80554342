// The window program on Windows end to end: real start-up, folder tree, buttons and
// scene file, compared with the batch program's; and the program itself as the user
// starts it.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/scene/scene_format.h"
#include "app/window/scene_version_choice.h"
#include "support/test_images.h"
#include "ui/controls.h"
#include "ui/folder_tree.h"
#include "ui/picture_window.h"
#include "ui/settings.h"
#include "ui/win32/window_access.h"
#include "ui/window_title.h"
#include "window_driver.h"

namespace stdfs = std::filesystem;

namespace {

// A path the build wrote for the host: under Wine a Unix path, which the program reads
// through drive Z:.
std::wstring HostPath(const std::string& path) {
  std::wstring wide(path.begin(), path.end());
  if (wide.empty() || wide[0] != L'/') return wide;
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  return L"Z:" + wide;
}

class ScratchFolder {
 public:
  ScratchFolder()
      : path_(stdfs::temp_directory_path() / ("imagescan-window-" + std::to_string(GetCurrentProcessId()))) {
    stdfs::remove_all(path_);
    stdfs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    stdfs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  stdfs::path Path(const std::string& name) const { return path_ / name; }
  void Put(const std::string& name, const std::string& bytes) const {
    stdfs::create_directories(Path(name).parent_path());
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  stdfs::path path_;
};

// Runs a program to its end; its exit code, or -1 when it could not start or did not end.
DWORD RunProgram(const std::wstring& program, const std::wstring& arguments) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
    return static_cast<DWORD>(-1);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// The window's client area as it stands on the screen, controls and all, saved as a
// PNG. (The frame is the window manager's, drawn outside the program.)
void SaveScreenshot(HWND window, const std::wstring& file) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right;
  const int height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* pixels = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HDC window_dc = GetDC(window);
  EXPECT_TRUE(BitBlt(dc, 0, 0, width, height, window_dc, 0, 0, SRCCOPY));
  ReleaseDC(window, window_dc);
  GdiFlush();
  std::vector<Bytes> rows(static_cast<size_t>(height), Bytes(static_cast<size_t>(width) * 3));
  const auto* bgrx = static_cast<const uint8_t*>(pixels);
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < static_cast<size_t>(width); ++x)
      for (size_t c = 0; c < 3; ++c) rows[y][x * 3 + c] = bgrx[(y * static_cast<size_t>(width) + x) * 4 + 2 - c];
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  const Bytes png = EncodePng(MakePngPicture(2, 8, static_cast<uint32_t>(width), rows));  // RGB
  std::ofstream(stdfs::path(file), std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
}

std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

TEST(MainWindowWin32, ProcessWritesTheSameSceneAsTheBatchProgram) {
  ScratchFolder folder;
  folder.Put("pics/a.png", EncodeTestPng(640, 480));
  folder.Put("pics/trip/b.jpg", EncodeTestJpeg(30, 20));
  folder.Put("pics/trip/day2/c.gif", EncodeTestGif(12, 34));
  folder.Put("pics/sky.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n\x80\x80\x80\x80");
  folder.Put("pics/broken.png", EncodeTestPng(8, 8).substr(0, 40));
  folder.Put("pics/readme.txt", "text");
  const std::wstring pics = folder.Path("pics").wstring() + L"\\";

  std::string scene;
  std::wstring selected;
  std::vector<std::wstring> log;
  WindowDriver driver;
  driver.Then([&] { FolderTreeNavigate(kFolderTree, std::u16string(pics.begin(), pics.end())); })
      .Then([&] {
        const std::u16string text = ControlGetText(kFolderTree);
        selected.assign(text.begin(), text.end());
        WindowDriver::Click(kProcessButton);
      })
      .Then([&] {
        scene = folder.Get("pics/image_scan.pov");
        log = ListLines(WindowDriver::Control(kImageLog));
        SaveScreenshot(GetParent(WindowDriver::Control(kProcessButton)), HostPath(IMAGESCAN_SCREENSHOT));
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(selected, pics);
  EXPECT_TRUE(driver.messages.empty());
  ASSERT_FALSE(scene.empty());
  EXPECT_NE(scene.find("add_image ( \"a.png\", 640, 480 ) \r\n"), std::string::npos);
  EXPECT_NE(scene.find("add_image ( \"broken.png\", 1, 1 ) \r\n"), std::string::npos);
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(log[0], L"image list");

  // The batch program writes the very same bytes for the same folder.
  stdfs::remove(folder.Path("pics/image_scan.pov"));
  EXPECT_EQ(RunProgram(HostPath(IMAGESCAN_CLI), L"--quiet \"" + folder.Path("pics").wstring() + L"\""), 0u);
  EXPECT_EQ(folder.Get("pics/image_scan.pov"), scene);
}

namespace {

// Spelt so on purpose: the caption is the window's own, kept as users know it.
constexpr wchar_t kTitle[] = L"SELECT DIRECTORTY TO SCAN FOR IMAGES";

// The program started as the user starts it, with its window found.
class StartedProgram {
 public:
  StartedProgram() {
    const std::wstring program = HostPath(IMAGESCAN_WINDOW);
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                        &process_))
      return;
    for (int tries = 0; tries < 200 && !window_; ++tries) {
      Sleep(50);
      HWND found = FindWindowW(L"WindowClass_0", kTitle);
      DWORD owner = 0;
      if (found) GetWindowThreadProcessId(found, &owner);
      if (owner == process_.dwProcessId && IsWindowVisible(GetDlgItem(found, kImageLog))) window_ = found;
    }
  }
  ~StartedProgram() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  HWND Window() const { return window_; }
  // The exit code once the program ended; -1 when it did not end in time.
  DWORD ExitCode() const {
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process_.hProcess, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  return text;
}

}  // namespace

TEST(MainWindowWin32, TheProgramOpensItsWindowWithSixControlsAndQuitsWithZero) {
  StartedProgram program;
  const HWND window = program.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ClassOf(GetDlgItem(window, kFolderTree)), L"SysTreeView32");
  EXPECT_EQ(ClassOf(GetDlgItem(window, kFileList)), L"SysListView32");
  EXPECT_EQ(TextOf(GetDlgItem(window, kProcessButton)), L" p r o c e s s ");
  EXPECT_EQ(TextOf(GetDlgItem(window, kQuitButton)), L" q u i t  ");
  EXPECT_EQ(TextOf(GetDlgItem(window, kRenderButton)), L" &r e n d e r ");
  EXPECT_EQ(ClassOf(GetDlgItem(window, kImageLog)), L"ListBox");
  EXPECT_EQ(GetDlgItem(window, 5), nullptr);
  // The program carries its icon, which the window layer gives its windows, at the
  // sizes the system asks for.
  const HMODULE image = LoadLibraryExW(HostPath(IMAGESCAN_WINDOW).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  for (const int size : {16, 32, 48, 256}) {
    const auto icon = static_cast<HICON>(LoadImageW(image, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(icon);
  }
  FreeLibrary(image);
  // At 800, 100 where the screen holds the whole window there, else wholly on it.
  RECT frame{};
  GetWindowRect(window, &frame);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HDC screen = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX), dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const LONG x = MulDiv(800, dpi_x, 96), y = MulDiv(100, dpi_y, 96);
  if (x + (frame.right - frame.left) <= work.right && y + (frame.bottom - frame.top) <= work.bottom) {
    EXPECT_EQ(frame.left, x);
    EXPECT_EQ(frame.top, y);
  } else {
    EXPECT_GE(frame.left, work.left);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LE(frame.bottom, work.bottom);
  }
  const HWND quit = GetDlgItem(window, kQuitButton);
  PostMessageW(quit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(quit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(MainWindowWin32, TheCloseBoxEndsTheProgramWithZero) {
  StartedProgram program;
  ASSERT_NE(program.Window(), nullptr);
  PostMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.ExitCode(), 0u);
}

// Started with a folder, the window selects it and lists its files; the folder shown
// last is where the next start without one opens (kept in the user's registry).
TEST(MainWindowWin32, OpensAtTheFolderNamedAndRemembersTheLastOneShown) {
  ScratchFolder folder;
  folder.Put("pics/a.png", "x");
  folder.Put("other/b.png", "y");
  const std::string pics = folder.Path("pics").string();
  const StartFolder start = ChooseStartFolder({pics});
  ASSERT_EQ(start.folder, std::u16string(pics.begin(), pics.end()) + u"\\");

  std::u16string selected;
  int rows = -1;
  const std::string other = folder.Path("other").string();
  WindowDriver driver(start);
  driver
      .Then([&] {
        selected = ControlGetText(kFolderTree);
        rows = static_cast<int>(SendMessageW(WindowDriver::Control(kFileList), LVM_GETITEMCOUNT, 0, 0));
        FolderTreeNavigate(kFolderTree, std::u16string(other.begin(), other.end()) + u"\\");
      })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(selected, start.folder);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(ChooseStartFolder({}).folder, std::u16string(other.begin(), other.end()) + u"\\");
  stdfs::remove_all(folder.Path("other"));
  EXPECT_TRUE(ChooseStartFolder({}).folder.empty());
}

// Each image of the folder shown gets its dimensions, measured in the background; a file
// that is no picture, or whose header cannot be read, gets none.
TEST(MainWindowWin32, TheFileListShowsTheDimensionsOfItsImages) {
  ScratchFolder folder;
  folder.Put("pics/wide.png", EncodeTestPng(640, 10));
  folder.Put("pics/tall.jpg", EncodeTestJpeg(20, 400));
  folder.Put("pics/broken.gif", "GIF89a");
  folder.Put("pics/notes.txt", "text");
  const auto cells = [] {
    std::u16string all;
    for (int64_t row = 0; row < SendMessageW(WindowDriver::Control(kFileList), LVM_GETITEMCOUNT, 0, 0); ++row)
      all += ControlItemText(kFileList, row, 0) + u"=" + ControlItemText(kFileList, row, 2) + u";";
    return all;
  };
  std::u16string shown;
  std::u16string title;
  WindowDriver driver(ChooseStartFolder({folder.Path("pics").string()}));
  driver.When(
      [&] {
        return cells().find(u"20 x 400") != std::u16string::npos && cells().find(u"640 x 10") != std::u16string::npos;
      },
      [&] {
        shown = cells();
        title = ControlItemText(kFileList, -1, 2);
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(title, u"Dimensions");
  EXPECT_EQ(shown, u"broken.gif=;notes.txt=;tall.jpg=20 x 400;wide.png=640 x 10;");
}

// The process button's menu chooses the scene for POV-Ray 3.7, and the choice is kept.
TEST(MainWindowWin32, TheProcessButtonsMenuChoosesThePovRay37Scene) {
  struct StandardSceneAfterwards {
    ~StandardSceneAfterwards() { SettingsWrite(u"PovVersion", u""); }
  } restore;
  ScratchFolder folder;
  folder.Put("pics/a.png", EncodeTestPng(3, 2));
  const std::string pics = folder.Path("pics").string();
  const auto menu = [] { return FindWindowW(L"#32768", nullptr); };
  WindowDriver driver(ChooseStartFolder({pics}));
  driver
      .Then([] {
        const HWND button = WindowDriver::Control(kProcessButton);
        PostMessageW(button, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button), -1);
      })
      .Then([menu] {
        // The menu's own loop runs this step; keys reach the menu from the thread's queue.
        for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(menu(), WM_KEYDOWN, key, 0);
      })
      .Then([] { WindowDriver::Click(kProcessButton); })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  const std::string scene = folder.Get("pics/image_scan.pov");
  const std::string_view header = SceneBlocksFor(PovVersion::Pov37).header;
  EXPECT_EQ(scene.substr(0, std::min(scene.size(), header.size())), header);
  EXPECT_EQ(WindowSceneVersion(), PovVersion::Pov37);
}

// A folder dropped from Explorer onto the window is selected; a drop of a file alone
// changes nothing.
TEST(MainWindowWin32, AFolderDroppedOntoTheWindowIsSelected) {
  ScratchFolder folder;
  folder.Put("dropped/c.png", "z");
  folder.Put("loose.png", "x");
  // What Explorer hands over: a DROPFILES block with the paths, NUL-separated, wide.
  const auto drop = [&](std::vector<std::string> names) {
    std::wstring list;
    for (const std::string& name : names) {
      const std::string path = folder.Path(name).string();
      list += std::wstring(path.begin(), path.end()) + L'\0';
    }
    list += L'\0';
    const HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(files + 1));
    GlobalUnlock(block);
    PostMessageW(WindowHandle(kMainWindow), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
  };
  std::u16string after_file, after_folder;
  WindowDriver driver;
  driver.Then([&] { drop({"loose.png"}); })
      .Then([&] {
        after_file = ControlGetText(kFolderTree);
        drop({"loose.png", "dropped"});
      })
      .Then([&] {
        after_folder = ControlGetText(kFolderTree);
        WindowDriver::Click(kQuitButton);
      });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_TRUE(after_file.empty());
  const std::string dropped = folder.Path("dropped").string();
  EXPECT_EQ(after_folder, std::u16string(dropped.begin(), dropped.end()) + u"\\");
}

// Space on an image in the file list opens the preview under the file's name; it follows
// the selection (a file that is no picture shows the refusal) and Escape closes it.
TEST(MainWindowWin32, SpaceOpensThePreviewOfTheSelectedImageAndEscapeClosesIt) {
  ScratchFolder folder;
  folder.Put("pics/notes.txt", "text");
  folder.Put("pics/pic.png", EncodeTestPng(64, 48));
  const auto select = [](int row) {
    const HWND list = WindowDriver::Control(kFileList);
    SetFocus(list);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  };
  // Put into the queue as the window system posts a key, so that it goes the key's way.
  const auto key = [](WPARAM virtual_key) {
    const HWND list = WindowDriver::Control(kFileList);
    SetFocus(list);
    PostMessageW(list, WM_KEYDOWN, virtual_key, 1);
    PostMessageW(list, WM_KEYUP, virtual_key, 1 | (LPARAM{3} << 30));
  };
  const auto showing = [](const std::u16string& title) {
    return WindowHandle(kPreviewWindow) && WindowTitle(kPreviewWindow) == title;
  };
  bool pic_shown = false, notes_shown = false, closed = false;
  std::u16string pic_text = u"unread", notes_text;
  WindowDriver driver(ChooseStartFolder({folder.Path("pics").string()}));
  driver.Then([&] { select(1); })
      .Then([&] { key(VK_SPACE); })
      .When([&] { return showing(u"pic.png"); },
            [&] {
              pic_shown = showing(u"pic.png");
              pic_text = PictureWindowText(kPreviewWindow);
              select(0);
            })
      .When([&] { return showing(u"notes.txt"); },
            [&] {
              notes_shown = showing(u"notes.txt");
              notes_text = PictureWindowText(kPreviewWindow);
              key(VK_ESCAPE);
            })
      .When([] { return WindowHandle(kPreviewWindow) == nullptr; },
            [&] {
              closed = WindowHandle(kPreviewWindow) == nullptr;
              WindowDriver::Click(kQuitButton);
            });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_TRUE(pic_shown);
  EXPECT_EQ(pic_text, u"");
  EXPECT_TRUE(notes_shown);
  EXPECT_EQ(notes_text, u"cannot be read as an image");
  EXPECT_TRUE(closed);
}

// The stand-in POV-Ray (support/povray_standin.cpp) as "povray.exe", the only one on
// PATH: found there by its name alone, it renders.
TEST(MainWindowWin32, TheRenderButtonRendersWithThePovRayOnPathAndShowsThePicture) {
  ScratchFolder folder;
  folder.Put("pics/pic.png", EncodeTestPng(64, 48));
  wchar_t own[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  stdfs::create_directories(folder.Path("tools"));
  stdfs::copy_file(stdfs::path(std::wstring(own, length)).parent_path() / L"povray_standin.exe",
                   folder.Path("tools") / "povray.exe");
  const std::wstring path = _wgetenv(L"PATH");
  SetEnvironmentVariableW(L"PATH", folder.Path("tools").wstring().c_str());
  std::u16string title, text = u"unread";
  std::vector<std::wstring> rows;
  WindowDriver driver(ChooseStartFolder({folder.Path("pics").string()}));
  driver.Then([] { WindowDriver::Click(kRenderButton); })
      .When([] { return WindowHandle(kRenderedWindow) != nullptr; },
            [&] {
              title = WindowTitle(kRenderedWindow);
              text = PictureWindowText(kRenderedWindow);
              rows = ListLines(WindowDriver::Control(kImageLog));
              WindowDriver::Click(kQuitButton);
            });
  EXPECT_EQ(driver.Run(), 0);
  SetEnvironmentVariableW(L"PATH", path.c_str());
  const std::wstring picture = folder.Path("pics").wstring() + L"\\image_scan.png";
  EXPECT_EQ(std::wstring(title.begin(), title.end()), picture);
  EXPECT_EQ(text, u"");
  EXPECT_NE(std::find(rows.begin(), rows.end(), L"Rendered " + picture), rows.end());
  EXPECT_TRUE(folder.Get("pics/image_scan.pov").starts_with(kSceneHeader37));
}
