#pragma once
// What an image format is to this library: one descriptor that sniffs, states the size
// its header gives, checks, measures and decodes. Loading, measuring and quick mode all
// walk the same registered descriptors, in the same order.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "image/image_size.h"
#include "image/image_source.h"

// Format ids: their four bytes in memory spell the format's name.
inline constexpr uint32_t kFormatBmp = 0x00504D42;   // "BMP\0"
inline constexpr uint32_t kFormatPng = 0x00474E50;   // "PNG\0"
inline constexpr uint32_t kFormatJpeg = 0x4745504A;  // "JPEG"
inline constexpr uint32_t kFormatGif = 0x00474946;   // "FIG\0"
inline constexpr uint32_t kFormatIcon = 0x4E4F4349;  // "ICON"
inline constexpr uint32_t kFormatHdr = 0x00524448;   // "HDR\0": sized, never loaded

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
  ImageSource* source = nullptr;               // the data, read in pieces
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

// Bytes a sniff is shown: every signature fits.
inline constexpr size_t kSniffBytes = 16;

// Every routine is required: RegisterDecoder refuses a descriptor that lacks one.
struct DecoderDescriptor {
  const char* name;
  uint32_t format_id;
  // Whether data beginning with head (its first kSniffBytes bytes, fewer where the data
  // is shorter) may be this format. Cheap, and true for all data that check accepts, so
  // check is never asked where sniff says no.
  bool (*sniff)(std::span<const uint8_t> head);
  // The size the header states, reading only the header. Nothing where check would
  // refuse the data by its header alone, or where there is no usable header; data that
  // only decoding finds damaged keeps its header's size.
  std::optional<ImageSize> (*header_size)(ImageSource& source);
  // Accepts the data or not. On acceptance width, height, depth and source_depth (and
  // frame_count, for several frames) are set; on refusal nothing is left allocated.
  bool (*check)(DecodeContext& context);
  // Makes every check that decoding all frames would make, and takes every decision that
  // could fail the load (the pixel limit beyond frame 0's bitmap, which the caller has
  // counted), without making a picture: true where the load succeeds.
  bool (*measure)(DecodeContext& context);
  // Writes the next frame into pixels (rows pitch bytes apart); false on failure.
  bool (*decode)(DecodeContext& context, uint8_t* pixels, ptrdiff_t pitch, uint32_t flags);
  // Releases the working state after the last frame.
  void (*finish)(DecodeContext& context);
  // Held as the file itself (an icon), not as decoded frames: no bitmap is made of it.
  bool makes_no_bitmap = false;
  // False for a format sized by its header alone: check refuses every such file.
  bool decodes = true;
};

// Address of the row that is y rows from the picture's top, for the layout in flags.
inline uint8_t* PictureRow(uint8_t* pixels, ptrdiff_t pitch, int32_t height, int32_t y, uint32_t flags) {
  const ptrdiff_t row = (flags & kBottomUp) ? ptrdiff_t{height} - 1 - y : y;
  return pixels + row * pitch;
}

// The usual Finish: drop the working state.
inline void FinishDecoder(DecodeContext& context) { context.state.reset(); }
