#include "image/bmp_decoder.h"

#include <algorithm>
#include <vector>

#include "image/bitmap.h"
#include "image/byte_reader.h"
#include "image/decoder.h"
#include "image/decoder_registry.h"

namespace {

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;
constexpr uint64_t kFileHeaderBytes = 14;

// The most a palette can hold: 256 blue-green-red-0 quads.
constexpr uint64_t kPaletteBytes = 4 * 256;

// The file and info headers as Check reads them.
struct BmpHeader {
  int32_t width = 0;
  int32_t height = 0;  // positive; top_down gives the order of the rows
  bool top_down = false;
  uint64_t pixel_offset = 0;
  uint64_t palette_offset = 0;
  int bit_count = 0;
  uint32_t compression = 0;
};

struct BmpState : DecoderState, BmpHeader {
  std::vector<uint8_t> palette;  // the palette's bytes that lie inside the data
};

// Bits per pixel of the rows read straight from the file; 0 when Decode reads no rows
// that way (RLE8 has its own reader; RLE4, other 16-bit compressions and other bit counts
// leave the pixels as they are).
int StoredRowBits(const BmpHeader& s) {
  switch (s.bit_count) {
    case 1:
    case 24:
    case 32:
      return s.bit_count;
    case 4:
      return s.compression == kRle4 ? 0 : 4;
    case 8:
      return s.compression == kRle8 ? 0 : 8;
    case 16:
      return s.compression == 0 || s.compression == kBitFields ? 16 : 0;
    default:
      return 0;
  }
}

// Whether the format defines the pair. Other bit counts (0, 2, 3, 5 ...) and compressions
// would only make a picture of nothing, of whatever size the header claims.
bool Defined(int bits, uint32_t compression) {
  switch (compression) {
    case 0:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
      return bits == 8;
    case kRle4:
      return bits == 4;
    case kBitFields:
    case kAlphaBitFields:
      return bits == 16 || bits == 32;
    default:
      return false;
  }
}

// Stored rows are padded to a multiple of 4 bytes.
uint64_t Stride(int32_t width, int bits) {
  return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32 * 4;
}

uint64_t UsedRowBytes(int32_t width, int bits) {
  return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 7) / 8;
}

// Whether every row Decode reads lies inside the data (the last row's padding may be
// missing); pixels that are not stored as rows must at least begin inside it. Checked
// before any pixel buffer is made for the picture.
bool RowsFit(uint64_t size, const BmpHeader& h) {
  const int bits = StoredRowBits(h);
  if (bits == 0) return h.pixel_offset < size;
  const uint64_t last = UsedRowBytes(h.width, bits);
  if (h.pixel_offset > size || last > size - h.pixel_offset) return false;
  const uint64_t room = size - h.pixel_offset - last;
  return static_cast<uint64_t>(h.height) - 1 <= room / Stride(h.width, bits);
}

// A 32-bit file keeps its fourth bytes only when the data holds width x 4 x height bytes
// and one of the pixels' fourth bytes is not zero.
bool HasAlpha(ImageSource& source, const BmpHeader& s) {
  if (static_cast<uint64_t>(s.width) > source.Size() / 4 / static_cast<uint64_t>(s.height)) {
    return false;
  }
  const uint64_t pixels = static_cast<uint64_t>(s.width) * static_cast<uint64_t>(s.height);
  if (s.pixel_offset > source.Size()) return false;
  const uint64_t end = std::min(source.Size(), s.pixel_offset + 4 * pixels);
  constexpr size_t kPiece = size_t{64} << 10;  // a multiple of 4: pieces hold whole pixels
  for (uint64_t at = s.pixel_offset; at < end;) {
    const auto piece = source.Fetch(at, static_cast<size_t>(std::min<uint64_t>(kPiece, end - at)));
    if (piece.empty()) return false;
    for (size_t i = 3; i < piece.size(); i += 4) {
      if (piece[i] != 0) return true;
    }
    at += piece.size();
  }
  return false;
}

