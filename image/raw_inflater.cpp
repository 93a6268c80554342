#include "image/raw_inflater.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

// The rules are those of zlib's inflate.c: each step of a block header reads its bits only
// once they are all there (the three header bits, the stored lengths after the partial
// byte is dropped, the fourteen count bits, each code-length code's three bits, each code
// length with its repeat bits), and a symbol is taken as soon as its whole code is there
// (an invalid code's one bit, then a length's extra bits, then the distance code, then its
// extra bits), so that a refusal comes at exactly the input zlib reaches it with, and
// nothing of a symbol is written before all of it is read. A distance reaching before the
// first byte written is refused, as zlib's window refuses it.
//
// Where at least 16 input bytes and room for a whole match are left, symbols are decoded
// with a 64-bit bit buffer refilled by one unaligned load and the bytes read ahead given
// back when the loop stops; elsewhere bytes are taken one at a time as zlib takes them, so
// that no byte beyond the final block is ever used.

namespace {

constexpr size_t kWindow = size_t{32} << 10;
constexpr size_t kPiece = size_t{128} << 10;
constexpr size_t kLongestMatch = 258;
constexpr size_t kSlack = 32;         // a match copy writes up to 15 bytes past its end
constexpr ptrdiff_t kFastInput = 16;  // two refills
constexpr ptrdiff_t kFastOutput = kLongestMatch + 2;

constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr uint32_t Mask(unsigned bits) { return (uint32_t{1} << bits) - 1; }

constexpr bool IsPlain(uint32_t entry) { return (entry & 0xF000) == 0; }

uint64_t Load64(const uint8_t* at) {
  uint64_t value;
  std::memcpy(&value, at, sizeof value);
  if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap64(value);
  return value;
}

// Tops the bit buffer up to 56 bits or more; the bits above them are the next input bytes.
inline void Refill(const uint8_t*& in, uint64_t& hold, unsigned& bits) {
  hold |= Load64(in) << bits;
  in += (63 - bits) >> 3;
  bits |= 56;
}

// Copies a match from `distance` back; writes up to 15 bytes past its end.
inline uint8_t* CopyMatch(uint8_t* out, size_t distance, size_t length) {
  uint8_t* const stop = out + length;
  const uint8_t* from = out - distance;
  if (distance >= 8) {
    do {
      std::memcpy(out, from, 8);
      std::memcpy(out + 8, from + 8, 8);
      out += 16;
      from += 16;
    } while (out < stop);
  } else if (distance == 1) {
    std::memset(out, *from, length);
  } else {
    // A short period: bytes one by one until a whole number of periods, at least 8 bytes,
    // lies behind, then 8 at a time from that far back.
    const size_t period = distance * ((8 + distance - 1) / distance);
    const size_t head = std::min(length, period - distance);
    for (size_t i = 0; i < head; ++i) out[i] = from[i];
    for (out += head; out < stop; out += 8) std::memcpy(out, out - period, 8);
  }
  return stop;
}

struct FixedTables {
  uint32_t literals[kLiteralTableSize];
  uint32_t distances[kDistanceTableSize];
  unsigned literal_root;
  unsigned distance_root;
  FixedTables() {
    uint8_t lengths[288];
    std::fill(lengths, lengths + 144, 8);
    std::fill(lengths + 144, lengths + 256, 9);
    std::fill(lengths + 256, lengths + 280, 7);
    std::fill(lengths + 280, lengths + 288, 8);
    literal_root = BuildHuffmanTable(HuffmanCode::LiteralLengths, lengths, kLiteralRootBits, literals);
    std::fill(lengths, lengths + 32, 5);
    distance_root = BuildHuffmanTable(HuffmanCode::Distances, std::span(lengths, 32), kDistanceRootBits, distances);
  }
};

const FixedTables& Fixed() {
  static const FixedTables tables;
  return tables;
}

}  // namespace

RawInflater::RawInflater()
    : buffer_(std::make_unique_for_overwrite<uint8_t[]>(kWindow + kPiece + kSlack)),
      out_(buffer_.get()),
      limit_(buffer_.get() + kWindow + kPiece) {}

