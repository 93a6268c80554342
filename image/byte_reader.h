#pragma once
// Bounds-checked reads of fields from untrusted bytes.
//
// Headers are read as fixed-size pieces: FixedAt checks once that the piece lies inside
// the data, and the field readers take their offsets as template arguments, so a field
// outside the piece does not compile. Fields at offsets known only at run time go
// through U16At and friends, which read as nothing outside the data.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The count bytes at offset, when they all lie inside the data.
inline std::optional<std::span<const uint8_t>> BytesAt(std::span<const uint8_t> data, uint64_t offset, uint64_t count) {
  if (offset > data.size() || count > data.size() - offset) return std::nullopt;
  return data.subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
}

// The N bytes at offset as a piece of fixed size, when they all lie inside the data.
template <size_t N>
std::optional<std::span<const uint8_t, N>> FixedAt(std::span<const uint8_t> data, uint64_t offset) {
  const auto bytes = BytesAt(data, offset, N);
  if (!bytes) return std::nullopt;
  return bytes->template first<N>();
}

template <size_t Offset, size_t N>
uint16_t Le16(std::span<const uint8_t, N> b) {
  static_assert(Offset + 2 <= N, "field outside the header");
  return static_cast<uint16_t>(b[Offset] | b[Offset + 1] << 8);
}

template <size_t Offset, size_t N>
uint32_t Le32(std::span<const uint8_t, N> b) {
  static_assert(Offset + 4 <= N, "field outside the header");
  return static_cast<uint32_t>(b[Offset]) | static_cast<uint32_t>(b[Offset + 1]) << 8 |
         static_cast<uint32_t>(b[Offset + 2]) << 16 | static_cast<uint32_t>(b[Offset + 3]) << 24;
}

template <size_t Offset, size_t N>
int32_t LeI32(std::span<const uint8_t, N> b) {
  return static_cast<int32_t>(Le32<Offset>(b));
}

template <size_t Offset, size_t N>
uint16_t Be16(std::span<const uint8_t, N> b) {
  static_assert(Offset + 2 <= N, "field outside the header");
  return static_cast<uint16_t>(b[Offset] << 8 | b[Offset + 1]);
}

template <size_t Offset, size_t N>
uint32_t Be32(std::span<const uint8_t, N> b) {
  static_assert(Offset + 4 <= N, "field outside the header");
  return static_cast<uint32_t>(b[Offset]) << 24 | static_cast<uint32_t>(b[Offset + 1]) << 16 |
         static_cast<uint32_t>(b[Offset + 2]) << 8 | static_cast<uint32_t>(b[Offset + 3]);
}

inline std::optional<uint16_t> U16At(std::span<const uint8_t> data, uint64_t offset) {
  const auto b = FixedAt<2>(data, offset);
  if (!b) return std::nullopt;
  return Le16<0>(*b);
}

inline std::optional<uint32_t> U32At(std::span<const uint8_t> data, uint64_t offset) {
  const auto b = FixedAt<4>(data, offset);
  if (!b) return std::nullopt;
  return Le32<0>(*b);
}
