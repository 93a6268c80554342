#include "fs/file_replacement.h"

#include <windows.h>

#include <cstddef>
#include <vector>

#include "fs/exit_signals.h"
#include "fs/fault_seam.h"
#include "fs/system_errors.h"
#include "fs/win32/exit_signal_target.h"
#include "fs/win32/quiet_errors.h"
#include "fs/win32/system_path.h"

// Windows renames and deletes an open file through its handle, so the file written is
// the one put in place whatever happens to the names in the folder meanwhile; and the
// temporary file is opened without sharing for deleting or renaming, so nobody else can
// move it while it is written.
struct FileReplacement::State {
  HANDLE file = INVALID_HANDLE_VALUE;
  std::wstring target;  // the path of the file replaced
  std::u16string temporary_path;
  std::u16string path;  // of the file replaced
  int error = 0;
  bool committed = false;
};

namespace {

// The access list of the file replaced goes to its successor, read through a handle on
// the file itself, never on what a link or junction in its place leads to; without it the
// new file would have the folder's. What Windows keeps apart from the list is not carried
// over: the owner (giving one takes a privilege; the new file is the running user's),
// the audit list, alternate data streams and extended attributes. 0 when it was carried
// over or there is no plain file to carry it from.
int CopyAccessList(const std::wstring& from, HANDLE to, const std::u16string& path) {
  const QuietErrors quiet;
  const HANDLE old = CreateFileW(from.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (old == INVALID_HANDLE_VALUE) {
    const DWORD why = GetLastError();
    return why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND ? 0 : static_cast<int>(why);
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(old, &info) != 0;
  const bool plain = known && !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  DWORD size = 0;
  if (plain) GetKernelObjectSecurity(old, DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<unsigned char> descriptor(size);
  const bool read =
      size != 0 && GetKernelObjectSecurity(old, DACL_SECURITY_INFORMATION, descriptor.data(), size, &size);
  CloseHandle(old);
  if (!known) return kAttributesNotKeptError;
  if (!plain) return 0;
  if (!read || FaultAt(FaultPoint::ChangeMode, path) != 0 ||
      !SetKernelObjectSecurity(to, DACL_SECURITY_INFORMATION, descriptor.data()))
    return kAttributesNotKeptError;
  return 0;
}

// Renames the open file to `target`, replacing a file there. 0 on success, else the
// system's code.
int RenameByHandle(HANDLE file, const std::wstring& target) {
  const size_t name_bytes = target.size() * sizeof(wchar_t);
  std::vector<std::byte> block(offsetof(FILE_RENAME_INFO, FileName) + name_bytes + sizeof(wchar_t));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(block.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(name_bytes);
  target.copy(info->FileName, target.size());
  info->FileName[target.size()] = L'\0';
  if (!SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(block.size())))
    return static_cast<int>(GetLastError());
  // Written through, as far as the system allows; the rename stands either way.
  FlushFileBuffers(file);
  return 0;
}

}  // namespace

FileReplacement::FileReplacement(const std::u16string& folder, const std::u16string& name)
    : state_(std::make_unique<State>()) {
  State& state = *state_;
  const auto target = SystemPath(folder + name);
  if (!target) {
    state.error = ERROR_INVALID_NAME;
    return;
  }
  state.target = *target;
  state.path = folder + name;
  const QuietErrors quiet;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::u16string temporary = folder + TemporaryName(name);
    const auto wide = SystemPath(temporary);
    // CREATE_NEW never opens what already stands at the name, a link included.
    state.file = CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE | DELETE | WRITE_DAC, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (state.file != INVALID_HANDLE_VALUE) {
      state.temporary_path = temporary;
      ExitSignalTarget signal_target;
      signal_target.file = state.file;
      ExitSignalsSetTarget(&signal_target);
      return;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  state.error = static_cast<int>(GetLastError());
}

FileReplacement::~FileReplacement() {
  State& state = *state_;
  if (state.file == INVALID_HANDLE_VALUE) return;
  if (!state.committed) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(state.file, FileDispositionInfo, &disposition, sizeof disposition);
  }
  ExitSignalsSetTarget(nullptr);
  CloseHandle(state.file);
}

int FileReplacement::Error() const { return state_->error; }

PlatformFile FileReplacement::WriteHandle() const {
  if (state_->file == INVALID_HANDLE_VALUE) return {};
  HANDLE copy = nullptr;
  const HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, state_->file, process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    PlatformSetLastError(static_cast<int>(GetLastError()));
    return {};
  }
  return PlatformFile::Adopt(static_cast<int64_t>(reinterpret_cast<intptr_t>(copy)));
}

int FileReplacement::Commit() {
  State& state = *state_;
  if (state.file == INVALID_HANDLE_VALUE) return state.error;
  if (const int refused = FaultAt(FaultPoint::ReplaceFile, state.temporary_path); refused != 0) return refused;
  if (const int kept = CopyAccessList(state.target, state.file, state.path); kept != 0) return kept;
  const int error = RenameByHandle(state.file, state.target);
  state.committed = error == 0;
  return error;
}
