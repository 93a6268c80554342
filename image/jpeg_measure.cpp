#include <algorithm>
#include <cstring>

#include "image/byte_reader.h"
#include "image/jpeg_state.h"

namespace {

// The offset of the first marker at or after offset: a 0xFF, any more of them, then a
// byte other than 0 (0xFF 0x00 is a data byte). The end of the data when there is none.
uint64_t NextMarker(ImageSource& source, uint64_t offset) {
  uint64_t run = 0;  // where the 0xFF bytes before the byte at hand began
  bool in_run = false;
  for (uint64_t at = offset;;) {
    const auto piece = source.Fetch(at, kJpegPieceBytes);
    if (piece.empty()) return source.Size();
    for (size_t i = 0; i < piece.size(); ++i) {
      if (!in_run) {
        // Nearly every byte is data: the next 0xFF is looked for at memchr's speed.
        const auto* ff = static_cast<const uint8_t*>(std::memchr(&piece[i], 0xFF, piece.size() - i));
        if (!ff) break;
        i = static_cast<size_t>(ff - piece.data());
        run = at + i;
        in_run = true;
      } else if (piece[i] != 0xFF) {
        if (piece[i] != 0) return run;
        in_run = false;
      }
    }
    at += piece.size();
  }
}

// The marker at or after offset as libjpeg's next_marker finds it: bytes before a 0xFF
// are skipped (with a warning), then fill bytes; 0xFF 0x00 is no marker. offset is left
// after the marker. Nothing where the data ends first.
std::optional<uint8_t> NextMarkerCode(ImageSource& source, uint64_t& offset) {
  const auto byte = [&]() -> std::optional<uint8_t> {
    const auto b = source.Fetch(offset++, 1);
    if (b.empty()) return std::nullopt;
    return b[0];
  };
  for (;;) {
    std::optional<uint8_t> c;
    do c = byte();
    while (c && *c != 0xFF);
    do c = byte();
    while (c && *c == 0xFF);
    if (!c || *c != 0) return c;
  }
}

// Decodes every row but the last without the inverse DCT, then the last one (skipping to
// the end would leave the data unread), then the markers to the end.
void SkipRows(JpegState& s) {
  jpeg_decompress_struct& d = s.decompressor;
  SkipScanData(s);  // a single scan is read only now
  if (d.output_height > 1) jpeg_skip_scanlines(&d, d.output_height - 1);
  JSAMPARRAY row = s.cmyk_row;
  if (!row) {
    row = d.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&d), JPOOL_IMAGE,
                              d.output_width * static_cast<JDIMENSION>(d.output_components), 1);
  }
  jpeg_read_scanlines(&d, row, 1);
  jpeg_finish_decompress(&d);
}

bool JumpGuardedSkip(JpegState* s) {
  if (setjmp(s->errors.jump) != 0) return false;
  SkipRows(*s);
  return true;
}

// Frame headers of the processes libjpeg-turbo decodes: baseline, extended and
// progressive, Huffman or arithmetic.
bool DecodedProcess(uint8_t marker) {
  return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

// Markers that end libjpeg's reading in an error before any frame: the lossless and
// hierarchical processes (0xC8 included) and a second start of image.
bool RefusedBeforeFrame(uint8_t marker) {
  return (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC && !DecodedProcess(marker)) ||
         marker == 0xD8;
}

// Whether libjpeg (get_sof, then initial_setup at the first scan) and the decoder's
// Check take the frame header at offset (its length field), length bytes long.
std::optional<ImageSize> FrameSize(ImageSource& source, uint64_t offset, uint32_t length) {
  const auto frame = FixedAt<8>(source.Fetch(offset, 8), 0);
  if (!frame || length < 8) return std::nullopt;
  const int precision = (*frame)[2];
  const uint32_t height = Be16<3>(*frame);
  const uint32_t width = Be16<5>(*frame);
  const unsigned components = (*frame)[7];
  if (length != 8 + 3 * components || precision != BITS_IN_JSAMPLE || width == 0 || height == 0 ||
      width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION) {
    return std::nullopt;
  }
  // One, three or four components: the colour spaces Check takes.
  if (components != 1 && components != 3 && components != 4) return std::nullopt;
  const auto table = source.Fetch(offset + 8, 3 * components);
  if (table.size() < 3 * components) return std::nullopt;
  for (unsigned c = 0; c < components; ++c) {
    const int h = table[3 * c + 1] >> 4;
    const int v = table[3 * c + 1] & 15;
    if (h < 1 || h > MAX_SAMP_FACTOR || v < 1 || v > MAX_SAMP_FACTOR) return std::nullopt;
  }
  return ImageSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

}  // namespace

// Called when libjpeg has just read a scan's header. Corrupt entropy data only gives
// warnings, and the markers read from the scan's start on decide the outcome: decoding
// never reads past a marker (it stops at one, or, all its blocks decoded, before one
// that comes later, which libjpeg then finds by skipping to it), and at each restart
// boundary libjpeg takes, or resyncs to, the next marker there is. Which markers those
// are, and how many blocks lie between the boundaries, never depend on the data. So
// when measuring, libjpeg is handed the scan's markers alone (RestartMarker); it
// decodes each stretch of blocks as missing, which costs next to nothing. Arithmetic-
// coded scans are decoded as they are, and so is the first DC scan of a progressive
// stream: libjpeg refuses DC values that overflow as they add up, an error only the
// data can raise (its scans are small, and decoded into the coefficient sinks of
// jpeg_coefficient_sinks.cpp, as every scan is).
void SkipScanData(JpegState& s) {
  jpeg_decompress_struct& d = s.decompressor;
  if (!s.measuring || s.past_end || d.input_scan_number <= s.skipped_scans) return;
  s.skipped_scans = d.input_scan_number;
  const bool first_dc_scan = d.progressive_mode && d.Ss == 0 && d.Ah == 0;
  if (d.arith_code || first_dc_scan) return;
  s.position -= s.input.bytes_in_buffer;
  s.input.bytes_in_buffer = 0;
  s.markers_only = true;
}

bool RestartMarker(JpegState& s) {
  if (!s.markers_only) return false;
  const uint64_t run = NextMarker(*s.source, s.position);
  uint64_t after = run;
  const auto code = NextMarkerCode(*s.source, after);
  if (!code || *code < 0xD0 || *code > 0xD7) {
    // The first marker that is not a restart ends the scan's data: from it on, libjpeg
    // reads the stream as it stands.
    s.markers_only = false;
    s.position = run;
    return false;
  }
  s.marker[0] = 0xFF;
  s.marker[1] = *code;
  s.position = after;
  s.input.next_input_byte = s.marker;
  s.input.bytes_in_buffer = sizeof s.marker;
  return true;
}

bool JpegMeasure(DecodeContext& context) { return JumpGuardedSkip(static_cast<JpegState*>(context.state.get())); }

// Hops from segment to segment to the first frame header.
std::optional<ImageSize> JpegHeaderSize(ImageSource& source) {
  uint64_t offset = 2;
  while (true) {
    const auto marker = NextMarkerCode(source, offset);
    if (!marker || RefusedBeforeFrame(*marker)) return std::nullopt;
    if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD7)) continue;  // no length
    if (*marker == 0xD9 || *marker == 0xDA) return std::nullopt;            // no frame before
    const auto length_bytes = FixedAt<2>(source.Fetch(offset, 2), 0);
    if (!length_bytes) return std::nullopt;
    const uint32_t length = Be16<0>(*length_bytes);
    if (length < 2) return std::nullopt;
    if (DecodedProcess(*marker)) return FrameSize(source, offset, length);
    offset += length;
  }
}
