// Linked into a test build of a program, so that a test running it as a child can make
// the file layer fail where a sound machine never would. IMAGESCAN_FAULTS holds faults
// separated by ';', each POINT:RESULT:SUFFIX: the point (open-folder, open-file,
// file-looked, list-folder, replace-file, change-owner, change-mode), the system code
// the call fails with or "bad_alloc" to throw that, and the end of the paths it applies
// to ('/' and '\' alike, a final separator ignored).
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "fs/fault_seam.h"
#include "fs/text_encoding.h"

namespace {

struct Fault {
  FaultPoint point;
  int code = 0;  // 0: throws std::bad_alloc
  std::u16string suffix;
};

std::vector<Fault>& Faults() {
  static std::vector<Fault> faults;
  return faults;
}

std::u16string Comparable(std::u16string path) {
  for (char16_t& unit : path)
    if (unit == u'\\') unit = u'/';
  if (!path.empty() && path.back() == u'/') path.pop_back();
  return path;
}

int Injected(FaultPoint point, const std::u16string& path) {
  const std::u16string comparable = Comparable(path);
  for (const Fault& fault : Faults()) {
    if (fault.point != point || !comparable.ends_with(fault.suffix)) continue;
    if (fault.code == 0) throw std::bad_alloc();
    return fault.code;
  }
  return 0;
}

bool PointNamed(const std::string& name, FaultPoint& point) {
  const std::pair<const char*, FaultPoint> known[] = {
      {"open-folder", FaultPoint::OpenFolder},   {"open-file", FaultPoint::OpenFile},
      {"file-looked", FaultPoint::FileLooked},   {"list-folder", FaultPoint::ListFolder},
      {"replace-file", FaultPoint::ReplaceFile}, {"change-owner", FaultPoint::ChangeOwner},
      {"change-mode", FaultPoint::ChangeMode}};
  for (const auto& [known_name, known_point] : known) {
    if (name == known_name) {
      point = known_point;
      return true;
    }
  }
  return false;
}

// Reads the faults before main runs.
const bool g_installed = [] {
  const char* setting = std::getenv("IMAGESCAN_FAULTS");
  if (setting == nullptr) return false;
  const std::string text = setting;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(start, end - start);
    start = end + 1;
    const size_t first = item.find(':'), second = item.find(':', first + 1);
    Fault fault{};
    if (second == std::string::npos || !PointNamed(item.substr(0, first), fault.point)) continue;
    const std::string result = item.substr(first + 1, second - first - 1);
    fault.code = result == "bad_alloc" ? 0 : std::atoi(result.c_str());
    fault.suffix = Comparable(TextFromEscapedBytes(item.substr(second + 1)));
    if (fault.code != 0 || result == "bad_alloc") Faults().push_back(std::move(fault));
  }
  FaultHookSet(Injected);
  return true;
}();

}  // namespace
