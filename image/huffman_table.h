#pragma once
// Decoding tables for the Huffman codes of raw deflate data, built and refused exactly as
// zlib 1.2.13's inftrees.c builds and refuses them. An entry is one 32-bit word: the
// code's length in bits, what it decodes to, and for lengths and distances the base value
// and the count of extra bits that follow the code, so one lookup gives all of it.
#include <cstdint>
#include <span>

enum class HuffmanCode { CodeLengths, LiteralLengths, Distances };

// What an entry holds, in bits 12 to 15.
constexpr uint32_t kHuffmanPlain = 0;    // a literal byte, a distance or a code length
constexpr uint32_t kHuffmanLength = 1;   // a match length
constexpr uint32_t kHuffmanEnd = 2;      // the end of the block
constexpr uint32_t kHuffmanInvalid = 4;  // a code that no symbol has: zlib refuses it when read
constexpr uint32_t kHuffmanSub = 8;      // codes longer than the root: a second-level table

constexpr uint32_t HuffmanKind(uint32_t entry) { return entry >> 12 & 0xF; }
// The whole code's length, counted from the first bit (for kHuffmanSub: the root bits).
constexpr unsigned HuffmanBits(uint32_t entry) { return entry & 0xFF; }
// Extra bits after the code (for kHuffmanSub: the second-level table's index bits).
constexpr unsigned HuffmanExtra(uint32_t entry) { return entry >> 8 & 0xF; }
// The symbol, base value, or for kHuffmanSub where the second-level table starts.
constexpr unsigned HuffmanValue(uint32_t entry) { return entry >> 16; }

// Room each table needs with these root sizes, the most any code can take (zlib's
// examples/enough.c: 1332 entries for 286 symbols at root 10, 400 for 30 at root 8).
constexpr unsigned kLiteralRootBits = 10;
constexpr unsigned kDistanceRootBits = 8;
constexpr unsigned kCodeLengthRootBits = 7;
constexpr size_t kLiteralTableSize = 1332;
constexpr size_t kDistanceTableSize = 400;
constexpr size_t kCodeLengthTableSize = 128;

// Fills `table` for the code with these lengths (one per symbol, 0 for none) and returns
// its root bits, or 0 where zlib refuses the code: over-subscribed, or incomplete unless
// its longest code has one bit (a literal/length or distance code of one lone code). A code
// of no symbols at all is taken, as zlib takes it: every lookup is one bit long, a code
// length of 0 for the code-length code and an invalid code for the others.
unsigned BuildHuffmanTable(HuffmanCode code, std::span<const uint8_t> lengths, unsigned root_bits,
                           std::span<uint32_t> table);

// Looks a code up in the bits from the stream's next one on (bits not yet read are zero).
inline uint32_t HuffmanLookup(const uint32_t* table, unsigned root_bits, uint64_t bits) {
  const uint32_t entry = table[bits & ((uint32_t{1} << root_bits) - 1)];
  if (!(entry & kHuffmanSub << 12)) return entry;
  return table[HuffmanValue(entry) + ((bits >> root_bits) & ((uint32_t{1} << HuffmanExtra(entry)) - 1))];
}
