#include "fs/child_process.h"

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fs/exit_signals.h"
#include "fs/path_ops.h"
#include "fs/win32/exit_signal_target.h"
#include "fs/win32/system_path.h"

namespace {

// A handle closed when it goes out of scope.
struct OwnedHandle {
  HANDLE handle = nullptr;
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE owned) : handle(owned == INVALID_HANDLE_VALUE ? nullptr : owned) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() {
    if (handle != nullptr) CloseHandle(handle);
  }
};

// One argument as the C runtime's parser reads it back: quoted where it holds a blank or
// a quote or is empty, with the backslashes before a quote doubled.
void AppendArgument(std::wstring& line, const std::wstring& argument) {
  if (!line.empty()) line += L' ';
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += argument;
    return;
  }
  line += L'"';
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(2 * backslashes, L'\\');
  line += L'"';
}

// The program's file: a name alone is looked for on PATH only (not in the current
// folder, which CreateProcessW would search first), with ".exe" where it has no
// extension; a path is taken from the current folder. None when there is no such file.
std::optional<std::wstring> ProgramFile(const std::u16string& program) {
  const bool is_path = program.find_first_of(u"\\/:") != std::u16string::npos;
  if (is_path) {
    const auto path = SystemPath(PathFromRoot(program));
    if (!path) return std::nullopt;
    for (const std::wstring& candidate : {*path, *path + L".exe"}) {
      const DWORD attributes = GetFileAttributesW(candidate.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return candidate;
    }
    return std::nullopt;
  }
  const auto name = SystemPath(program);
  const DWORD path_length = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (!name || path_length == 0) return std::nullopt;
  std::wstring folders(path_length, L'\0');
  folders.resize(GetEnvironmentVariableW(L"PATH", folders.data(), path_length));
  std::wstring found(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        SearchPathW(folders.c_str(), name->c_str(), L".exe", static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < found.size()) {
      found.resize(length);
      return found;
    }
    found.resize(length);
  }
}

// A copy of one of our handles that the child may inherit.
OwnedHandle InheritableCopy(HANDLE handle) {
  HANDLE copy = nullptr;
  const HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, handle, process, &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) return {};
  return OwnedHandle(copy);
}

}  // namespace

struct ChildProcess::State {
  OwnedHandle process;
  OwnedHandle job;   // null where the system would not give the child a job of its own
  OwnedHandle pipe;  // our end
  std::mutex mutex;  // the child stays ours to end until Wait is done with it
  bool waited = false;
  int status = -1;
};

namespace {

// 0 when the child runs in `state`; else the system's code, with `missing` set when
// there is no such program.
int StartChild(const ChildCommand& command, const PlatformFile* output, ChildProcess::State& state, bool& missing) {
  const auto program = ProgramFile(command.program);
  if (!program) {
    missing = true;
    return ERROR_FILE_NOT_FOUND;
  }
  std::wstring line;
  AppendArgument(line, *SystemPath(command.program));
  for (const std::u16string& argument : command.arguments) {
    const auto wide = SystemPath(argument);
    if (!wide) return ERROR_INVALID_PARAMETER;
    AppendArgument(line, *wide);
  }
  std::optional<std::wstring> folder;
  if (!command.folder.empty()) {
    folder = SystemPath(command.folder);
    if (!folder) return ERROR_INVALID_PARAMETER;
  }

  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, nullptr, 0)) return static_cast<int>(GetLastError());
  state.pipe.handle = read_end;
  const OwnedHandle ours(write_end);
  const OwnedHandle error_end = InheritableCopy(write_end);
  const OwnedHandle output_end =
      InheritableCopy(output && output->IsOpen() ? reinterpret_cast<HANDLE>(output->Handle()) : write_end);
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const OwnedHandle input(
      CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr));
  if (!error_end.handle || !output_end.handle || !input.handle) return static_cast<int>(GetLastError());

  // Only these three are inherited, whatever else of ours is inheritable.
  HANDLE handles[] = {input.handle, output_end.handle, error_end.handle};
  SIZE_T list_size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &list_size);
  std::vector<char> list_bytes(list_size);
  const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list_bytes.data());
  if (!InitializeProcThreadAttributeList(list, 1, 0, &list_size)) return static_cast<int>(GetLastError());
  const bool listed =
      UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, sizeof handles, nullptr, nullptr);
  STARTUPINFOEXW start{};
  start.StartupInfo.cb = sizeof start;
  start.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  start.StartupInfo.hStdInput = input.handle;
  start.StartupInfo.hStdOutput = output_end.handle;
  start.StartupInfo.hStdError = error_end.handle;
  start.lpAttributeList = listed ? list : nullptr;
  PROCESS_INFORMATION started{};
  // Suspended until it is in its job, so that nothing it starts escapes the job; without
  // a console, so that our console's Ctrl+C reaches us alone and we end it.
  const DWORD flags =
      CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
  const BOOL created = CreateProcessW(program->c_str(), line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                      folder ? folder->c_str() : nullptr, &start.StartupInfo, &started);
  const DWORD why = GetLastError();
  DeleteProcThreadAttributeList(list);
  if (!created) return static_cast<int>(why);
  state.process.handle = started.hProcess;
  const OwnedHandle thread(started.hThread);

  // The job ends everything in it when its last handle closes, even when we are killed.
  // A system that nests no jobs refuses it inside a job of ours: the child then runs
  // without, and ending it ends the child alone.
  state.job.handle = CreateJobObjectW(nullptr, nullptr);
  if (state.job.handle) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(state.job.handle, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(state.job.handle, started.hProcess)) {
      CloseHandle(state.job.handle);
      state.job.handle = nullptr;
    }
  }
  ExitSignalChild child;
  child.job = state.job.handle;
  child.process = state.process.handle;
  ExitSignalsSetChild(&child);
  ResumeThread(thread.handle);
  return 0;
}

}  // namespace

ChildProcess::ChildProcess(const ChildCommand& command, const PlatformFile* output)
    : state_(std::make_unique<State>()) {
  error_ = StartChild(command, output, *state_, program_missing_);
}

ChildProcess::~ChildProcess() {
  End();
  Wait();
}

std::string ChildProcess::Read() {
  if (!state_->pipe.handle || error_ != 0) return {};
  char buffer[4096];
  DWORD got = 0;
  if (!ReadFile(state_->pipe.handle, buffer, sizeof buffer, &got, nullptr)) return {};
  return std::string(buffer, got);
}

void ChildProcess::End() {
  const std::lock_guard lock(state_->mutex);
  if (!state_->process.handle || state_->waited) return;
  if (!state_->job.handle || !TerminateJobObject(state_->job.handle, 1)) TerminateProcess(state_->process.handle, 1);
}

int ChildProcess::Wait() {
  State& state = *state_;
  if (!state.process.handle || error_ != 0) return -1;
  WaitForSingleObject(state.process.handle, INFINITE);
  const std::lock_guard lock(state.mutex);
  if (state.waited) return state.status;
  // Whatever it started and left running goes with it.
  if (state.job.handle) TerminateJobObject(state.job.handle, 1);
  ExitSignalsSetChild(nullptr);
  DWORD code = 0;
  state.status = GetExitCodeProcess(state.process.handle, &code) ? static_cast<int>(code) : -1;
  state.waited = true;
  return state.status;
}
