#include "image/jpeg_decoder.h"

#include <algorithm>
#include <climits>

#include <jerror.h>  // after jpeglib.h, which it needs

#include "image/bitmap.h"
#include "image/decoder_registry.h"
#include "image/jpeg_state.h"
#include "image/pixel_limit.h"

namespace {

// libjpeg's own error_exit ends the process: this one goes back to the jump point.
[[noreturn]] void JumpOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}
void Silent(j_common_ptr) {}

// Each scan of a progressive stream is another pass over the whole picture, and a few
// bytes make a scan: a small file could keep the decoder busy for hours. No encoder
// writes anywhere near this many.
constexpr int kMaxScans = 500;

// The data in pieces, as libjpeg asks for it. Past the end libjpeg gets an end-of-image
// marker, as from a memory source: a stream cut short decodes with what is there.
constexpr JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

JpegState& StateOf(j_decompress_ptr d) { return *static_cast<JpegState*>(d->client_data); }

void StartSource(j_decompress_ptr) {}
void EndSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr d) {
  JpegState& s = StateOf(d);
  if (RestartMarker(s)) return TRUE;
  const auto piece = s.source->Fetch(s.position, kJpegPieceBytes);
  if (piece.empty()) {
    s.past_end = true;
    WARNMS(d, JWRN_JPEG_EOF);
    s.input.next_input_byte = kEndOfImage;
    s.input.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
  }
  s.position += piece.size();
  s.input.next_input_byte = piece.data();
  s.input.bytes_in_buffer = piece.size();
  return TRUE;
}

void SkipInput(j_decompress_ptr d, long count) {
  JpegState& s = StateOf(d);
  if (count <= 0) return;
  auto left = static_cast<unsigned long>(count);
  while (left > s.input.bytes_in_buffer) {
    left -= s.input.bytes_in_buffer;
    FillInput(d);
  }
  s.input.next_input_byte += left;
  s.input.bytes_in_buffer -= left;
}

// libjpeg calls this before each step of taking in a stream of several scans (a new scan
// header read, a row of blocks decoded) and before each row it puts out.
void WatchScans(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxScans) info->err->error_exit(info);
  SkipScanData(StateOf(d));
}

// Reads the header, chooses blue-green-red output (CMYK for CMYK and YCCK streams, which
// are converted row by row) and starts decompressing. May be left by the long jump:
// creates nothing that needs destroying.
bool SetUpJpeg(JpegState& s, DecodeContext& context) {
  jpeg_decompress_struct& d = s.decompressor;
  jpeg_create_decompress(&d);
  s.errors.manager.addon_message_table = nullptr;
  s.errors.manager.first_addon_message = 1000;
  s.errors.manager.last_addon_message = 1019;
  s.errors.manager.trace_level = 0;
  s.progress.progress_monitor = WatchScans;
  d.progress = &s.progress;
  d.src = &s.input;
  s.input.init_source = StartSource;
  s.input.fill_input_buffer = FillInput;
  s.input.skip_input_data = SkipInput;
  s.input.resync_to_restart = jpeg_resync_to_restart;
  s.input.term_source = EndSource;
  if (jpeg_read_header(&d, TRUE) != JPEG_HEADER_OK || d.jpeg_color_space == JCS_UNKNOWN) {
    return false;
  }
  d.dct_method = JDCT_ISLOW;
  switch (d.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      d.out_color_space = JCS_EXT_BGR;
      break;
    case JCS_YCCK:
    case JCS_CMYK:
      d.out_color_space = JCS_CMYK;
      break;
    default:
      break;
  }
  jpeg_calc_output_dimensions(&d);
  const bool cmyk = d.out_color_space == JCS_CMYK;
  if (d.out_color_components != (cmyk ? 4 : 3) || d.output_width > INT32_MAX || d.output_height > INT32_MAX) {
    return false;
  }
  // A progressive stream is buffered whole beside the bitmap: libjpeg may have what the
  // bitmap leaves of the pixel memory limit (0 would mean no limit at all).
  const auto bitmap = Bitmap::Bytes(static_cast<int32_t>(d.output_width), static_cast<int32_t>(d.output_height), 24, 0);
  if (!bitmap) return false;
  const uint64_t room = std::max<uint64_t>(PixelMemoryLimit() - *bitmap, 1);
  d.mem->max_memory_to_use = room > LONG_MAX ? LONG_MAX : static_cast<long>(room);
  if (cmyk) {
    const auto samples = (JDIMENSION{d.output_width} * 4 + 3) / 4 * 4;
    s.cmyk_row = d.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&d), JPOOL_IMAGE, samples, 1);
  }
  if (s.measuring) SinkCoefficients(d);
  jpeg_start_decompress(&d);
  context.width = static_cast<int32_t>(d.output_width);
  context.height = static_cast<int32_t>(d.output_height);
  context.source_depth = d.output_components * 8;
  context.depth = 24;
  return true;
}

