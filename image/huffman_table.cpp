#include "image/huffman_table.h"

#include <array>

namespace {

constexpr unsigned kLongestCode = 15;

constexpr uint32_t Entry(uint32_t kind, unsigned value, unsigned bits, unsigned extra) {
  return uint32_t{value} << 16 | kind << 12 | uint32_t{extra} << 8 | bits;
}

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// What a symbol decodes to. Literal/length symbols 286 and 287 and distances 30 and 31 have
// codes only in fixed blocks, and zlib refuses them there.
uint32_t SymbolEntry(HuffmanCode code, unsigned symbol, unsigned bits) {
  switch (code) {
    case HuffmanCode::CodeLengths:
      return Entry(kHuffmanPlain, symbol, bits, 0);
    case HuffmanCode::LiteralLengths:
      if (symbol < 256) return Entry(kHuffmanPlain, symbol, bits, 0);
      if (symbol == 256) return Entry(kHuffmanEnd, 0, bits, 0);
      if (symbol - 257 < kLengthBase.size())
        return Entry(kHuffmanLength, kLengthBase[symbol - 257], bits, kLengthExtra[symbol - 257]);
      return Entry(kHuffmanInvalid, 0, bits, 0);
    case HuffmanCode::Distances:
      if (symbol < kDistanceBase.size())
        return Entry(kHuffmanPlain, kDistanceBase[symbol], bits, kDistanceExtra[symbol]);
      return Entry(kHuffmanInvalid, 0, bits, 0);
  }
  return Entry(kHuffmanInvalid, 0, bits, 0);
}

}  // namespace

// The walk is inftrees.c's: symbols sorted by code length, codes counted up bit-reversed,
// each entry repeated over the index bits it does not use, and a second-level table, as
// small as the codes under it allow, wherever a code is longer than the root.
unsigned BuildHuffmanTable(HuffmanCode code, std::span<const uint8_t> lengths, unsigned root_bits,
                           std::span<uint32_t> table) {
  std::array<unsigned, kLongestCode + 1> count{};
  for (const uint8_t length : lengths) ++count[length];
  unsigned max = kLongestCode;
  while (max >= 1 && count[max] == 0) --max;
  if (max == 0) {
    const uint32_t none =
        code == HuffmanCode::CodeLengths ? Entry(kHuffmanPlain, 0, 1, 0) : Entry(kHuffmanInvalid, 0, 1, 0);
    table[0] = table[1] = none;
    return 1;
  }
  unsigned min = 1;
  while (min < max && count[min] == 0) ++min;
  unsigned root = root_bits > max ? max : root_bits;
  if (root < min) root = min;

  int left = 1;
  for (unsigned length = 1; length <= kLongestCode; ++length) {
    left = left * 2 - static_cast<int>(count[length]);
    if (left < 0) return 0;  // over-subscribed
  }
  if (left > 0 && (code == HuffmanCode::CodeLengths || max != 1)) return 0;  // incomplete

  std::array<unsigned, kLongestCode + 2> offset{};
  for (unsigned length = 1; length < kLongestCode; ++length) offset[length + 1] = offset[length] + count[length];
  std::array<uint16_t, 288> sorted{};
  for (unsigned symbol = 0; symbol < lengths.size(); ++symbol) {
    if (lengths[symbol] != 0) sorted[offset[lengths[symbol]]++] = static_cast<uint16_t>(symbol);
  }

  unsigned huff = 0;  // the current code, bit-reversed
  unsigned symbol = 0;
  unsigned length = min;
  size_t next = 0;  // where the table being filled starts
  unsigned current = root;
  unsigned drop = 0;
  unsigned low = ~0u;
  size_t used = size_t{1} << root;
  const unsigned mask = (1u << root) - 1;
  if (used > table.size()) return 0;
  for (;;) {
    const uint32_t entry = SymbolEntry(code, sorted[symbol], length);
    const unsigned step = 1u << (length - drop);
    for (unsigned fill = 1u << current; fill != 0;) {
      fill -= step;
      table[next + (huff >> drop) + fill] = entry;
    }
    unsigned increment = 1u << (length - 1);
    while (huff & increment) increment >>= 1;
    huff = increment != 0 ? (huff & (increment - 1)) + increment : 0;

    ++symbol;
    if (--count[length] == 0) {
      if (length == max) break;
      length = lengths[sorted[symbol]];
    }
    if (length > root && (huff & mask) != low) {
      if (drop == 0) drop = root;
      next += size_t{1} << current;
      current = length - drop;
      int room = 1 << current;
      while (current + drop < max) {
        room -= static_cast<int>(count[current + drop]);
        if (room <= 0) break;
        ++current;
        room <<= 1;
      }
      used += size_t{1} << current;
      if (used > table.size()) return 0;
      low = huff & mask;
      table[low] = Entry(kHuffmanSub, static_cast<unsigned>(next), root, current);
    }
  }
  // An incomplete code here has one code of one bit: the other half of the root is unused.
  if (huff != 0) table[next + huff] = Entry(kHuffmanInvalid, 0, length - drop, 0);
  return root;
}