// The headers, when Check would take them: everything it decides but the depth.
std::optional<BmpHeader> ReadBmpHeader(ImageSource& source) {
  const auto data = FixedAt<54>(source.Fetch(0, 54), 0);
  if (!data || (*data)[0] != 'B' || (*data)[1] != 'M' || Le16<6>(*data) != 0 || Le16<8>(*data) != 0) {
    return std::nullopt;
  }
  BmpHeader h;
  h.width = LeI32<18>(*data);
  int64_t height = LeI32<22>(*data);
  // A negative height marks rows stored top-down; the picture is as high as its size.
  h.top_down = height < 0;
  if (h.top_down) height = -height;
  if (h.width <= 0 || height <= 0 || height > INT32_MAX) return std::nullopt;
  h.height = static_cast<int32_t>(height);
  h.pixel_offset = Le32<10>(*data);
  h.palette_offset = kFileHeaderBytes + Le32<14>(*data);
  h.bit_count = Le16<28>(*data);
  h.compression = Le32<30>(*data);
  if (!Defined(h.bit_count, h.compression) || !RowsFit(source.Size(), h)) return std::nullopt;
  return h;
}

bool BmpSniff(std::span<const uint8_t> head) { return head.size() >= 2 && head[0] == 'B' && head[1] == 'M'; }

std::optional<ImageSize> BmpHeaderSize(ImageSource& source) {
  const auto header = ReadBmpHeader(source);
  if (!header) return std::nullopt;
  return ImageSize{header->width, header->height};
}

bool BmpCheck(DecodeContext& context) {
  ImageSource& source = *context.source;
  const auto header = ReadBmpHeader(source);
  if (!header) return false;
  auto state = std::make_unique<BmpState>();
  static_cast<BmpHeader&>(*state) = *header;
  if (state->bit_count <= 8 && state->palette_offset < source.Size()) {
    const auto palette = source.Fetch(state->palette_offset, kPaletteBytes);
    state->palette.assign(palette.begin(), palette.end());
  }

  context.width = state->width;
  context.height = state->height;
  context.source_depth = state->bit_count;
  // Measuring needs the depth only for the pixel limit: where even 32 bits fit, reading
  // every pixel for an alpha byte cannot change the outcome.
  const bool depth_matters =
      context.goal == DecodeGoal::Pictures || !Bitmap::Bytes(context.width, context.height, 32, 0);
  context.depth = state->bit_count == 32 && (!depth_matters || HasAlpha(source, *state)) ? 32 : 24;
  context.state = std::move(state);
  return true;
}

// Writes the palette's colour for index; false when the entry lies outside the data.
bool PutPaletteColour(const BmpState& s, unsigned index, uint8_t* pixel) {
  const auto entry = BytesAt(s.palette, 4 * uint64_t{index}, 3);
  if (!entry) return false;
  pixel[0] = (*entry)[0];
  pixel[1] = (*entry)[1];
  pixel[2] = (*entry)[2];
  return true;
}

void PutGrey(uint8_t* pixel, uint8_t value) { pixel[0] = pixel[1] = pixel[2] = value; }

