#pragma once
// Reading the decimal number a program's words start with.
#include <charconv>
#include <optional>
#include <string_view>

// The number at the start of `text`, which then starts after it; none when there is none.
template <typename Number>
std::optional<Number> TakeLeadingNumber(std::string_view& text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return value;
}
