#include "image/jpeg_decoder.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>
#include <jerror.h>  // after jpeglib.h, which it needs

#include "image/bitmap.h"
#include "image/decoder.h"
#include "image/decoder_registry.h"
#include "image/pixel_limit.h"
#include "image/working_memory_gate.h"

namespace {

struct JpegErrorManager {
  jpeg_error_mgr manager;  // first: libjpeg hands back a pointer to it
  std::jmp_buf jump;
};

struct JpegState : DecoderState {
  JpegErrorManager errors{};
  jpeg_progress_mgr progress{};
  jpeg_decompress_struct decompressor{};
  jpeg_source_mgr input{};
  ImageSource* source = nullptr;
  uint64_t position = 0;  // of the next piece to hand libjpeg
  bool past_end = false;  // libjpeg was handed the end-of-image marker of FillInput
  bool measuring = false;  // only the outcome counts, not the pixels
  int skipped_scans = 0;   // scans whose entropy data was skipped, or looked at for it
  JSAMPARRAY cmyk_row = nullptr;  // one row of CMYK samples (libjpeg's image pool)
  WorkingMemoryTicket coefficients;  // while measuring a stream of several scans

  // Safe on a decompressor never created: it was zero-filled, and libjpeg only
  // destroys what its memory manager holds.
  ~JpegState() override { jpeg_destroy_decompress(&decompressor); }
};

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
constexpr size_t kPieceBytes = size_t{64} << 10;
constexpr JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

JpegState& StateOf(j_decompress_ptr d) { return *static_cast<JpegState*>(d->client_data); }

void StartSource(j_decompress_ptr) {}
void EndSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr d) {
  JpegState& s = StateOf(d);
  const auto piece = s.source->Fetch(s.position, kPieceBytes);
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

// The offset of the first marker at or after offset: a 0xFF, any more of them, then a
// byte other than 0 (0xFF 0x00 is a data byte). The end of the data when there is none.
uint64_t NextMarker(ImageSource& source, uint64_t offset) {
  uint64_t run = 0;  // where the 0xFF bytes before the byte at hand began
  bool in_run = false;
  for (uint64_t at = offset;;) {
    const auto piece = source.Fetch(at, kPieceBytes);
    if (piece.empty()) return source.Size();
    for (size_t i = 0; i < piece.size(); ++i) {
      if (piece[i] == 0xFF) {
        if (!in_run) run = at + i;
        in_run = true;
      } else if (in_run && piece[i] != 0) {
        return run;
      } else {
        in_run = false;
      }
    }
    at += piece.size();
  }
}

// Called when libjpeg has just read a scan's header. Corrupt entropy data only gives
// warnings, and decoding a scan without restart markers ends at its first marker (or,
// all its blocks decoded, before one that comes later): the markers read from there
// decide the outcome. So when measuring, libjpeg is handed that marker at once; it
// decodes the scan's blocks as missing, which costs next to nothing. With restart
// markers the first marker is the first restart, so nothing is gained: such scans, and
// arithmetic-coded ones, are decoded as they are. So is the first DC scan of a
// progressive stream: libjpeg refuses DC values that overflow as they add up, an error
// only the data can raise (its scans are small anyway).
void SkipScanData(JpegState& s) {
  jpeg_decompress_struct& d = s.decompressor;
  if (!s.measuring || s.past_end || d.input_scan_number <= s.skipped_scans) return;
  s.skipped_scans = d.input_scan_number;
  const bool first_dc_scan = d.progressive_mode && d.Ss == 0 && d.Ah == 0;
  if (d.restart_interval != 0 || d.arith_code || first_dc_scan) return;
  s.position = NextMarker(*s.source, s.position - s.input.bytes_in_buffer);
  s.input.bytes_in_buffer = 0;
}

// libjpeg calls this before each step of taking in a stream of several scans (a new scan
// header read, a row of blocks decoded) and before each row it puts out.
void WatchScans(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxScans) info->err->error_exit(info);
  SkipScanData(StateOf(d));
}

// What libjpeg holds for a stream of several scans: every component's blocks of
// coefficients, in whole units of its sampling factors.
uint64_t CoefficientBytes(const jpeg_decompress_struct& d) {
  uint64_t bytes = 0;
  for (int c = 0; c < d.num_components; ++c) {
    const jpeg_component_info& component = d.comp_info[c];
    const auto whole = [](uint64_t blocks, int factor) {
      const auto unit = static_cast<uint64_t>(std::max(factor, 1));
      return (blocks + unit - 1) / unit * unit;
    };
    bytes += whole(component.width_in_blocks, component.h_samp_factor) *
             whole(component.height_in_blocks, component.v_samp_factor) * sizeof(JBLOCK);
  }
  return bytes;
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
  if (d.out_color_components != (cmyk ? 4 : 3) || d.output_width > INT32_MAX ||
      d.output_height > INT32_MAX) {
    return false;
  }
  // A progressive stream is buffered whole beside the bitmap: libjpeg may have what the
  // bitmap leaves of the pixel memory limit (0 would mean no limit at all).
  const auto bitmap = Bitmap::Bytes(static_cast<int32_t>(d.output_width),
                                    static_cast<int32_t>(d.output_height), 24, 0);
  if (!bitmap) return false;
  const uint64_t room = std::max<uint64_t>(PixelMemoryLimit() - *bitmap, 1);
  d.mem->max_memory_to_use = room > LONG_MAX ? LONG_MAX : static_cast<long>(room);
  if (cmyk) {
    const auto samples = (JDIMENSION{d.output_width} * 4 + 3) / 4 * 4;
    s.cmyk_row = d.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&d), JPOOL_IMAGE, samples, 1);
  }
  // Measurements on other threads may hold such buffers too: take turns.
  if (s.measuring && jpeg_has_multiple_scans(&d)) s.coefficients.Enter(CoefficientBytes(d));
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

bool JumpGuardedRead(JpegState* s, uint8_t* pixels, ptrdiff_t pitch, int32_t height,
                     uint32_t flags) {
  if (setjmp(s->errors.jump) != 0) return false;
  ReadRows(*s, pixels, pitch, height, flags);
  return true;
}

bool JpegCheck(DecodeContext& context) {
  const auto start = context.source->Fetch(0, 2);
  if (start.size() < 2 || start[0] != 0xFF || start[1] != 0xD8) return false;
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

bool JpegMeasure(DecodeContext& context) {
  return JumpGuardedSkip(static_cast<JpegState*>(context.state.get()));
}

constexpr DecoderDescriptor kJpegDecoder{"jpeg",      JpegCheck,  JpegDecode, FinishDecoder,
                                         kFormatJpeg, JpegMeasure};

}  // namespace

void RegisterJpegDecoder() { RegisterDecoder(kJpegDecoder); }
