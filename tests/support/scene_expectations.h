#pragma once
// What a scene file must hold, worked out independently of the scan: the system's own
// listing order, folders entered where they stand, each image's size from a table.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/scene/scene_format.h"

namespace stdfs = std::filesystem;

// The line of one image: POV-Ray's escapes for quote, backslash, LF and CR in its path.
inline std::string Line(const std::string& relative, int width, int height) {
  std::string quoted;
  for (const char c : relative) {
    const char* escape = c == '"' ? "\\\"" : c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : nullptr;
    quoted += escape ? std::string(escape) : std::string(1, c);
  }
  return "add_image ( \"" + quoted + "\", " + std::to_string(width) + ", " + std::to_string(height) + " ) \r\n";
}

inline std::string Scene(const std::string& lines) {
  return std::string(kSceneHeader) + "\r\n" + lines + std::string(kSceneFooter) + "\r\n";
}

// The lines a scan must write, found independently: the system's listing order, folders
// entered where they stand, sizes from `sizes` (1 x 1 for names not in it).
inline std::string ExpectedLines(const stdfs::path& root, const std::map<std::string, std::pair<int, int>>& sizes,
                                 std::vector<std::string>* order = nullptr) {
  std::string lines;
  std::function<void(const stdfs::path&, const std::string&)> walk = [&](const stdfs::path& folder,
                                                                         const std::string& prefix) {
    std::error_code error;
    for (const auto& entry : stdfs::directory_iterator(folder, error)) {
      const std::string name = entry.path().filename().string();
      std::error_code ignored;
      if (entry.is_directory(ignored)) {
        walk(entry.path(), prefix + name + "/");
        continue;
      }
      const std::string tail = name.size() >= 3 ? name.substr(name.size() - 3) : name;
      if (tail != "png" && tail != "jpg" && tail != "gif" && tail != "hdr") continue;
      const auto found = sizes.find(prefix + name);
      const auto [w, h] = found == sizes.end() ? std::pair{1, 1} : found->second;
      lines += Line(prefix + name, w, h);
      if (order) order->push_back(prefix + name);
    }
  };
  walk(root, "");
  return lines;
}
