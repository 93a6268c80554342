#include "image/png_image_data.h"

#include <libdeflate.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <new>
#include <span>

#include "image/raw_inflater.h"

// What the loader's libpng (1.6.39, as configured in png_decoder.cpp: errors end the load,
// warnings and "benign" errors are ignored, as libpng sets them for readers; default CRC
// actions; no png_read_end) does with the image data, as read in pngrutil.c and pngread.c.
// libpng's png_read_info has already read every chunk up to and including the first IDAT's
// header, with all its rules (IHDR first and valid, PLTE before IDAT, CRC errors fatal on
// critical chunks and ignored on ancillary ones); from there on, row by row:
//  - png_read_IDAT_data inflates each row (its filter byte first) with one inflate() call per
//    piece of input: at most 8192 bytes of the current IDAT chunk. When a chunk's data runs
//    out it checks that chunk's CRC (a mismatch is fatal: IDAT is critical) and reads the next
//    chunk header; a chunk other than IDAT there is fatal ("Not enough image data"), as is a
//    length above 2^31 - 1. Empty IDAT chunks are passed over the same way.
//  - inflate runs with window bits 0, the window the zlib header asks for; libpng refuses a
//    header window above 32 KiB itself. zlib refuses a distance reaching before the bytes it
//    has written in this call plus what its window holds, so with a window below 32 KiB the
//    answer depends on where libpng's calls begin and end.
//  - Any zlib error while a row is being filled is fatal, and so is the stream ending before
//    the last row is full. Data check (Adler-32) errors are fatal only if zlib reaches the
//    check while filling a row.
//  - A row's filter byte above 4 is fatal ("bad adaptive filter value"). Interlaced rows are
//    read pass by pass, each pass's rows as wide as its reduced image; a pass with no
//    columns or no rows holds no data.
//  - After the last row (png_read_finish_IDAT) the rest of the stream is inflated into a
//    scratch buffer, reading further IDAT chunks if it needs input (a non-IDAT chunk then is
//    fatal); errors there, extra output ("Too much image data") and bytes after the stream's
//    end ("Extra compressed data") are only benign. The current chunk's CRC is checked last.
//    Nothing after that chunk is read: no IEND is needed, and later chunks are never seen.
// This check calls data sound only where all of that surely succeeds: every IDAT chunk up to
// the one in which the stream ends is whole with its CRC right, the stream inflates without
// error to exactly the rows' bytes and ends exactly at that chunk's end, every filter byte is
// at most 4, and the window is 32 KiB or holds the whole data (then no distance can depend
// on call boundaries). Everything else, rare in real files, goes back to libpng to decide.
//
// The raw deflate data is inflated with our own inflater (raw_inflater.h), which makes zlib
// 1.2.13's decisions on it; its two-byte header and its Adler-32 trailer are checked here as
// zlib's inflate.c checks them (header: (CMF * 256 + FLG) divisible by 31, method 8, window
// at most 32 KiB, no preset dictionary, which zlib would ask for; trailer: the four bytes
// after the final block's last byte, big-endian, equal to the Adler-32 of all the output),
// with libdeflate's checksums, several times faster than zlib's. Raw inflate leaves unread
// exactly the bytes after the final block's last byte, where zlib's own wrapper reading goes
// on.
static_assert(PNG_LIBPNG_VER == 10639,
              "the rules above are libpng 1.6.39's: prove them again against this libpng, or have "
              "CheckPngImageData answer AskLibpng always, so that libpng decodes the image data itself");
static_assert(ZLIB_VERNUM == 0x12d0,
              "the inflater makes zlib 1.2.13's decisions: prove it again against this zlib (the tests and "
              "fuzz/raw_inflater_fuzz.cpp), or have CheckPngImageData answer AskLibpng always");