InflateStep RawInflater::Inflate(std::span<const uint8_t> input) {
  if (limit_ - out_ < kFastOutput) Slide();
  uint8_t* const start = out_;
  in_ = input.data();
  end_ = in_ + input.size();
  const InflateProgress progress = Run();
  return {progress, static_cast<size_t>(in_ - input.data()), {start, out_}};
}

// Keeps the last 32 KiB written, the window, at the buffer's front.
void RawInflater::Slide() {
  const size_t gone = static_cast<size_t>(out_ - buffer_.get()) - kWindow;
  std::memmove(buffer_.get(), out_ - kWindow, kWindow);
  out_ -= gone;
  slid_ += gone;
}

bool RawInflater::Need(unsigned bits) {
  while (bits_ < bits) {
    if (in_ == end_) return false;
    hold_ |= uint64_t{*in_++} << bits_;
    bits_ += 8;
  }
  return true;
}

InflateProgress RawInflater::Fail(const char* message) {
  failure_ = message;
  mode_ = Mode::Bad;
  return InflateProgress::Failed;
}

InflateProgress RawInflater::Run() {
  for (;;) {
    switch (mode_) {
      case Mode::Header: {
        if (last_) {
          Drop(bits_ & 7);
          mode_ = Mode::End;
          return InflateProgress::Ended;
        }
        if (!Need(3)) return InflateProgress::NeedInput;
        last_ = (hold_ & 1) != 0;
        const unsigned type = hold_ >> 1 & 3;
        Drop(3);
        if (type == 0) {
          mode_ = Mode::StoredLengths;
        } else if (type == 1) {
          const FixedTables& fixed = Fixed();
          literals_ = fixed.literals;
          distances_ = fixed.distances;
          literal_root_ = fixed.literal_root;
          distance_root_ = fixed.distance_root;
          mode_ = Mode::Codes;
        } else if (type == 2) {
          mode_ = Mode::Counts;
        } else {
          return Fail("invalid block type");
        }
        break;
      }
      case Mode::StoredLengths:
        Drop(bits_ & 7);
        if (!Need(32)) return InflateProgress::NeedInput;
        if ((hold_ & 0xFFFF) != ((hold_ >> 16 & 0xFFFF) ^ 0xFFFF)) return Fail("invalid stored block lengths");
        stored_left_ = hold_ & 0xFFFF;
        Drop(32);
        mode_ = Mode::Stored;
        break;
      case Mode::Stored: {
        if (stored_left_ == 0) {
          mode_ = Mode::Header;
          break;
        }
        if (out_ == limit_) return InflateProgress::OutputFull;
        if (in_ == end_) return InflateProgress::NeedInput;
        const size_t n =
            std::min({size_t{stored_left_}, static_cast<size_t>(end_ - in_), static_cast<size_t>(limit_ - out_)});
        std::memcpy(out_, in_, n);
        out_ += n;
        in_ += n;
        stored_left_ -= static_cast<unsigned>(n);
        break;
      }
      case Mode::Counts:
        if (!Need(14)) return InflateProgress::NeedInput;
        literal_count_ = (hold_ & 31) + 257;
        distance_count_ = (hold_ >> 5 & 31) + 1;
        code_length_count_ = (hold_ >> 10 & 15) + 4;
        Drop(14);
        if (literal_count_ > 286 || distance_count_ > 30) return Fail("too many length or distance symbols");
        have_ = 0;
        mode_ = Mode::CodeLengthCodes;
        break;
      case Mode::CodeLengthCodes:
        for (; have_ < code_length_count_; ++have_) {
          if (!Need(3)) return InflateProgress::NeedInput;
          lengths_[kCodeLengthOrder[have_]] = hold_ & 7;
          Drop(3);
        }
        for (; have_ < 19; ++have_) lengths_[kCodeLengthOrder[have_]] = 0;
        code_length_root_ = BuildHuffmanTable(HuffmanCode::CodeLengths, std::span(lengths_, 19), kCodeLengthRootBits,
                                              code_length_table_);
        if (code_length_root_ == 0) return Fail("invalid code lengths set");
        have_ = 0;
        mode_ = Mode::CodeLengths;
        break;
      case Mode::CodeLengths: {
        const InflateProgress read = ReadCodeLengths();
        if (mode_ != Mode::Codes) return read;
        break;
      }
      case Mode::Codes: {
        if (end_ - in_ >= kFastInput && limit_ - out_ >= kFastOutput) {
          FastSymbols();
          break;
        }
        const std::optional<InflateProgress> stop = SlowSymbol();
        if (stop) return *stop;
        break;
      }
      case Mode::End:
        return InflateProgress::Ended;
      case Mode::Bad:
        return InflateProgress::Failed;
    }
  }
}

