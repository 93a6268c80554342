#pragma once
// Files a scan passed over because their names end in an image extension in another
// case (IMG_1.JPG) or in .jpeg: counted, and a few named for the hint that tells the
// user why.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SkippedNames {
  // Names kept: memory stays the same however many files are skipped.
  static constexpr size_t kNamed = 2;

  int64_t count = 0;
  // The first kNamed names in code-unit order, so the hint does not change with the
  // order in which the system lists a folder.
  std::vector<std::u16string> named;

  void Add(const std::u16string& name) {
    ++count;
    if (named.size() == kNamed && !(name < named.back())) return;
    named.insert(std::upper_bound(named.begin(), named.end(), name), name);
    if (named.size() > kNamed) named.pop_back();
  }
};
