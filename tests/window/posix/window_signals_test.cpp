// The window program ended by a signal: as the batch program, it exits with 128 + the
// signal's number (after removing a scan's temporary file) instead of dying of it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "support/temp_folder.h"

namespace {

// Whether the process catches the signal, from the mask /proc gives of it.
bool Catches(pid_t pid, int number) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (number - 1)) & 1;
  }
  return false;
}

TEST(WindowSignals, InterruptTerminationHangUpAndOthersEndTheProgramWithTheirCodes) {
  TempFolder home;
  const std::string home_setting = "HOME=" + home.Path("").string();
  char* const environment[] = {const_cast<char*>("QT_QPA_PLATFORM=offscreen"), const_cast<char*>(home_setting.c_str()),
                               const_cast<char*>("ASAN_OPTIONS=detect_leaks=0"), nullptr};
  for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGXCPU}) {
    char* const argv[] = {const_cast<char*>(IMAGESCAN_WINDOW), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, IMAGESCAN_WINDOW, nullptr, nullptr, argv, environment), 0);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!Catches(pid, number) && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(pid, number);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    ASSERT_TRUE(WIFEXITED(status)) << strsignal(number) << " killed it";
    EXPECT_EQ(WEXITSTATUS(status), 128 + number) << strsignal(number);
  }
}

}  // namespace