// Reads the literal/length and distance code lengths and builds their tables; the mode
// becomes Codes once they are built.
InflateProgress RawInflater::ReadCodeLengths() {
  const unsigned total = literal_count_ + distance_count_;
  while (have_ < total) {
    uint32_t entry = 0;
    for (;;) {
      entry = HuffmanLookup(code_length_table_, code_length_root_, hold_);
      if (HuffmanBits(entry) <= bits_) break;
      if (!Need(bits_ + 1)) return InflateProgress::NeedInput;
    }
    const unsigned bits = HuffmanBits(entry);
    const unsigned symbol = HuffmanValue(entry);
    if (symbol < 16) {
      Drop(bits);
      lengths_[have_++] = static_cast<uint8_t>(symbol);
      continue;
    }
    const unsigned repeat_bits = symbol == 16 ? 2 : symbol == 17 ? 3 : 7;
    if (!Need(bits + repeat_bits)) return InflateProgress::NeedInput;
    Drop(bits);
    uint8_t value = 0;
    if (symbol == 16) {
      if (have_ == 0) return Fail("invalid bit length repeat");
      value = lengths_[have_ - 1];
    }
    const unsigned repeat = (symbol == 18 ? 11 : 3) + static_cast<unsigned>(hold_ & Mask(repeat_bits));
    Drop(repeat_bits);
    if (have_ + repeat > total) return Fail("invalid bit length repeat");
    std::fill_n(lengths_ + have_, repeat, value);
    have_ += repeat;
  }
  if (lengths_[256] == 0) return Fail("invalid code -- missing end-of-block");
  literal_root_ = BuildHuffmanTable(HuffmanCode::LiteralLengths, std::span(lengths_, literal_count_), kLiteralRootBits,
                                    literal_table_);
  if (literal_root_ == 0) return Fail("invalid literal/lengths set");
  distance_root_ = BuildHuffmanTable(HuffmanCode::Distances, std::span(lengths_ + literal_count_, distance_count_),
                                     kDistanceRootBits, distance_table_);
  if (distance_root_ == 0) return Fail("invalid distances set");
  literals_ = literal_table_;
  distances_ = distance_table_;
  mode_ = Mode::Codes;
  return InflateProgress::NeedInput;
}

// One symbol with bytes taken as needed; nothing when it was decoded and written.
std::optional<InflateProgress> RawInflater::SlowSymbol() {
  uint32_t entry = 0;
  for (;;) {
    entry = HuffmanLookup(literals_, literal_root_, hold_);
    if (HuffmanBits(entry) <= bits_) break;
    if (!Need(bits_ + 1)) return InflateProgress::NeedInput;
  }
  unsigned used = HuffmanBits(entry);
  switch (HuffmanKind(entry)) {
    case kHuffmanPlain:
      if (out_ == limit_) return InflateProgress::OutputFull;
      *out_++ = static_cast<uint8_t>(HuffmanValue(entry));
      Drop(used);
      return std::nullopt;
    case kHuffmanEnd:
      Drop(used);
      mode_ = Mode::Header;
      return std::nullopt;
    case kHuffmanLength:
      break;
    default:
      return Fail("invalid literal/length code");
  }
  if (!Need(used + HuffmanExtra(entry))) return InflateProgress::NeedInput;
  const unsigned length = HuffmanValue(entry) + static_cast<unsigned>(hold_ >> used & Mask(HuffmanExtra(entry)));
  used += HuffmanExtra(entry);
  uint32_t code = 0;
  for (;;) {
    code = HuffmanLookup(distances_, distance_root_, hold_ >> used);
    if (used + HuffmanBits(code) <= bits_) break;
    if (!Need(bits_ + 1)) return InflateProgress::NeedInput;
  }
  if (HuffmanKind(code) != kHuffmanPlain) return Fail("invalid distance code");
  used += HuffmanBits(code);
  if (!Need(used + HuffmanExtra(code))) return InflateProgress::NeedInput;
  const unsigned distance = HuffmanValue(code) + static_cast<unsigned>(hold_ >> used & Mask(HuffmanExtra(code)));
  used += HuffmanExtra(code);
  if (distance > Written(out_)) return Fail("invalid distance too far back");
  if (static_cast<size_t>(limit_ - out_) < length) return InflateProgress::OutputFull;
  Drop(used);
  out_ = CopyMatch(out_, distance, length);
  return std::nullopt;
}

