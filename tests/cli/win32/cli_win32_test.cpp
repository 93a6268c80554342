// Runs imagescan-cli.exe as a user of Windows would: folder names in any spelling and
// outside the code page, and an interrupt in mid-scene.
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/scene/scene_format.h"
#include "fs/path_ops.h"
#include "fs/text_encoding.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

namespace {

namespace stdfs = std::filesystem;

// The batch program beside this test program's folder, as the build lays them out.
std::wstring CliPath() {
  wchar_t own[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  return (stdfs::path(std::wstring(own, length)).parent_path().parent_path() / L"app" / L"imagescan-cli.exe").wstring();
}

// A started program; the handles are closed with it.
struct Child {
  PROCESS_INFORMATION process{};
  ~Child() {
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
  }
  DWORD Wait() const {
    WaitForSingleObject(process.hProcess, 60000);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    return status;
  }
};

// The batch program's test build that takes faults from IMAGESCAN_FAULTS, beside this one.
std::wstring CliWithFaultsPath() {
  wchar_t own[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  return (stdfs::path(std::wstring(own, length)).parent_path() / L"imagescan-cli-faults.exe").wstring();
}

// Starts the program with the arguments, its standard output and error going to `out`.
bool Start(Child& child, const std::wstring& arguments, HANDLE out, DWORD flags = 0,
           const std::wstring& program = CliPath()) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  std::wstring command = L"\"" + program + L"\" " + arguments;
  return CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup,
                        &child.process) != 0;
}

// Runs the program to its end: the exit code, and what it wrote to its standard streams.
std::pair<DWORD, std::string> RunCli(const std::wstring& arguments, const TempFolder& scratch,
                                     const std::wstring& program = CliPath()) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const HANDLE out = CreateFileW(scratch.Path("out").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  Child child;
  const bool started = Start(child, arguments, out, 0, program);
  CloseHandle(out);
  if (!started) return {~DWORD{0}, "not started"};
  const DWORD status = child.Wait();
  return {status, scratch.Get("out")};
}

// One argument as the command line must spell it: backslashes before the closing quote
// are doubled, or the last of them would make the quote part of the argument.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"" + argument;
  for (size_t i = argument.size(); i > 0 && argument[i - 1] == L'\\'; --i) quoted += L'\\';
  return quoted + L"\"";
}

TEST(Cli, WritesTheSameSceneForEverySpellingOfTheFolder) {
  TempFolder scratch;
  // A name outside every ANSI code page reaches the program through its wide command line.
  const stdfs::path folder = scratch.Path("") / L"\u5199\u771F \u03A9";
  stdfs::create_directories(folder / "trip");
  const std::string png = EncodeTestPng(64, 32);
  std::ofstream(folder / "trip" / "a.png", std::ios::binary) << png;
  const std::string scene = std::string(kSceneHeader) + "\r\n" + "add_image ( \"trip/a.png\", 64, 32 ) \r\n" +
                            std::string(kSceneFooter) + "\r\n";

  std::wstring forward = folder.wstring();
  for (wchar_t& unit : forward)
    if (unit == L'\\') unit = L'/';
  for (const std::wstring& spelling : {folder.wstring(), folder.wstring() + L"\\", forward, forward + L"/"}) {
    stdfs::remove(folder / "image_scan.pov");
    const auto [status, out] = RunCli(Quoted(spelling), scratch);
    EXPECT_EQ(status, 0u) << out;
    EXPECT_NE(out.find("trip/a.png"), std::string::npos) << out;
    // The scene file is named with the separator the folder was given with.
    const wchar_t last = spelling.back();
    const std::wstring named =
        last == L'\\' || last == L'/' ? spelling : spelling + (spelling == forward ? L"/" : L"\\");
    const std::u16string scene_path = std::u16string(named.begin(), named.end()) + u"image_scan.pov";
    EXPECT_NE(out.find("wrote 1 image to " + EscapedBytesFromText(scene_path)), std::string::npos) << out;
    std::ifstream in(folder / "image_scan.pov", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), scene);
  }
}

TEST(Cli, AMissingFolderExitsWithTwo) {
  TempFolder scratch;
  const auto [status, out] = RunCli(Quoted(scratch.Path("missing").wstring()), scratch);
  EXPECT_EQ(status, 2u);
  EXPECT_NE(out.find("no such folder"), std::string::npos) << out;
}