bool DecodeRow(const BmpState& s, std::span<const uint8_t> row, int32_t width, int depth, uint8_t* out) {
  const int step = depth / 8;
  for (int32_t x = 0; x < width; ++x, out += step) {
    switch (s.bit_count) {
      case 1:
        PutGrey(out, (row[static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1 ? 255 : 0);
        break;
      case 4: {
        const uint8_t byte = row[static_cast<size_t>(x / 2)];
        if (!PutPaletteColour(s, x % 2 == 0 ? byte >> 4 : byte & 15, out)) return false;
        break;
      }
      case 8:
        if (!PutPaletteColour(s, row[static_cast<size_t>(x)], out)) return false;
        break;
      case 16: {
        const auto i = static_cast<size_t>(x) * 2;
        const unsigned v = row[i] | row[i + 1] << 8;
        out[0] = static_cast<uint8_t>((v & 31) * 8);
        if (s.compression == kBitFields) {  // 5-6-5
          out[1] = static_cast<uint8_t>((v >> 5 & 63) * 4);
          out[2] = static_cast<uint8_t>((v >> 11 & 31) * 8);
        } else {  // 5-5-5
          out[1] = static_cast<uint8_t>((v >> 5 & 31) * 8);
          out[2] = static_cast<uint8_t>((v >> 10 & 31) * 8);
        }
        break;
      }
      default: {  // 24 and 32
        const size_t i = static_cast<size_t>(x) * static_cast<size_t>(s.bit_count / 8);
        out[0] = row[i];
        out[1] = row[i + 1];
        out[2] = row[i + 2];
        if (depth == 32) out[3] = row[i + 3];
      }
    }
  }
  return true;
}

// RLE8: runs (count, index) and escapes 0 end of line, 1 end of bitmap, 2 delta (right,
// down), 3 or more literal indices padded to an even count. Pixels that a run or delta
// would put outside the picture are dropped; data that ends before the end-of-bitmap
// escape is a failure.
bool DecodeRle8(const DecodeContext& context, const BmpState& s, uint8_t* pixels, ptrdiff_t pitch, uint32_t flags) {
  ImageSource& source = *context.source;
  const int32_t width = context.width;
  const int32_t height = context.height;
  uint64_t at = s.pixel_offset;
  int64_t x = 0;
  int64_t y = 0;  // counted in file order
  const auto put = [&](uint8_t index) {
    if (x < 0 || x >= width || y >= height) return true;
    const auto row = static_cast<int32_t>(s.top_down ? y : height - 1 - y);
    uint8_t* out = PictureRow(pixels, pitch, height, row, flags) + x * (context.depth / 8);
    return PutPaletteColour(s, index, out);
  };
  for (;;) {
    const auto pair = source.Fetch(at, 2);
    if (pair.size() < 2) return false;
    at += 2;
    const uint8_t count = pair[0];
    const uint8_t value = pair[1];
    if (count > 0) {
      for (int i = 0; i < count; ++i, ++x)
        if (!put(value)) return false;
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      const auto delta = source.Fetch(at, 2);
      if (delta.size() < 2) return false;
      at += 2;
      x += delta[0];
      y += delta[1];
    } else {
      const size_t length = value + (value & 1u);
      const auto fetched = source.Fetch(at, length);
      if (fetched.size() < length) return false;
      // put may not touch the source, but keep the indices apart from its window anyway.
      uint8_t literal[256];
      std::copy(fetched.begin(), fetched.end(), literal);
      at += length;
      for (int i = 0; i < value; ++i, ++x)
        if (!put(literal[i])) return false;
    }
  }
}

bool BmpDecode(DecodeContext& context, uint8_t* pixels, ptrdiff_t pitch, uint32_t flags) {
  const auto& s = static_cast<const BmpState&>(*context.state);
  if (s.bit_count == 8 && s.compression == kRle8) {
    return DecodeRle8(context, s, pixels, pitch, flags);
  }
  const int bits = StoredRowBits(s);
  if (bits == 0) return true;
  const int32_t width = context.width;
  const int32_t height = context.height;
  const uint64_t stride = Stride(width, bits);
  for (int32_t r = 0; r < height; ++r) {
    const uint64_t used = UsedRowBytes(width, bits);
    const auto row =
        context.source->Fetch(s.pixel_offset + stride * static_cast<uint64_t>(r), static_cast<size_t>(used));
    if (row.size() < used) return false;
    const int32_t y = s.top_down ? r : height - 1 - r;
    if (!DecodeRow(s, row, width, context.depth, PictureRow(pixels, pitch, height, y, flags))) {
      return false;
    }
  }
  return true;
}

// Rows of palette indices fail where an index has no entry inside the data, and RLE8
// data where it ends early: only then are the rows decoded, each into the same row.
bool BmpMeasure(DecodeContext& context) {
  const auto& s = static_cast<const BmpState&>(*context.state);
  const bool rle8 = s.bit_count == 8 && s.compression == kRle8;
  const int bits = StoredRowBits(s);
  const bool indexed = bits == 4 || bits == 8;
  if (!rle8 && (!indexed || s.palette.size() >= 4 * (uint64_t{1} << bits))) return true;
  std::vector<uint8_t> row(static_cast<size_t>(context.width) * static_cast<size_t>(context.depth / 8));
  return BmpDecode(context, row.data(), 0, 0);
}

constexpr DecoderDescriptor kBmpDecoder{.name = "bmp",
                                        .format_id = kFormatBmp,
                                        .sniff = BmpSniff,
                                        .header_size = BmpHeaderSize,
                                        .check = BmpCheck,
                                        .measure = BmpMeasure,
                                        .decode = BmpDecode,
                                        .finish = FinishDecoder};

}  // namespace

void RegisterBmpDecoder() { RegisterDecoder(kBmpDecoder); }
