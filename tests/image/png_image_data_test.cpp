// The image data check may call data sound only where libpng, reading every row as the
// loader does, succeeds; and it should call the data real encoders write sound.
#include "image/png_image_data.h"

#include <png.h>
#include <zlib.h>

#include <string>

#include "support/deflate_streams.h"
#include "tests/image/image_corpus.h"
#include "tests/image/image_fixture.h"

namespace {

using PngImageData = ImageTest;

uint32_t BigEndian32At(const Bytes& b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

void PutBigEndian32(Bytes& out, uint32_t v) {
  out.insert(out.end(), {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                         static_cast<uint8_t>(v)});
}

void PutChunk(Bytes& out, const char* type, const uint8_t* data, size_t size) {
  PutBigEndian32(out, static_cast<uint32_t>(size));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + size);
  PutBigEndian32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

size_t FirstIdat(const Bytes& png) {
  for (size_t at = 8; at + 8 <= png.size(); at += 12 + BigEndian32At(png, at)) {
    if (BigEndian32At(png, at + 4) == 0x49444154) return at;
  }
  return 0;
}

PngRowLayout LayoutOf(const Bytes& png) {
  static constexpr int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
  return {BigEndian32At(png, 16), BigEndian32At(png, 20), png[24] * kChannels[png[25] % 7], png[28] == 1};
}

PngDataVerdict Verdict(const Bytes& png, size_t first_idat) {
  ImageSource source(png);
  return CheckPngImageData(source, first_idat, LayoutOf(png));
}

bool Loads(const Bytes& data) {
  const int64_t id = DecodeImageMemory(kAutoNumber, data);
  if (id != 0) ReleaseImage(id);
  return id != 0;
}

// The file's chunks before its image data, the zlib stream, then IEND, with the stream cut
// into IDAT chunks of `piece` bytes and an empty one after each.
Bytes Rechunked(const Bytes& png, const Bytes& stream, size_t piece) {
  const size_t first = FirstIdat(png);
  Bytes out(png.begin(), png.begin() + static_cast<ptrdiff_t>(first));
  for (size_t at = 0; at < stream.size(); at += piece) {
    PutChunk(out, "IDAT", stream.data() + at, std::min(piece, stream.size() - at));
    PutChunk(out, "IDAT", nullptr, 0);
  }
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

// The zlib stream of a file's IDAT chunks.
Bytes StreamOf(const Bytes& png) {
  Bytes stream;
  for (size_t at = FirstIdat(png); at + 8 <= png.size() && BigEndian32At(png, at + 4) == 0x49444154;
       at += 12 + BigEndian32At(png, at)) {
    stream.insert(stream.end(), png.begin() + static_cast<ptrdiff_t>(at) + 8,
                  png.begin() + static_cast<ptrdiff_t>(at + 8 + BigEndian32At(png, at)));
  }
  return stream;
}

// Grey 8-bit rows alternating between two patterns, so the stream's matches reach two rows
// back; its zlib header then claims a window of 2^window_bits bytes.
Bytes AlternatingRows(uint32_t width, uint32_t height, int window_bits) {
  std::vector<Bytes> rows;
  Bytes raw;
  for (uint32_t y = 0; y < height; ++y) {
    rows.push_back(Pattern(width, y % 2));
    raw.push_back(0);
    raw.insert(raw.end(), rows.back().begin(), rows.back().end());
  }
  const Bytes png = EncodePng(MakePngPicture(PNG_COLOR_TYPE_GRAY, 8, width, rows));
  uLongf size = compressBound(raw.size());
  Bytes stream(size);
  compress2(stream.data(), &size, raw.data(), raw.size(), 9);
  stream.resize(size);
  stream[0] = static_cast<uint8_t>((window_bits - 8) << 4 | 8);
  stream[1] &= 0xE0;
  stream[1] = static_cast<uint8_t>(stream[1] + (31 - (stream[0] * 256 + stream[1]) % 31) % 31);
  return Rechunked(png, stream, 1 << 20);
}

TEST_F(PngImageData, EncodersDataIsSoundInEveryLayoutAndChunking) {
  int files = 0;
  for (const Bytes& file : ImageCorpus()) {
    if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0 || !Loads(file)) continue;
    ++files;
    EXPECT_EQ(Verdict(file, FirstIdat(file)), PngDataVerdict::Sound) << files;
    for (const size_t piece : {1, 7, 4096}) {
      const Bytes rechunked = Rechunked(file, StreamOf(file), piece);
      ASSERT_TRUE(Loads(rechunked));
      EXPECT_EQ(Verdict(rechunked, FirstIdat(rechunked)), PngDataVerdict::Sound) << files << " in " << piece;
    }
  }
  EXPECT_GT(files, 5);
  // Odd sizes, where Adam7 passes hold no columns or no rows, every pixel size.
  for (const auto& [width, height] : {std::pair{1u, 1u}, {2u, 9u}, {5u, 3u}, {9u, 2u}, {33u, 17u}}) {
    for (const auto& [type, bits] : {std::pair{PNG_COLOR_TYPE_GRAY, 1},
                                     {PNG_COLOR_TYPE_GRAY, 4},
                                     {PNG_COLOR_TYPE_RGB, 16},
                                     {PNG_COLOR_TYPE_RGB_ALPHA, 8}}) {
      const int channels = type == PNG_COLOR_TYPE_RGB ? 3 : type == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 1;
      std::vector<Bytes> rows;
      for (uint32_t y = 0; y < height; ++y) rows.push_back(Pattern((width * channels * bits + 7) / 8, y));
      PngPicture picture = MakePngPicture(type, bits, width, rows);
      for (const bool interlaced : {false, true}) {
        picture.interlaced = interlaced;
        const Bytes png = EncodePng(picture);
        ASSERT_TRUE(Loads(png));
        EXPECT_EQ(Verdict(png, FirstIdat(png)), PngDataVerdict::Sound)
            << width << "x" << height << " type " << type << " bits " << bits << (interlaced ? " interlaced" : "");
      }
    }
  }
}

// libpng's decisions that this check leaves to it: they hang on where libpng's inflate
// calls begin and end, or are its tolerance, not a rule.
TEST_F(PngImageData, LeavesBoundaryDependentDataToLibpng) {
  // A header claiming a 512-byte window: sound where the whole data fits in it; libpng's to
  // decide where matches reach beyond it (they do here: zlib refuses them in libpng's
  // row-sized calls, and would accept them in one call over all the data).
  const Bytes small = AlternatingRows(100, 5, 9);
  EXPECT_EQ(Verdict(small, FirstIdat(small)), PngDataVerdict::Sound);
  EXPECT_TRUE(Loads(small));
  const Bytes far = AlternatingRows(400, 40, 9);
  EXPECT_EQ(Verdict(far, FirstIdat(far)), PngDataVerdict::AskLibpng);
  EXPECT_FALSE(Loads(far));
  const Bytes full_window = AlternatingRows(400, 40, 15);
  EXPECT_EQ(Verdict(full_window, FirstIdat(full_window)), PngDataVerdict::Sound);
  EXPECT_TRUE(Loads(full_window));

  const Bytes png = EncodePng(MakePngPicture(PNG_COLOR_TYPE_RGB, 8, 40, std::vector<Bytes>(30, Pattern(120, 3))));
  Bytes stream = StreamOf(png);
  // A wrong data check: libpng refuses it when it meets it while filling a row (its last
  // bytes in the same chunk) and lets it pass after the last row (in a chunk of their own).
  Bytes bad_check = stream;
  bad_check.back() ^= 1;
  const Bytes together = Rechunked(png, bad_check, 1 << 20);
  EXPECT_EQ(Verdict(together, FirstIdat(together)), PngDataVerdict::AskLibpng);
  EXPECT_FALSE(Loads(together));
  Bytes apart = Rechunked(png, Bytes(bad_check.begin(), bad_check.end() - 4), 1 << 20);
  apart.resize(apart.size() - 12);  // IEND
  PutChunk(apart, "IDAT", bad_check.data() + bad_check.size() - 4, 4);
  EXPECT_EQ(Verdict(apart, FirstIdat(apart)), PngDataVerdict::AskLibpng);
  EXPECT_TRUE(Loads(apart));
  // Bytes after the stream's end in its last chunk: tolerated by libpng, not sound here.
  Bytes extra = stream;
  extra.insert(extra.end(), {1, 2, 3});
  const Bytes trailing = Rechunked(png, extra, 1 << 20);
  EXPECT_EQ(Verdict(trailing, FirstIdat(trailing)), PngDataVerdict::AskLibpng);
  EXPECT_TRUE(Loads(trailing));
  // Nothing after the chunk that ends the stream is read: no IEND, or a damaged one, is fine.
  Bytes no_end = Rechunked(png, stream, 1 << 20);
  no_end.resize(no_end.size() - 12);
  EXPECT_EQ(Verdict(no_end, FirstIdat(no_end)), PngDataVerdict::Sound);
  EXPECT_TRUE(Loads(no_end));
  no_end.insert(no_end.end(), {0, 0, 0, 0, 'I', 'E'});
  EXPECT_EQ(Verdict(no_end, FirstIdat(no_end)), PngDataVerdict::Sound);
  EXPECT_TRUE(Loads(no_end));
}

Bytes Inflated(const Bytes& stream, size_t size) {
  Bytes raw(size);
  uLongf got = size;
  uncompress(raw.data(), &got, stream.data(), stream.size());
  raw.resize(got);
  return raw;
}

Bytes Compressed(const Bytes& raw) {
  uLongf size = compressBound(raw.size());
  Bytes stream(size);
  compress2(stream.data(), &size, raw.data(), raw.size(), 9);
  stream.resize(size);
  return stream;
}

// A filter byte of 5 in any row of any pass, the stream otherwise whole: libpng refuses it.
TEST_F(PngImageData, FindsEveryBadFilterByte) {
  std::vector<Bytes> rows;
  for (uint32_t y = 0; y < 11; ++y) rows.push_back(Pattern(13 * 3, y));
  PngPicture picture = MakePngPicture(PNG_COLOR_TYPE_RGB, 8, 13, rows);
  for (const bool interlaced : {false, true}) {
    picture.interlaced = interlaced;
    const Bytes png = EncodePng(picture);
    const PngRowLayout layout = LayoutOf(png);
    const Bytes raw = Inflated(StreamOf(png), PngImageDataBytes(layout));
    // Adam7 on 13 x 11: passes of 2x2, 2x2, 4x1, 3x3, 7x3, 6x6 and 13x5 pixels.
    ASSERT_EQ(raw.size(), interlaced ? 2 * 7 + 2 * 7 + 13 + 3 * 10 + 3 * 22 + 6 * 19 + 5 * 40 : 11 * (13 * 3 + 1));
    int rows_seen = 0;
    for (size_t at = 0; at < raw.size(); ++at) {
      Bytes bad = raw;
      bad[at] = 5;
      const Bytes damaged = Rechunked(png, Compressed(bad), 1 << 20);
      if (Loads(damaged)) {
        EXPECT_EQ(Verdict(damaged, FirstIdat(damaged)), PngDataVerdict::Sound) << at;
      } else {
        ++rows_seen;
        EXPECT_EQ(Verdict(damaged, FirstIdat(damaged)), PngDataVerdict::AskLibpng) << at;
      }
    }
    EXPECT_EQ(rows_seen, interlaced ? 2 + 2 + 1 + 3 + 3 + 6 + 5 : 11);
  }
}

// Every cut and every flipped byte from the first IDAT on (the header is libpng's to read
// before this check runs): whatever is called sound, libpng loads.
TEST_F(PngImageData, SoundOnlyWhereLibpngLoads) {
  for (const Bytes& file : ImageCorpus()) {
    if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0 || !Loads(file)) continue;
    const size_t first = FirstIdat(file);
    const Bytes variants[] = {file, Rechunked(file, StreamOf(file), 5)};
    for (const Bytes& png : variants) {
      const size_t start = FirstIdat(png);
      ASSERT_EQ(start, first);
      for (size_t cut = start; cut < png.size(); ++cut) {
        const Bytes cut_short(png.begin(), png.begin() + static_cast<ptrdiff_t>(cut));
        if (Verdict(cut_short, start) == PngDataVerdict::Sound) {
          EXPECT_TRUE(Loads(cut_short)) << "cut to " << cut;
        }
      }
      for (size_t at = start; at < png.size(); ++at) {
        for (const uint8_t mask : {0xFF, 0x10, 0x01}) {
          Bytes damaged = png;
          damaged[at] ^= mask;
          if (Verdict(damaged, start) == PngDataVerdict::Sound) {
            EXPECT_TRUE(Loads(damaged)) << "byte " << at << " ^ " << int{mask};
          }
        }
      }
    }
  }
}

// A 1 x 1 grey PNG whose image data is `deflate` in a zlib wrapper: `header`, then the
// Adler-32 of the bytes 0 and 65 the sound stream inflates to, `check_flip` xored into it.
Bytes OnePixelPng(const Bytes& deflate, std::pair<uint8_t, uint8_t> header = {0x78, 0x01}, uint32_t check_flip = 0) {
  const Bytes png = EncodePng(MakePngPicture(PNG_COLOR_TYPE_GRAY, 8, 1, {Bytes{65}}));
  Bytes stream{header.first, header.second};
  stream.insert(stream.end(), deflate.begin(), deflate.end());
  const uint8_t data[] = {0, 65};
  PutBigEndian32(stream, static_cast<uint32_t>(adler32(1, data, 2)) ^ check_flip);
  return Rechunked(png, stream, 1 << 20);
}

// The wrapper around zlib's raw inflate, checked here: sound exactly where libpng loads.
TEST_F(PngImageData, JudgesTheZlibHeaderAndTrailerAsZlibDoes) {
  const Bytes sound = SoundDeflateStream();
  int loaded = 0;
  // Window sizes 256 bytes to 32 KiB and beyond, methods 8 and others, every check and flag
  // byte (a preset dictionary among them).
  for (const uint8_t cmf : {0x08, 0x78, 0x79, 0x77, 0x88, 0xF8}) {
    for (int flg = 0; flg < 256; ++flg) {
      const Bytes png = OnePixelPng(sound, {cmf, static_cast<uint8_t>(flg)});
      const bool loads = Loads(png);
      loaded += loads;
      EXPECT_EQ(Verdict(png, FirstIdat(png)) == PngDataVerdict::Sound, loads) << int{cmf} << " " << flg;
    }
  }
  EXPECT_EQ(loaded, 8);  // 0x08 and 0x78: four check values each, without a preset dictionary
  for (int bit = 0; bit < 32; bit += 7) {
    const Bytes png = OnePixelPng(sound, {0x78, 0x01}, 1u << bit);
    EXPECT_EQ(Verdict(png, FirstIdat(png)), PngDataVerdict::AskLibpng) << bit;
    EXPECT_FALSE(Loads(png));
  }
}

// The hand-made streams, one for each way zlib's inflate refuses data (and the streams
// ISA-L's inflate was compared on): zlib refuses each for its reason; libpng then fails.
TEST_F(PngImageData, LeavesEveryStreamZlibRefusesToLibpng) {
  const Bytes sound = OnePixelPng(SoundDeflateStream());
  ASSERT_TRUE(Loads(sound));
  EXPECT_EQ(Verdict(sound, FirstIdat(sound)), PngDataVerdict::Sound);
  for (const auto& [message, deflate] : RefusedDeflateStreams()) {
    z_stream z{};
    ASSERT_EQ(inflateInit2(&z, -15), Z_OK);
    Bytes out(64);
    z.next_in = const_cast<Bytef*>(deflate.data());
    z.avail_in = static_cast<uInt>(deflate.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_DATA_ERROR) << message;
    EXPECT_STREQ(z.msg, message);
    inflateEnd(&z);
    const Bytes png = OnePixelPng(deflate);
    EXPECT_EQ(Verdict(png, FirstIdat(png)), PngDataVerdict::AskLibpng) << message;
    EXPECT_FALSE(Loads(png)) << message;
  }
}

}  // namespace
