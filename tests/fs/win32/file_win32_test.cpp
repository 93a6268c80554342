// Files on Windows: sharing as the system enforces it, removal while open, devices.
#include <windows.h>

#include "fs/whole_file.h"
#include "fs/win32/device_name.h"
#include "tests/fs/file_writing.h"

using namespace std::string_literals;

namespace {

TEST_F(FileWriting, ReadSharersAdmitReadersOnlyAndAllSharersEachOther) {
  dir.Put("f", "kept\r\n");
  ASSERT_NE(FileOpen(10, dir.Text("f"), OpenFlag::ShareRead), 0);
  // FileOpen reads and writes, which a holder that shares reading alone refuses.
  EXPECT_EQ(FileOpen(11, dir.Text("f"), OpenFlag::ShareAll), 0);
  EXPECT_TRUE(ReadWholeFile(dir.Text("f")));
  FileClose(10);

  ASSERT_NE(FileOpen(10, dir.Text("f"), OpenFlag::ShareAll), 0);
  EXPECT_NE(FileOpen(11, dir.Text("f"), OpenFlag::ShareAll), 0);
  EXPECT_EQ(FileOpen(12, dir.Text("f"), 0), 0);
  FileCloseAll();
  EXPECT_NE(FileOpen(12, dir.Text("f"), 0), 0);
}

TEST_F(FileWriting, AFileBeingWrittenCanBeRemoved) {
  // What an interrupted program does with its half-written scene.
  ASSERT_NE(FileCreate(1, dir.Text("f"), 0), 0);
  FileWriteLine(1, u"half", 0);
  EXPECT_TRUE(DeleteFileW(dir.Path("f").c_str()));
  FileClose(1);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("f")));
}

TEST_F(FileWriting, DevicesNeverOpen) {
  for (const std::u16string& path : {u"NUL"s, u"con"s, u"CONOUT$"s, dir.Text("nul.png"), dir.Text("COM1.gif"),
                                     u"\\\\.\\PhysicalDrive0"s, u"//./C:"s}) {
    EXPECT_EQ(FileOpenAs(FileOpenMode::ReadOnly, 1, path, 0), 0);
    EXPECT_EQ(FileCreate(1, path, 0), 0);
    EXPECT_FALSE(ReadWholeFile(path));
  }
  // The long form of a path on a drive names a file like any other.
  dir.Put("f", "x");
  EXPECT_TRUE(ReadWholeFile(u"\\\\?\\" + dir.Text("f")));
}

TEST(DeviceName, ReservedNamesWithAnyExtensionAndTheDeviceNamespace) {
  for (const std::u16string_view path : {u"nul", u"C:\\x\\NUL.png", u"x/Con .txt", u"C:nul", u"lpt9.gif", u"com1",
                                         u"conin$", u"\\\\.\\anything", u"//?/GLOBALROOT/Device/x"})
    EXPECT_TRUE(NamesDevice(path)) << std::string(path.begin(), path.end());
  for (const std::u16string_view path : {u"null.png", u"C:\\nul\\a.png", u"com0", u"com10", u"lpt", u"aux2",
                                         u"\\\\?\\C:\\nulx", u"\\\\?\\UNC\\server\\share\\a.png", u"\\\\server\\share"})
    EXPECT_FALSE(NamesDevice(path)) << std::string(path.begin(), path.end());
}

}  // namespace
