#include "fs/console.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "fs/text_encoding.h"

#include <cstdlib>

namespace {

UINT g_console_code_page = 0;  // the console's own, given back at exit

void RestoreConsoleCodePage() { SetConsoleOutputCP(g_console_code_page); }

HANDLE StreamHandle(int stream) {
  if (stream == 1) return GetStdHandle(STD_OUTPUT_HANDLE);
  if (stream == 2) return GetStdHandle(STD_ERROR_HANDLE);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

bool ConsoleIsTerminal(int stream) {
  const HANDLE handle = StreamHandle(stream);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) return false;
  // The program draws with the terminal's escape sequences; a console that cannot take
  // them is written to as a file is.
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) ||
         SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

// Windows has no limit that ends a writing process: a write past what the disk takes
// fails and is reported like any other.
void ConsoleKeepFileSizeErrors() {}

// A write to a closed pipe fails on Windows; nothing ends the process.
void ConsoleKeepClosedOutputErrors() {}

std::vector<std::string> ConsoleStart(int, char**) {
  // The program writes UTF-8; a console shows it as such while the program runs.
  g_console_code_page = GetConsoleOutputCP();
  if (g_console_code_page != 0 && g_console_code_page != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
    std::atexit(RestoreConsoleCodePage);
  // The narrow arguments hold only what the ANSI code page can; the wide command line
  // holds every name as typed.
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) {
    const std::u16string_view argument(reinterpret_cast<const char16_t*>(wide[i]));
    arguments.push_back(EscapedBytesFromText(argument));
  }
  LocalFree(wide);
  return arguments;
}
