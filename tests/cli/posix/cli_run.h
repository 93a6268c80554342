#pragma once
// Running the imagescan-cli program as a child process, as a user or a script would.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

struct Outcome {
  int status = -1;
  std::string out, err;
};

inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Runs the program (or its build with injected faults) through the shell, after `prefix`
// (shell commands) when given, with its standard error in a file.
inline Outcome RunCli(const std::string& arguments, const TempFolder& scratch, const std::string& prefix = "",
                      const char* program = IMAGESCAN_CLI) {
  const std::string err_path = scratch.Path("stderr").string();
  const std::string command = prefix + Quote(program) + " " + arguments + " 2>" + Quote(err_path);
  Outcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return outcome;
  std::array<char, 4096> buffer;
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) outcome.out.append(buffer.data(), got);
  const int status = pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.err = scratch.Get("stderr");
  return outcome;
}

// Starts the program with `out` as its standard output and `err` as its standard error
// (none when -1).
inline pid_t StartCli(const std::vector<std::string>& arguments, int out, int err = -1) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  if (err < 0) {
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, err, 2);
  }
  std::vector<char*> argv = {const_cast<char*>(IMAGESCAN_CLI)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, IMAGESCAN_CLI, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The exit code, or minus the number of the signal that ended the process.
inline int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// The names of the scene's temporary files in the folder.
inline std::vector<std::string> Temporaries(const TempFolder& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path(""))) {
    if (entry.path().filename().string().starts_with(".image_scan.pov.")) found.push_back(entry.path().filename());
  }
  return found;
}
