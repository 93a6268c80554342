#include "fs/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "fs/exit_signals.h"
#include "fs/path_ops.h"
#include "fs/posix/descriptor.h"
#include "fs/posix/exit_signal_target.h"
#include "fs/posix/system_path.h"

extern char** environ;

struct ChildProcess::State {
  pid_t pid = -1;
  Descriptor pipe;   // our end
  std::mutex mutex;  // the child's pid stays ours to signal until it is reaped
  bool reaped = false;
  int status = -1;
};

namespace {

// The spawn's settings and file actions, released however the start ends.
struct SpawnSetup {
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_t actions;
  SpawnSetup() {
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// Every signal blocked while the child starts, so that an exit signal cannot come
// between its start and its registration (it is delivered right after).
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_;
};

// 0 with `pid` started and `pipe` our end of its pipe; else the system's code, with
// `missing` set when the program was not found.
int StartChild(const ChildCommand& command, const PlatformFile* output, pid_t& pid, Descriptor& pipe, bool& missing) {
  // A relative path names a program from here, not from the child's folder.
  const bool is_path = command.program.find(u'/') != std::u16string::npos;
  const auto program = SystemPath(is_path ? PathFromRoot(command.program) : command.program);
  const auto folder = SystemPath(command.folder.empty() ? u"." : command.folder);
  if (!program || !folder) return EINVAL;
  std::vector<std::string> argument_bytes;
  argument_bytes.push_back(*SystemPath(command.program));
  for (const std::u16string& argument : command.arguments) {
    const auto bytes = SystemPath(argument);
    if (!bytes) return EINVAL;
    argument_bytes.push_back(*bytes);
  }
  std::vector<char*> argv;
  for (std::string& bytes : argument_bytes) argv.push_back(bytes.data());
  argv.push_back(nullptr);

  // Opened here, so that a folder that is not there is told as such, not as a missing
  // program.
  const Descriptor folder_fd(open(folder->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder_fd.fd < 0) return errno;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return errno;
  pipe.fd = ends[0];
  const Descriptor write_end(ends[1]);

  SpawnSetup setup;
  // Its own group, every signal at its default and none blocked: ours are no concern of
  // its, and an ignored SIGPIPE would otherwise carry over.
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setflags(
      &setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_USEVFORK);
  posix_spawnattr_setpgroup(&setup.attributes, 0);
  posix_spawnattr_setsigdefault(&setup.attributes, &all);
  posix_spawnattr_setsigmask(&setup.attributes, &none);
  posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  const int out = output && output->IsOpen() ? static_cast<int>(output->Handle() - 1) : write_end.fd;
  posix_spawn_file_actions_adddup2(&setup.actions, out, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&setup.actions, write_end.fd, STDERR_FILENO);
  posix_spawn_file_actions_addfchdir_np(&setup.actions, folder_fd.fd);
  // Last: whatever was opened without close-on-exec (by a library, say) stays ours too.
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);

  const SignalsHeld held;
  const int spawned =
      is_path ? posix_spawn(&pid, program->c_str(), &setup.actions, &setup.attributes, argv.data(), environ)
              : posix_spawnp(&pid, program->c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
  if (spawned != 0) {
    pid = -1;
    missing = spawned == ENOENT;
    return spawned;
  }
  ExitSignalChild child;
  child.group = pid;
  ExitSignalsSetChild(&child);
  return 0;
}

}  // namespace

ChildProcess::ChildProcess(const ChildCommand& command, const PlatformFile* output)
    : state_(std::make_unique<State>()) {
  error_ = StartChild(command, output, state_->pid, state_->pipe, program_missing_);
  if (error_ != 0) Descriptor closed(state_->pipe.Release());
}

ChildProcess::~ChildProcess() {
  End();
  Wait();
}

std::string ChildProcess::Read() {
  if (state_->pipe.fd < 0) return {};
  char buffer[4096];
  ssize_t got;
  do {
    got = read(state_->pipe.fd, buffer, sizeof buffer);
  } while (got < 0 && errno == EINTR);
  return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
}

void ChildProcess::End() {
  const std::lock_guard lock(state_->mutex);
  if (state_->pid > 0 && !state_->reaped) kill(-state_->pid, SIGKILL);
}

int ChildProcess::Wait() {
  State& state = *state_;
  if (state.pid <= 0) return -1;
  {
    const std::lock_guard lock(state.mutex);
    if (state.reaped) return state.status;
  }
  // Waited for without reaping first: until it is reaped its number cannot go to another
  // process, so End may still signal it meanwhile.
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(state.pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
  }
  const std::lock_guard lock(state.mutex);
  if (state.reaped) return state.status;
  // Whatever it started and left running goes with it.
  kill(-state.pid, SIGKILL);
  ExitSignalsSetChild(nullptr);
  int status = 0;
  pid_t reaped;
  do {
    reaped = waitpid(state.pid, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  state.reaped = true;
  // Reaped by someone else (SIGCHLD ignored): how it ended is not known, so not success.
  if (reaped != state.pid) {
    state.status = -1;
  } else {
    state.status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  }
  return state.status;
}
