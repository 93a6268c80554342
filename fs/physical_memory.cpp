#include "fs/physical_memory.h"

#include <charconv>

std::optional<uint64_t> MemoryLimitFromText(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

namespace {

bool ListsController(std::string_view list, std::string_view controller) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    if (list.substr(0, comma) == controller) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace

std::optional<std::string_view> ControlGroupFromText(std::string_view text, std::string_view controller) {
  // Lines are "<id>:<controllers>:<path>"; the unified hierarchy's is "0::<path>".
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const size_t first = line.find(':');
    const size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos || line.substr(second + 1, 1) != "/") continue;
    const std::string_view controllers = line.substr(first + 1, second - first - 1);
    const bool wanted = controller.empty() ? line.substr(0, first) == "0" && controllers.empty()
                                           : ListsController(controllers, controller);
    if (wanted) return line.substr(second + 1);
  }
  return std::nullopt;
}
