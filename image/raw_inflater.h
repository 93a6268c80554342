#pragma once
// Inflates raw deflate data as it arrives, in pieces of any size, making exactly the
// decisions of zlib 1.2.13's inflate with a 32 KiB window (inflateInit2 with -15 window
// bits): the same refusals with the same messages, at the same point of the input, the same
// output, and the same end (the final block's last byte; the bits left in it are dropped).
// The window is the tail of its own output buffer, so memory is one fixed buffer of about
// 160 KiB and the tables.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "image/huffman_table.h"

enum class InflateProgress {
  NeedInput,   // all the input is used: more must come
  OutputFull,  // the output piece is full: call again with the input left
  Ended,       // the final block has ended
  Failed,      // the data is refused; Failure() says why
};

struct InflateStep {
  InflateProgress progress = InflateProgress::NeedInput;
  size_t consumed = 0;              // input bytes used (once Ended, none after the final block)
  std::span<const uint8_t> output;  // the bytes made by this call, valid until the next
};

class RawInflater {
 public:
  RawInflater();
  RawInflater(const RawInflater&) = delete;
  RawInflater& operator=(const RawInflater&) = delete;

  InflateStep Inflate(std::span<const uint8_t> input);
  // zlib's message for the refusal, or the empty string.
  const char* Failure() const { return failure_; }

 private:
  enum class Mode { Header, StoredLengths, Stored, Counts, CodeLengthCodes, CodeLengths, Codes, End, Bad };

  InflateProgress Run();
  InflateProgress ReadCodeLengths();
  std::optional<InflateProgress> SlowSymbol();
  void FastSymbols();
  void Slide();
  bool Need(unsigned bits);
  void Drop(unsigned bits) {
    hold_ >>= bits;
    bits_ -= bits;
  }
  InflateProgress Fail(const char* message);
  uint64_t Written(const uint8_t* out) const { return slid_ + static_cast<uint64_t>(out - buffer_.get()); }

  std::unique_ptr<uint8_t[]> buffer_;
  uint8_t* out_;
  uint8_t* limit_;     // the end of the output piece; the buffer goes on for the copies' slack
  uint64_t slid_ = 0;  // bytes slid out of the buffer's front
  const uint8_t* in_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t hold_ = 0;  // bits read and not used, the next one lowest; zero above bits_
  unsigned bits_ = 0;

  Mode mode_ = Mode::Header;
  bool last_ = false;
  const char* failure_ = "";
  unsigned stored_left_ = 0;
  unsigned literal_count_ = 0;
  unsigned distance_count_ = 0;
  unsigned code_length_count_ = 0;
  unsigned have_ = 0;  // code lengths read so far
  uint8_t lengths_[320] = {};
  uint32_t code_length_table_[kCodeLengthTableSize] = {};
  unsigned code_length_root_ = 0;
  uint32_t literal_table_[kLiteralTableSize] = {};
  uint32_t distance_table_[kDistanceTableSize] = {};
  const uint32_t* literals_ = nullptr;
  const uint32_t* distances_ = nullptr;
  unsigned literal_root_ = 0;
  unsigned distance_root_ = 0;
};
