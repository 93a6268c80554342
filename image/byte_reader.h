#pragma once
// Bounds-checked reads of little-endian fields from untrusted bytes: a field that does
// not lie wholly inside the data reads as nothing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The count bytes at offset, when they all lie inside the data.
inline std::optional<std::span<const uint8_t>> BytesAt(std::span<const uint8_t> data,
                                                       uint64_t offset, uint64_t count) {
  if (offset > data.size() || count > data.size() - offset) return std::nullopt;
  return data.subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
}

inline std::optional<uint16_t> U16At(std::span<const uint8_t> data, uint64_t offset) {
  const auto b = BytesAt(data, offset, 2);
  if (!b) return std::nullopt;
  return static_cast<uint16_t>((*b)[0] | (*b)[1] << 8);
}

inline std::optional<uint32_t> U32At(std::span<const uint8_t> data, uint64_t offset) {
  const auto b = BytesAt(data, offset, 4);
  if (!b) return std::nullopt;
  return static_cast<uint32_t>((*b)[0]) | static_cast<uint32_t>((*b)[1]) << 8 |
         static_cast<uint32_t>((*b)[2]) << 16 | static_cast<uint32_t>((*b)[3]) << 24;
}

inline std::optional<int32_t> I32At(std::span<const uint8_t> data, uint64_t offset) {
  const auto v = U32At(data, offset);
  if (!v) return std::nullopt;
  return static_cast<int32_t>(*v);
}
