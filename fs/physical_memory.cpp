#include "fs/physical_memory.h"

#include <charconv>

std::optional<uint64_t> MemoryLimitFromText(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<std::string_view> ControlGroupFromText(std::string_view text) {
  // The unified hierarchy's line is "0::<path>".
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (line.starts_with("0::/")) return line.substr(3);
    start = end + 1;
  }
  return std::nullopt;
}
