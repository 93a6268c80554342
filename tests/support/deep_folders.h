#pragma once
// A chain of folders deeper than any path can reach, made and removed one level at a
// time (std::filesystem goes by whole paths, which the system refuses there).
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

// The name of every folder of the chain: 250 bytes, so 17 levels pass 4096.
inline const std::string kDeepName(250, 'd');

inline void MakeDeepFolders(const std::filesystem::path& root, int levels) {
  int folder = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < levels && folder >= 0; ++level) {
    mkdirat(folder, kDeepName.c_str(), 0755);
    const int next = openat(folder, kDeepName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(folder);
    folder = next;
  }
  if (folder >= 0) close(folder);
}

inline void RemoveDeepFolders(const std::filesystem::path& root, int levels) {
  std::vector<int> chain = {open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  while (static_cast<int>(chain.size()) < levels && chain.back() >= 0)
    chain.push_back(openat(chain.back(), kDeepName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  for (; !chain.empty(); chain.pop_back()) {
    if (chain.back() < 0) continue;
    unlinkat(chain.back(), kDeepName.c_str(), AT_REMOVEDIR);
    close(chain.back());
  }
}