// C, M, Y and K samples to blue Y x K / 255, green M x K / 255, red C x K / 255.
void CmykToBgr(const JSAMPLE* in, uint8_t* out, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    const unsigned k = in[3];
    out[0] = static_cast<uint8_t>(in[2] * k / 255);
    out[1] = static_cast<uint8_t>(in[1] * k / 255);
    out[2] = static_cast<uint8_t>(in[0] * k / 255);
  }
}

void ReadRows(JpegState& s, uint8_t* pixels, ptrdiff_t pitch, int32_t height, uint32_t flags) {
  jpeg_decompress_struct& d = s.decompressor;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* target = PictureRow(pixels, pitch, height, y, flags);
    if (s.cmyk_row) {
      jpeg_read_scanlines(&d, s.cmyk_row, 1);
      CmykToBgr(s.cmyk_row[0], target, d.output_width);
    } else {
      JSAMPROW row = target;
      jpeg_read_scanlines(&d, &row, 1);
    }
  }
  jpeg_finish_decompress(&d);
}

// The jump points: functions that hold nothing with a destructor.
bool JumpGuardedSetUp(JpegState* s, DecodeContext* context) {
  if (setjmp(s->errors.jump) != 0) return false;
  return SetUpJpeg(*s, *context);
}

bool JumpGuardedRead(JpegState* s, uint8_t* pixels, ptrdiff_t pitch, int32_t height, uint32_t flags) {
  if (setjmp(s->errors.jump) != 0) return false;
  ReadRows(*s, pixels, pitch, height, flags);
  return true;
}

bool JpegCheck(DecodeContext& context) {
  auto state = std::make_unique<JpegState>();
  state->source = context.source;
  state->decompressor.client_data = state.get();
  state->measuring = context.goal == DecodeGoal::Measure;
  // The error manager is in place before the first libjpeg call that can fail.
  state->decompressor.err = jpeg_std_error(&state->errors.manager);
  state->errors.manager.error_exit = JumpOnError;
  state->errors.manager.output_message = Silent;
  if (!JumpGuardedSetUp(state.get(), &context)) return false;
  context.state = std::move(state);
  return true;
}

bool JpegDecode(DecodeContext& context, uint8_t* pixels, ptrdiff_t pitch, uint32_t flags) {
  auto* state = static_cast<JpegState*>(context.state.get());
  return JumpGuardedRead(state, pixels, pitch, context.height, flags);
}

bool JpegSniff(std::span<const uint8_t> head) { return head.size() >= 2 && head[0] == 0xFF && head[1] == 0xD8; }

constexpr DecoderDescriptor kJpegDecoder{.name = "jpeg",
                                         .format_id = kFormatJpeg,
                                         .sniff = JpegSniff,
                                         .header_size = JpegHeaderSize,
                                         .check = JpegCheck,
                                         .measure = JpegMeasure,
                                         .decode = JpegDecode,
                                         .finish = FinishDecoder};

}  // namespace

void RegisterJpegDecoder() { RegisterDecoder(kJpegDecoder); }
