#pragma once
// What the JPEG decoder (jpeg_decoder.cpp, the libjpeg adapter) and its measuring
// (jpeg_measure.cpp, which skips entropy data where that is exact) share.
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <optional>

#include <jpeglib.h>

#include "image/decoder.h"
#include "image/jpeg_coefficient_sinks.h"

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
  uint64_t position = 0;          // of the next piece to hand libjpeg
  bool past_end = false;          // libjpeg was handed the end-of-image marker of FillInput
  bool measuring = false;         // only the outcome counts, not the pixels
  int skipped_scans = 0;          // scans whose entropy data was skipped, or looked at for it
  bool markers_only = false;      // libjpeg is handed the markers of a skipped scan's data
  JOCTET marker[2]{};             // the one handed now
  JSAMPARRAY cmyk_row = nullptr;  // one row of CMYK samples (libjpeg's image pool)
  JpegCoefficientSinks sinks;     // when measuring

  // Safe on a decompressor never created: it was zero-filled, and libjpeg only
  // destroys what its memory manager holds.
  ~JpegState() override { jpeg_destroy_decompress(&decompressor); }
};

// Bytes handed to libjpeg, or searched for a marker, at a time.
inline constexpr size_t kJpegPieceBytes = size_t{64} << 10;

// jpeg_measure.cpp:
// When measuring, hands libjpeg only the markers of the scan whose header it just read,
// where skipping the scan's entropy data cannot change the outcome.
void SkipScanData(JpegState& s);
// While a scan's data is skipped: points libjpeg at the next restart marker and says
// true; at any other marker ends the skipping there and says false.
bool RestartMarker(JpegState& s);
bool JpegMeasure(DecodeContext& context);
std::optional<ImageSize> JpegHeaderSize(ImageSource& source);
