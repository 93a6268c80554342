#include "fs/mount_table.h"

#include <algorithm>
#include <array>

#include "fs/text_encoding.h"

namespace {

// The table escapes blank, tab, newline and backslash as three octal digits.
std::u16string Unescaped(std::string_view field) {
  std::string bytes;
  bytes.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
    if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      if (value <= 0xFF) {
        bytes += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    bytes += field[i];
  }
  return TextFromEscapedBytes(bytes);
}

// Fields of one line, split at blanks and tabs.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    const size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(line.find_first_of(" \t", start), line.size());
    fields.push_back(line.substr(start, end - start));
    at = end;
  }
  return fields;
}

// File systems of the kernel and of services, never a user's volume.
constexpr std::array<std::u16string_view, 27> kPseudoTypes = {
    u"proc",     u"sysfs",     u"cgroup",          u"cgroup2",     u"devpts",      u"devtmpfs",   u"tmpfs",
    u"ramfs",    u"mqueue",    u"debugfs",         u"tracefs",     u"securityfs",  u"pstore",     u"bpf",
    u"configfs", u"fusectl",   u"hugetlbfs",       u"autofs",      u"binfmt_misc", u"rpc_pipefs", u"nsfs",
    u"efivarfs", u"selinuxfs", u"fuse.gvfsd-fuse", u"fuse.portal", u"squashfs",    u"nfsd"};

bool Below(std::u16string_view path, std::u16string_view folder) {
  return path == folder || (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == u'/');
}

bool IsUserVolume(const MountEntry& entry) {
  if (std::find(kPseudoTypes.begin(), kPseudoTypes.end(), entry.type) != kPseudoTypes.end()) return false;
  const std::u16string_view at = entry.mount_point;
  if (Below(at, u"/media") || Below(at, u"/run/media") || Below(at, u"/mnt")) return true;
  return Below(at, u"/home") && entry.device.starts_with(u"/dev/");
}

}  // namespace

std::vector<MountEntry> MountTableParse(std::string_view text) {
  std::vector<MountEntry> entries;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    const std::vector<std::string_view> fields = Fields(text.substr(at, end - at));
    at = end + 1;
    if (fields.size() < 3 || !fields[1].starts_with('/')) continue;
    entries.push_back({Unescaped(fields[0]), Unescaped(fields[1]), Unescaped(fields[2])});
  }
  return entries;
}

std::vector<MountEntry> MountTableDrives(const std::vector<MountEntry>& entries) {
  std::vector<MountEntry> drives{{u"", u"/", u""}};
  for (const MountEntry& entry : entries) {
    if (entry.mount_point == u"/") {
      drives.front() = entry;
      continue;
    }
    if (!IsUserVolume(entry)) continue;
    const auto same = std::find_if(drives.begin(), drives.end(),
                                   [&](const MountEntry& d) { return d.mount_point == entry.mount_point; });
    if (same != drives.end())
      *same = entry;
    else if (drives.size() < kMaxDrives)
      drives.push_back(entry);
  }
  return drives;
}
