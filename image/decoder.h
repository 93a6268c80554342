#pragma once
// What a decoder is: three routines over one load's DecodeContext, and a format id.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "image/image_source.h"

// Format ids: their four bytes in memory spell the format's name.
inline constexpr uint32_t kFormatBmp = 0x00504D42;   // "BMP\0"
inline constexpr uint32_t kFormatPng = 0x00474E50;   // "PNG\0"
inline constexpr uint32_t kFormatJpeg = 0x4745504A;  // "JPEG"
inline constexpr uint32_t kFormatGif = 0x00474946;   // "FIG\0"
inline constexpr uint32_t kFormatIcon = 0x4E4F4349;  // "ICON"

// Decode flag: the buffer is bottom-up, the picture's first row goes to its last row.
inline constexpr uint32_t kBottomUp = 2;

// A decoder's working state (library handles, positions). Owned by the context from an
// accepting Check until Finish; its destructor releases whatever it holds.
struct DecoderState {
  virtual ~DecoderState() = default;
};

struct DecoderDescriptor;

// What a load is for: the pictures, or only whether it succeeds and its size (a decoder
// may then skip work that cannot change either).
enum class DecodeGoal { Pictures, Measure };

struct DecodeContext {
  const DecoderDescriptor* decoder = nullptr;  // the one that accepted the data
  ImageSource* source = nullptr;  // the data, read in pieces
  DecodeGoal goal = DecodeGoal::Pictures;
  int32_t width = 0;
  int32_t height = 0;
  int depth = 0;         // 24 or 32: bits per pixel of the bitmap to make
  int source_depth = 0;  // bits per pixel of the file as the decoder sees it
  int32_t frame_count = 1;
  int32_t frame_delay = 0;  // milliseconds, set per decoded frame
  // Bytes of pixel buffers this load holds so far (bitmaps, canvases); see pixel_limit.h.
  uint64_t pixel_bytes_in_use = 0;
  std::unique_ptr<DecoderState> state;  // cleared before each Check
};

struct DecoderDescriptor {
  const char* name;
  // Accepts the data or not. On acceptance width, height, depth and source_depth (and
  // frame_count, for several frames) are set; on refusal nothing is left allocated.
  bool (*check)(DecodeContext& context);
  // Writes the next frame into pixels (rows pitch bytes apart); false on failure.
  bool (*decode)(DecodeContext& context, uint8_t* pixels, ptrdiff_t pitch, uint32_t flags);
  // Releases the working state after the last frame.
  void (*finish)(DecodeContext& context);
  uint32_t format_id;
  // Makes every check that decoding all frames would make, and takes every decision that
  // could fail the load (the pixel limit beyond frame 0's bitmap, which the caller has
  // counted), without making a picture: true where the load succeeds. Every decoder that
  // accepts any data has one.
  bool (*measure)(DecodeContext& context) = nullptr;
};

// Address of the row that is y rows from the picture's top, for the layout in flags.
inline uint8_t* PictureRow(uint8_t* pixels, ptrdiff_t pitch, int32_t height, int32_t y,
                           uint32_t flags) {
  const ptrdiff_t row = (flags & kBottomUp) ? ptrdiff_t{height} - 1 - y : y;
  return pixels + row * pitch;
}

// The usual Finish: drop the working state.
inline void FinishDecoder(DecodeContext& context) { context.state.reset(); }