// Runs the test build with IMAGESCAN_FAULTS set to `faults` (see
// support/faults_from_environment.cpp), which the child inherits.
std::pair<DWORD, std::string> RunWithFaults(const std::wstring& faults, const std::wstring& arguments,
                                            const TempFolder& scratch) {
  SetEnvironmentVariableW(L"IMAGESCAN_FAULTS", faults.c_str());
  auto outcome = RunCli(arguments, scratch, CliWithFaultsPath());
  SetEnvironmentVariableW(L"IMAGESCAN_FAULTS", nullptr);
  return outcome;
}

// Wine run as root opens every folder, so the system's refusal comes through the seam, at
// the first look at the folder and at its listing, as Windows refuses a folder whose
// access list shuts the user out.
TEST(Cli, AFolderThatDeniesAccessCannotBeReadAndExitsWithOne) {
  TempFolder folder, scratch;
  folder.Put("a.png", EncodeTestPng(3, 2));
  folder.Put("image_scan.pov", "the scene of an earlier run");
  const std::wstring path = folder.Path("").wstring();
  const std::wstring denied = std::to_wstring(ERROR_ACCESS_DENIED) + L":" + path;
  const auto [status, out] = RunWithFaults(L"open-folder:" + denied + L";list-folder:" + denied, Quoted(path), scratch);
  EXPECT_EQ(status, 1u) << out;
  const std::wstring shown = path.back() == L'\\' ? path : path + L"\\";
  // "Access is denied" on Windows, "Access denied" under Wine.
  EXPECT_NE(out.find("imagescan-cli: cannot read " + EscapedBytesFromText(std::u16string(shown.begin(), shown.end())) +
                     ": " + EscapedBytesFromText(SystemErrorText(ERROR_ACCESS_DENIED)) + "\r\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");
}

// Memory running out in the middle of the second folder's scan: the first folder's new
// scene stays, the second keeps its old one, and neither keeps a temporary file.
TEST(Cli, MemoryRunningOutEndsWithOneAndNamesTheSceneLeftAsItWas) {
  TempFolder one, two, scratch;
  one.Put("a.png", EncodeTestPng(3, 2));
  two.Put("b.png", EncodeTestPng(5, 4));
  stdfs::create_directory(two.Path("sub"));
  two.Put("image_scan.pov", "the scene of an earlier run");
  const auto [status, out] =
      RunWithFaults(L"list-folder:bad_alloc:" + two.Path("sub").wstring(),
                    Quoted(one.Path("").wstring()) + L" " + Quoted(two.Path("").wstring()), scratch);
  EXPECT_EQ(status, 1u) << out;
  const std::wstring second = two.Path("image_scan.pov").wstring();
  EXPECT_NE(out.find("imagescan-cli: out of memory; " +
                     EscapedBytesFromText(std::u16string(second.begin(), second.end())) + " left as it was"),
            std::string::npos)
      << out;
  EXPECT_NE(one.Get("image_scan.pov").find("add_image ( \"a.png\", 3, 2 )"), std::string::npos);
  EXPECT_EQ(two.Get("image_scan.pov"), "the scene of an earlier run");
  for (const TempFolder* folder : {&one, &two}) {
    for (const auto& entry : stdfs::directory_iterator(folder->Path("")))
      EXPECT_FALSE(entry.path().filename().wstring().starts_with(L".image_scan.pov.")) << entry.path();
  }
}

// Refusals Windows gives for an image (its access list, another program holding it
// unshared or locked) are no damage of the image's: warned about, counted, exit 3.
TEST(Cli, AnImageTheSystemRefusesIsListedAsOneByOneAndWarnedAbout) {
  TempFolder folder, scratch;
  folder.Put("a.png", EncodeTestPng(3, 2));
  folder.Put("b.png", EncodeTestPng(5, 4));
  const std::u16string shown = TempFolder::TextOf(folder.Path("a.png"));
  for (const DWORD code : {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION}) {
    const auto [status, out] = RunWithFaults(L"file-looked:" + std::to_wstring(code) + L":\\a.png",
                                             Quoted(folder.Path("").wstring()), scratch);
    EXPECT_EQ(status, 3u) << out;
    EXPECT_NE(out.find("warning: cannot read " + EscapedBytesFromText(shown) + ": " +
                       EscapedBytesFromText(SystemErrorText(static_cast<int>(code)))),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("1 image could not be read and is listed as 1 x 1"), std::string::npos) << out;
    const std::string scene = folder.Get("image_scan.pov");
    EXPECT_NE(scene.find("add_image ( \"a.png\", 1, 1 )"), std::string::npos);
    EXPECT_NE(scene.find("add_image ( \"b.png\", 5, 4 )"), std::string::npos);
  }
}

// The access list of a file, in the system's text form.
std::wstring AccessListOf(const std::wstring& path) {
  DWORD size = 0;
  GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<unsigned char> descriptor(size);
  LPWSTR text = nullptr;
  if (size == 0 || !GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
      !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                            DACL_SECURITY_INFORMATION, &text, nullptr)) {
    return L"(none)";
  }
  std::wstring list = text;
  LocalFree(text);
  return list;
}

