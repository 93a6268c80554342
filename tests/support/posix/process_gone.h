#pragma once
// Whether a process has ended, seen from outside it.
#include <sys/types.h>

#include <fstream>
#include <string>

// Gone, or only waiting to be reaped by whoever adopted it.
inline bool ProcessGone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string number, name, state;
  return !(stat >> number >> name >> state) || state == "Z";
}
