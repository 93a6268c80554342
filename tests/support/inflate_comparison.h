#pragma once
// Raw deflate data inflated with zlib and with RawInflater, fed in the same pieces, and
// what each decided, for the tests and the fuzz target that hold the two side by side.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct InflateOutcome {
  bool ended = false;           // the final block ended
  bool failed = false;          // the data was refused
  size_t consumed = 0;          // once ended: the input used
  std::vector<uint8_t> output;  // kept between runs: its size is the output limit
  size_t written = 0;
  std::string message;  // the refusal's
};

// Stops where the output reaches `limit` bytes, as zlib does with no room left.
void InflateWithZlib(std::span<const uint8_t> data, size_t piece, size_t limit, InflateOutcome& outcome);
void InflateWithRawInflater(std::span<const uint8_t> data, size_t piece, size_t limit, InflateOutcome& outcome);

// Empty where the two agree; otherwise what differs. Where zlib stopped for want of room,
// only the bytes it wrote are compared.
std::string InflateDifference(const InflateOutcome& zlib, const InflateOutcome& ours);