TEST(Cli, AReplacedSceneKeepsItsAccessListOrStaysAsItWas) {
  TempFolder folder, scratch;
  folder.Put("a.png", EncodeTestPng(3, 2));
  folder.Put("image_scan.pov", "the scene of an earlier run");
  const std::wstring scene = folder.Path("image_scan.pov").wstring();
  // Everyone may read it, its owner may do anything, nothing inherited from the folder.
  PSECURITY_DESCRIPTOR wanted = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)(A;;FR;;;WD)", SDDL_REVISION_1,
                                                                   &wanted, nullptr));
  ASSERT_TRUE(SetFileSecurityW(scene.c_str(), DACL_SECURITY_INFORMATION, wanted));
  LocalFree(wanted);
  const std::wstring list = AccessListOf(scene);

  // The list cannot be given: the old scene stays, and the user hears what was not kept.
  const auto [refused, refused_out] =
      RunWithFaults(L"change-mode:" + std::to_wstring(ERROR_ACCESS_DENIED) + L":image_scan.pov",
                    Quoted(folder.Path("").wstring()), scratch);
  EXPECT_EQ(refused, 1u) << refused_out;
  EXPECT_NE(refused_out.find("the new file could not be given its access list"), std::string::npos) << refused_out;
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");

  const auto [status, out] = RunCli(Quoted(folder.Path("").wstring()), scratch);
  EXPECT_EQ(status, 0u) << out;
  EXPECT_NE(folder.Get("image_scan.pov").find("add_image ( \"a.png\", 3, 2 )"), std::string::npos);
  EXPECT_EQ(AccessListOf(scene), list);
}

TEST(Cli, AnInterruptRemovesTheTemporaryFileAndKeepsTheOldScene) {
  TempFolder folder;
  for (int i = 0; i < 400; ++i) folder.Put(std::string(200, 'n') + std::to_string(i) + ".png", "");
  folder.Put("image_scan.pov", "the scene of an earlier run");
  // A pipe nobody reads: with more paths than it holds, the scan waits in mid-scene.
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  ASSERT_TRUE(CreatePipe(&read_end, &write_end, &inherited, 4096));
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  Child child;
  // A group of its own, so that the interrupt reaches the program alone.
  const bool started = Start(child, Quoted(folder.Path("").wstring()), write_end, CREATE_NEW_PROCESS_GROUP);
  CloseHandle(write_end);
  ASSERT_TRUE(started);
  const auto temporaries = [&] {
    int count = 0;
    for (const auto& entry : stdfs::directory_iterator(folder.Path("")))
      count += entry.path().filename().wstring().starts_with(L".image_scan.pov.") ? 1 : 0;
    return count;
  };
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (temporaries() == 0 && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const bool sent = GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, child.process.dwProcessId) != 0;
  if (!sent) TerminateProcess(child.process.hProcess, 1);
  const DWORD status = child.Wait();
  CloseHandle(read_end);
  // Wine (8.0) sends no console events to another process.
  if (!sent) GTEST_SKIP() << "no console to send an interrupt through";
  EXPECT_EQ(status, static_cast<DWORD>(STATUS_CONTROL_C_EXIT));
  EXPECT_EQ(folder.Get("image_scan.pov"), "the scene of an earlier run");
  EXPECT_EQ(temporaries(), 0);
}

}  // namespace