// Decodes symbols while the input and the room allow a whole match without a check. The
// members are copied to locals: every byte written could alias them.
void RawInflater::FastSymbols() {
  const uint8_t* in = in_;
  const uint8_t* const in_end = end_ - kFastInput;
  uint8_t* out = out_;
  const uint8_t* const out_end = limit_ - kFastOutput;
  const uint8_t* const base = buffer_.get();
  const uint64_t slid = slid_;
  uint64_t hold = hold_;
  unsigned bits = bits_;
  const uint32_t* const literals = literals_;
  const uint32_t* const distances = distances_;
  const unsigned literal_root = literal_root_;
  const unsigned distance_root = distance_root_;
  while (in <= in_end && out <= out_end) {
    Refill(in, hold, bits);
    // Up to three literals fit in the bits of one refill (15 bits each at most).
    uint32_t entry = HuffmanLookup(literals, literal_root, hold);
    if (IsPlain(entry)) {
      hold >>= HuffmanBits(entry);
      bits -= HuffmanBits(entry);
      *out++ = static_cast<uint8_t>(HuffmanValue(entry));
      entry = HuffmanLookup(literals, literal_root, hold);
      if (IsPlain(entry)) {
        hold >>= HuffmanBits(entry);
        bits -= HuffmanBits(entry);
        *out++ = static_cast<uint8_t>(HuffmanValue(entry));
        entry = HuffmanLookup(literals, literal_root, hold);
        if (IsPlain(entry)) {
          hold >>= HuffmanBits(entry);
          bits -= HuffmanBits(entry);
          *out++ = static_cast<uint8_t>(HuffmanValue(entry));
          continue;
        }
      }
      Refill(in, hold, bits);
    }
    if (entry & kHuffmanLength << 12) {
      unsigned used = HuffmanBits(entry);
      const unsigned length = HuffmanValue(entry) + static_cast<unsigned>(hold >> used & Mask(HuffmanExtra(entry)));
      used += HuffmanExtra(entry);
      hold >>= used;
      bits -= used;
      const uint32_t code = HuffmanLookup(distances, distance_root, hold);
      if (!IsPlain(code)) {
        Fail("invalid distance code");
        break;
      }
      used = HuffmanBits(code);
      const unsigned distance = HuffmanValue(code) + static_cast<unsigned>(hold >> used & Mask(HuffmanExtra(code)));
      used += HuffmanExtra(code);
      hold >>= used;
      bits -= used;
      if (distance > slid + static_cast<uint64_t>(out - base)) {
        Fail("invalid distance too far back");
        break;
      }
      out = CopyMatch(out, distance, length);
    } else if (entry & kHuffmanEnd << 12) {
      hold >>= HuffmanBits(entry);
      bits -= HuffmanBits(entry);
      mode_ = Mode::Header;
      break;
    } else {
      Fail("invalid literal/length code");
      break;
    }
  }
  in -= bits >> 3;
  bits &= 7;
  in_ = in;
  out_ = out;
  hold_ = hold & Mask(bits);
  bits_ = bits;
}
