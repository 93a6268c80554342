#include "image/gif_image_data.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <optional>

// giflib spends most of a GIF's measuring walking each code's chain of prefixes twice
// and writing every pixel. The decisions below depend only on the codes and the table's
// links, never on the pixels' values, so a chain's length is kept once known: a link is
// written once between clear codes, so a chain that reaches a pixel never changes.
//
// The rules mirror giflib 5.2.1's DGifGetLine, DGifDecompressLine, DGifDecompressInput,
// DGifBufferedInput and DGifGetCodeNext, including what it accepts from damaged data: a
// code not yet in the table decodes from the previous code, links may form loops (caught
// by the pixel stack's limit), and a full table is kept, not an error. What a code
// decodes beyond a line's end is the next line's start, so reading line by line decides
// as reading all the image's pixels in one run does.
static_assert(GIFLIB_MAJOR == 5 && GIFLIB_MINOR == 2 && GIFLIB_RELEASE == 1,
              "the rules are giflib 5.2.1's: prove them again against this giflib, or have the GIF "
              "decoder's SkipImage read every line with DGifGetLine");

namespace {

// giflib's private limits: the largest code, also the pixel stack's size; the longest
// code; and the mark of a table entry not yet linked.
constexpr int kMaxCode = 4095;
constexpr int kMaxBits = 12;
constexpr uint16_t kNoCode = 4098;

// The image's sub-blocks read as giflib reads them: a whole block at a time, only when
// a code needs one more byte.
class CodeReader {
 public:
  CodeReader(ImageSource& source, uint64_t& position) : source_(source), position_(position) {}

  // The next code of bits bits; nothing (and error set) where the data fails.
  std::optional<int> Next(int bits) {
    if (shift_bits_ < bits) {
      Fill();
      while (shift_bits_ < bits) {
        if (!NextBlock()) return std::nullopt;
        Fill();
      }
    }
    const int code = static_cast<int>(shift_ & ((1u << bits) - 1));
    shift_ >>= bits;
    shift_bits_ -= bits;
    return code;
  }

  // Reads the blocks after the current one up to the empty one that ends the data.
  bool SkipToTerminator() {
    for (;;) {
      const auto length = ReadLength();
      if (!length) return Fail(D_GIF_ERR_READ_FAILED);
      if (*length == 0) return true;
      if (Read(*length).size() != *length) return Fail(D_GIF_ERR_READ_FAILED);
    }
  }

  bool Fail(int error) {
    error_ = error;
    return false;
  }
  int error() const { return error_; }

 private:
  // Takes what the current block holds, up to what the bit buffer holds: a new block is
  // read only when a code needs it.
  void Fill() {
    while (shift_bits_ <= 56 && at_ < size_) {
      shift_ |= uint64_t{block_[at_++]} << shift_bits_;
      shift_bits_ += 8;
    }
  }

  // Short only where the data ends, as the decoder's read function is.
  std::span<const uint8_t> Read(size_t count) {
    const auto piece = source_.Fetch(position_, count);
    position_ += piece.size();
    return piece;
  }

  // A block's length byte, copied: the next read may replace the bytes it was read from.
  std::optional<size_t> ReadLength() {
    const auto length = Read(1);
    if (length.size() != 1) return std::nullopt;
    return length[0];
  }

  bool NextBlock() {
    const auto length = ReadLength();
    if (!length) return Fail(D_GIF_ERR_READ_FAILED);
    // The end code must come before an empty block.
    if (*length == 0) return Fail(D_GIF_ERR_IMAGE_DEFECT);
    const auto data = Read(*length);
    if (data.size() != *length) return Fail(D_GIF_ERR_READ_FAILED);
    std::copy(data.begin(), data.end(), block_.begin());
    size_ = data.size();
    at_ = 0;
    return true;
  }

  ImageSource& source_;
  uint64_t& position_;
  std::array<uint8_t, 255> block_{};
  size_t size_ = 0;
  size_t at_ = 0;
  uint64_t shift_ = 0;
  int shift_bits_ = 0;
  int error_ = 0;
};

class CodeTable {
 public:
  explicit CodeTable(int clear) : clear_(clear) { Clear(); }

  void Clear() {
    prefix_.fill(kNoCode);
    steps_.fill(0);
  }
  bool Defined(int code) const { return prefix_[code] != kNoCode; }
  void Link(int code, int prefix) {
    if (!Defined(code)) prefix_[code] = static_cast<uint16_t>(prefix);
  }

  // The links followed from code down to a pixel, with stacked pixels already on the
  // stack; nothing where giflib finds the image defective (a missing link, a loop or a
  // chain too long for the stack).
  std::optional<int> Steps(int code, int stacked) {
    int steps = 0;
    int at = code;
    while (stacked + steps < kMaxCode && at > clear_ && at <= kMaxCode) {
      if (steps_[at] != 0) {
        steps += steps_[at];
        at = 0;
        break;
      }
      ++steps;
      at = prefix_[at];
    }
    if (stacked + steps >= kMaxCode || at > kMaxCode) return std::nullopt;
    if (code > clear_) steps_[code] = static_cast<uint16_t>(steps);
    return steps;
  }

 private:
  int clear_;
  std::array<uint16_t, kMaxCode + 1> prefix_{};
  std::array<uint16_t, kMaxCode + 1> steps_{};  // 0: not yet known
};

}  // namespace

int SkipGifImageData(ImageSource& source, uint64_t& position, int code_size, uint64_t pixel_count) {
  // giflib refuses these when it reads the code size, with this error.
  if (code_size < 0 || code_size > 8) return D_GIF_ERR_READ_FAILED;
  CodeReader reader(source, position);
  const int clear = 1 << code_size;
  const int end = clear + 1;
  CodeTable table(clear);
  int running_code = end + 1;
  int running_bits = code_size + 1;
  int max_code = 1 << running_bits;
  int last = kNoCode;
  uint64_t left = pixel_count;
  while (left > 0) {
    const auto code = reader.Next(running_bits);
    if (!code) return reader.error();
    if (running_code < kMaxCode + 2 && ++running_code > max_code && running_bits < kMaxBits) {
      max_code <<= 1;
      ++running_bits;
    }
    if (*code == end) return D_GIF_ERR_EOF_TOO_SOON;
    if (*code == clear) {
      table.Clear();
      running_code = end + 1;
      running_bits = code_size + 1;
      max_code = 1 << running_bits;
      last = kNoCode;
      continue;
    }
    uint64_t pixels = 1;
    if (*code > clear) {
      // A code not yet in the table stands for the previous code's string and one pixel.
      const bool undefined = !table.Defined(*code);
      const int stacked = undefined ? 1 : 0;
      const auto steps = table.Steps(undefined ? last : *code, stacked);
      if (!steps) return D_GIF_ERR_IMAGE_DEFECT;
      pixels = static_cast<uint64_t>(stacked + *steps + 1);
    }
    // Pixels beyond the image's last are decoded and dropped.
    left -= std::min(left, pixels);
    if (last != kNoCode && running_code - 2 <= kMaxCode) table.Link(running_code - 2, last);
    last = *code;
  }
  return reader.SkipToTerminator() ? 0 : reader.error();
}