namespace {

constexpr uint32_t kIdat = 0x49444154;
constexpr uint32_t kLargestChunk = 0x7FFFFFFF;
constexpr size_t kInputPiece = size_t{64} << 10;

uint32_t BigEndian32(const uint8_t* b) {
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

uint64_t RowBytes(uint64_t width, int pixel_bits) {
  return 1 + (pixel_bits >= 8 ? width * static_cast<unsigned>(pixel_bits / 8)
                              : (width * static_cast<unsigned>(pixel_bits) + 7) / 8);
}

// The rows in the order libpng reads them: Adam7's seven reduced images, or one.
class RowWalk {
 public:
  explicit RowWalk(const PngRowLayout& layout) : layout_(layout), pass_(layout.interlaced ? -1 : 6) {
    if (layout.interlaced) {
      NextPass();
    } else {
      rows_left_ = layout.height;
      row_bytes_ = RowBytes(layout.width, layout.pixel_bits);
    }
  }
  bool Done() const { return rows_left_ == 0; }
  uint64_t RowSize() const { return row_bytes_; }
  void Next() {
    if (--rows_left_ == 0) NextPass();
  }

 private:
  static constexpr uint32_t kStartX[7] = {0, 4, 0, 2, 0, 1, 0};
  static constexpr uint32_t kStepX[7] = {8, 8, 4, 4, 2, 2, 1};
  static constexpr uint32_t kStartY[7] = {0, 0, 4, 0, 2, 0, 1};
  static constexpr uint32_t kStepY[7] = {8, 8, 8, 4, 4, 2, 2};

  void NextPass() {
    while (++pass_ < 7) {
      const uint64_t columns = (uint64_t{layout_.width} + kStepX[pass_] - 1 - kStartX[pass_]) / kStepX[pass_];
      const uint64_t rows = (uint64_t{layout_.height} + kStepY[pass_] - 1 - kStartY[pass_]) / kStepY[pass_];
      if (columns > 0 && rows > 0) {
        rows_left_ = rows;
        row_bytes_ = RowBytes(columns, layout_.pixel_bits);
        return;
      }
    }
  }

  PngRowLayout layout_;
  int pass_;
  uint64_t rows_left_ = 0;
  uint64_t row_bytes_ = 0;
};

class DataCheck {
 public:
  DataCheck(const PngRowLayout& layout) : rows_(layout), expected_(PngImageDataBytes(layout)) {}

  // Inflates one piece of a chunk's data; false where libpng must decide.
  bool Feed(std::span<const uint8_t> input) {
    if (ended_) return input.empty();  // no bytes after the stream's end
    Gather(input, header_);
    if (header_.have < header_.bytes.size()) return true;
    if (!window_checked_ && !HeaderIsSafe()) return false;
    if (!inflated_ && !Inflate(input)) return false;
    if (!inflated_) return true;
    Gather(input, trailer_);
    if (!input.empty()) return false;
    if (trailer_.have < trailer_.bytes.size()) return true;
    ended_ = true;
    return BigEndian32(trailer_.bytes.data()) == adler_;
  }

  bool Ended() const { return ended_; }
  bool Complete() const { return ended_ && produced_ == expected_; }

 private:
  template <size_t n>
  struct Wrapper {
    std::array<uint8_t, n> bytes{};
    size_t have = 0;
  };

  // Moves the wrapper's bytes still missing from the front of `input`.
  template <size_t n>
  static void Gather(std::span<const uint8_t>& input, Wrapper<n>& wrapper) {
    const size_t take = std::min(n - wrapper.have, input.size());
    std::copy_n(input.begin(), take, wrapper.bytes.begin() + static_cast<ptrdiff_t>(wrapper.have));
    wrapper.have += take;
    input = input.subspan(take);
  }

  // Inflates all of `input`, or up to the deflate data's end, leaving what follows it.
  bool Inflate(std::span<const uint8_t>& input) {
    if (input.empty()) return true;
    InflateStep step;
    do {
      step = inflater_.Inflate(input);
      if (!Rows(step.output)) return false;
      adler_ = libdeflate_adler32(adler_, step.output.data(), step.output.size());
      input = input.subspan(step.consumed);
    } while (step.progress == InflateProgress::OutputFull);
    if (step.progress == InflateProgress::Ended) inflated_ = true;
    return step.progress != InflateProgress::Failed;
  }

  // The header as zlib takes it. With a 32 KiB window every distance zlib accepts is in it
  // whatever the calls; a smaller window is safe only when it holds all the data (then it
  // refuses what raw inflate with 32 KiB refuses: a distance before the first byte).
  bool HeaderIsSafe() {
    window_checked_ = true;
    const uint8_t cmf = header_.bytes[0];
    const uint8_t flg = header_.bytes[1];
    const unsigned window_bits = (cmf >> 4) + 8u;
    const bool zlib_takes =
        (cmf * 256u + flg) % 31 == 0 && (cmf & 0x0F) == Z_DEFLATED && window_bits <= 15 && (flg & 0x20) == 0;
    return zlib_takes && (window_bits == 15 || expected_ <= uint64_t{1} << window_bits);
  }

  // Checks the filter bytes that fall in the next inflated piece.
  bool Rows(std::span<const uint8_t> piece) {
    const uint64_t end = produced_ + piece.size();
    if (end > expected_) return false;
    while (next_row_ < end) {
      if (piece[next_row_ - produced_] > 4) return false;
      next_row_ += rows_.RowSize();
      rows_.Next();
    }
    produced_ = end;
    return true;
  }

  RowWalk rows_;
  uint64_t expected_;
  uint64_t produced_ = 0;
  uint64_t next_row_ = 0;
  Wrapper<2> header_;
  Wrapper<4> trailer_;
  uint32_t adler_ = 1;
  bool inflated_ = false;  // the deflate data has ended; the trailer follows
  bool ended_ = false;     // and so has the trailer
  bool window_checked_ = false;
  RawInflater inflater_;
};

// Inflates one IDAT chunk's data and checks its CRC.
bool ReadChunk(ImageSource& source, uint64_t data_at, uint32_t length, const uint8_t* type, DataCheck& check) {
  uint32_t crc = libdeflate_crc32(0, type, 4);
  for (uint64_t at = data_at, left = length; left > 0;) {
    const auto piece = source.Fetch(at, static_cast<size_t>(std::min<uint64_t>(left, kInputPiece)));
    if (piece.empty()) return false;
    crc = libdeflate_crc32(crc, piece.data(), piece.size());
    if (!check.Feed(piece)) return false;
    at += piece.size();
    left -= piece.size();
  }
  std::array<uint8_t, 4> stored{};
  return source.Copy(data_at + length, stored.data(), stored.size()) && BigEndian32(stored.data()) == crc;
}

}  // namespace

uint64_t PngImageDataBytes(const PngRowLayout& layout) {
  uint64_t total = 0;
  for (RowWalk rows(layout); !rows.Done(); rows.Next()) total += rows.RowSize();
  return total;
}

PngDataVerdict CheckPngImageData(ImageSource& source, uint64_t first_idat, const PngRowLayout& layout) {
  try {
    DataCheck check(layout);
    for (uint64_t at = first_idat; !check.Ended();) {
      std::array<uint8_t, 8> header{};
      if (!source.Copy(at, header.data(), header.size())) return PngDataVerdict::AskLibpng;
      const uint32_t length = BigEndian32(header.data());
      if (length > kLargestChunk || BigEndian32(header.data() + 4) != kIdat) return PngDataVerdict::AskLibpng;
      if (!ReadChunk(source, at + 8, length, header.data() + 4, check)) return PngDataVerdict::AskLibpng;
      at += uint64_t{12} + length;
    }
    return check.Complete() ? PngDataVerdict::Sound : PngDataVerdict::AskLibpng;
  } catch (const std::bad_alloc&) {
    return PngDataVerdict::AskLibpng;
  }
}
