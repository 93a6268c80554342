#include "support/deflate_streams.h"

#include <zlib.h>

#include <cstdint>

namespace {

// Bits go in from each byte's lowest; Huffman codes from their first (highest) bit.
class BitWriter {
 public:
  BitWriter& Bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
    return *this;
  }
  BitWriter& Code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
    return *this;
  }
  BitWriter& Align() {
    while (used_ != 0) Bit(0);
    return *this;
  }
  Bytes Done() {
    Align();
    return bytes_;
  }

 private:
  void Bit(uint32_t bit) {
    if (used_ == 0) bytes_.push_back(0);
    bytes_.back() = static_cast<uint8_t>(bytes_.back() | bit << used_);
    used_ = (used_ + 1) % 8;
  }
  Bytes bytes_;
  int used_ = 0;
};

// The fixed code of a literal/length symbol.
void Fixed(BitWriter& w, int symbol) {
  if (symbol < 144)
    w.Code(0x30 + symbol, 8);
  else if (symbol < 256)
    w.Code(0x190 + symbol - 144, 9);
  else if (symbol < 280)
    w.Code(symbol - 256, 7);
  else
    w.Code(0xC0 + symbol - 280, 8);
}

// A final fixed block: literal 0, then the given symbols (a length symbol 257, length 3, is
// followed by `distance_code`, five bits).
Bytes FixedBlock(std::vector<int> symbols, int distance_code = 0) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2);
  Fixed(w, 0);
  for (const int symbol : symbols) {
    Fixed(w, symbol);
    if (symbol == 257) w.Code(static_cast<uint32_t>(distance_code), 5);
  }
  return w.Done();
}

// Code-length symbols, each with the extra bits of a repeat (16: three to six copies).
struct LengthSymbol {
  int symbol;
  int extra = 0;
};

// A final dynamic block's header: `literals` + 257 literal/length and `distances` + 1
// distance codes, their lengths sent with a code-length code giving 0, 1, 2 and 16 two bits
// each (or only one bit to symbol 0, which is incomplete), then `data` as Huffman codes
// (value, length).
Bytes DynamicBlock(int literals, int distances, const std::vector<LengthSymbol>& lengths,
                   const std::vector<std::pair<uint32_t, int>>& data, bool complete_length_code = true) {
  BitWriter w;
  w.Bits(1, 1).Bits(2, 2).Bits(static_cast<uint32_t>(literals), 5).Bits(static_cast<uint32_t>(distances), 5);
  // The code-length code's lengths in their order 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4,
  // 12, 3, 13, 2, 14, 1: 18 of them.
  w.Bits(14, 4);
  for (const int symbol : {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1}) {
    const bool used = complete_length_code ? (symbol <= 2 || symbol == 16) : symbol == 0;
    w.Bits(used ? (complete_length_code ? 2 : 1) : 0, 3);
  }
  // Canonical codes: 0 -> 00, 1 -> 01, 2 -> 10, 16 -> 11.
  for (const LengthSymbol& s : lengths) {
    w.Code(s.symbol == 16 ? 3 : static_cast<uint32_t>(s.symbol), 2);
    if (s.symbol == 16) w.Bits(static_cast<uint32_t>(s.extra), 2);
  }
  for (const auto& [code, length] : data) w.Code(code, length);
  return w.Done();
}

// Lengths for 257 literal/length codes: `given` (symbol, length), zero elsewhere.
std::vector<LengthSymbol> Literals(const std::vector<std::pair<int, int>>& given) {
  std::vector<LengthSymbol> lengths(257, LengthSymbol{0});
  for (const auto& [symbol, length] : given) lengths[static_cast<size_t>(symbol)].symbol = length;
  return lengths;
}

std::vector<LengthSymbol> Joined(std::vector<LengthSymbol> a, const std::vector<LengthSymbol>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// End of block '0', literal 0 '10', literal 65 '11'; two distance codes of one bit.
const std::vector<std::pair<int, int>> kSoundLiterals = {{256, 1}, {0, 2}, {65, 2}};
const std::vector<std::pair<uint32_t, int>> kSoundData = {{2, 2}, {3, 2}, {0, 1}};

// A code-length code with no codes at all, which zlib takes: it then reads every one of the
// 258 code lengths as 0, one bit each, and finds no end-of-block code.
Bytes EmptyCodeLengthCode() {
  BitWriter w;
  w.Bits(1, 1).Bits(2, 2).Bits(0, 5).Bits(0, 5).Bits(0, 4).Bits(0, 12);
  for (int i = 0; i < 258; ++i) w.Bits(0, 1);
  return w.Done();
}

}  // namespace

Bytes ZlibRawDeflate(const Bytes& data, int level, int window_bits, int strategy) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -window_bits, 8, strategy) != Z_OK) return {};
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  return out;
}

Bytes SoundDeflateStream() { return DynamicBlock(0, 1, Joined(Literals(kSoundLiterals), {{1}, {1}}), kSoundData); }

std::vector<RefusedDeflateStream> RefusedDeflateStreams() {
  const auto sound_literals = Literals(kSoundLiterals);
  return {
      {"invalid block type", BitWriter().Bits(1, 1).Bits(3, 2).Done()},
      {"invalid stored block lengths", Bytes{0x01, 0x01, 0x00, 0x00, 0x00, 'A'}},
      {"too many length or distance symbols", DynamicBlock(30, 1, {}, {})},
      {"too many length or distance symbols", DynamicBlock(0, 30, {}, {})},
      {"invalid code lengths set", DynamicBlock(0, 1, Joined(sound_literals, {{1}, {1}}), kSoundData, false)},
      {"invalid bit length repeat", DynamicBlock(0, 1, {{16, 0}}, {})},
      // The last length repeated three times where only one code is left.
      {"invalid bit length repeat", DynamicBlock(0, 1, Joined(sound_literals, {{1}, {16, 0}}), kSoundData)},
      {"invalid code -- missing end-of-block",
       DynamicBlock(0, 1, Joined(Literals({{0, 1}, {65, 1}}), {{1}, {1}}), {{0, 1}, {1, 1}})},
      {"invalid code -- missing end-of-block", EmptyCodeLengthCode()},
      {"invalid literal/lengths set",
       DynamicBlock(0, 1, Joined(Literals({{256, 1}, {0, 1}, {65, 1}}), {{1}, {1}}), kSoundData)},
      // Incomplete: one code of one bit and one of two; the code '11' means nothing.
      {"invalid literal/lengths set",
       DynamicBlock(0, 1, Joined(Literals({{256, 1}, {0, 2}}), {{1}, {1}}), {{2, 2}, {0, 1}})},
      {"invalid distances set", DynamicBlock(0, 2, Joined(sound_literals, {{1}, {1}, {1}}), kSoundData)},
      {"invalid distances set", DynamicBlock(0, 1, Joined(sound_literals, {{2}, {0}}), kSoundData)},
      // zlib lets a lone code of one bit be incomplete, and refuses the other bit as a code.
      {"invalid literal/length code", DynamicBlock(0, 1, Joined(Literals({{256, 1}}), {{1}, {1}}), {{1, 1}})},
      {"invalid literal/length code", FixedBlock({286})},
      {"invalid literal/length code", FixedBlock({287})},
      {"invalid distance code", FixedBlock({257, 256}, 30)},
      {"invalid distance code", FixedBlock({257, 256}, 31)},
      {"invalid distance too far back", FixedBlock({257, 256}, 1)},
  };
}
