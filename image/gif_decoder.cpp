#include "image/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "image/byte_reader.h"
#include "image/decoder.h"
#include "image/decoder_registry.h"
#include "image/gif_image_data.h"
#include "image/gif_stream_budget.h"
#include "image/pixel_limit.h"

namespace {

// A canvas pixel, in the bitmap's byte order.
struct Bgra {
  uint8_t b = 0;
  uint8_t g = 0;
  uint8_t r = 0;
  uint8_t a = 0;
};
static_assert(sizeof(Bgra) == 4);
using Canvas = std::vector<Bgra>;  // screen width x height, rows top-down

struct GifState : DecoderState {
  GifFileType* reader = nullptr;
  ImageSource* source = nullptr;
  uint64_t position = 0;
  bool rasters = true;  // false: images were read without keeping their pixels
  int next_frame = 0;
  int last_disposal = 0;
  int first_disposal = 0;
  Canvas canvas;
  Canvas saved;  // the canvas after the last frame whose disposal is not 3

  ~GifState() override {
    int error = 0;
    if (reader) DGifCloseFile(reader, &error);
  }
};

constexpr int kDisposeKeep = DISPOSE_DO_NOT;            // 1
constexpr int kDisposeBackground = DISPOSE_BACKGROUND;  // 2
constexpr int kDisposePrevious = DISPOSE_PREVIOUS;      // 3

// Copies what remains of the request; a short count is a read failure to giflib.
int ReadFromSource(GifFileType* gif, GifByteType* out, int count) {
  auto* state = static_cast<GifState*>(gif->UserData);
  if (count <= 0) return 0;
  const auto piece = state->source->Fetch(state->position, static_cast<size_t>(count));
  std::copy(piece.begin(), piece.end(), out);
  state->position += piece.size();
  return static_cast<int>(piece.size());
}

// An image's pixels, read with the decisions DGifSlurp makes and not kept: giflib has just
// read the image's minimum code size, the byte before the LZW data.
bool SkipImage(GifFileType* gif) {
  auto& state = *static_cast<GifState*>(gif->UserData);
  const SavedImage& image = gif->SavedImages[gif->ImageCount - 1];
  const int width = image.ImageDesc.Width;
  const int height = image.ImageDesc.Height;
  if (width <= 0 || height <= 0 || width > INT_MAX / height) return false;
  const auto byte = state.source->Fetch(state.position - 1, 1);
  if (byte.size() != 1) return false;
  const int code_size = byte[0];  // copied: the next read may replace the bytes it lies in
  // Interlaced rows come in four passes, but they are the same width x height pixels.
  const int error = SkipGifImageData(*state.source, state.position, code_size, uint64_t(width) * uint64_t(height));
  if (error != 0) gif->Error = error;
  return error == 0;
}

// DGifSlurp's reading for measuring: the same records and calls in the same order, so
// it stops where DGifSlurp stops and keeps the same images and extension blocks, only
// without the images' pixels.
bool ReadWithoutRasters(GifFileType* gif) {
  gif->ExtensionBlocks = nullptr;
  gif->ExtensionBlockCount = 0;
  GifRecordType type = UNDEFINED_RECORD_TYPE;
  do {
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif) == GIF_ERROR || !SkipImage(gif)) return false;
      SavedImage& image = gif->SavedImages[gif->ImageCount - 1];
      image.ExtensionBlocks = std::exchange(gif->ExtensionBlocks, nullptr);
      image.ExtensionBlockCount = std::exchange(gif->ExtensionBlockCount, 0);
    } else if (type == EXTENSION_RECORD_TYPE) {
      int function = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &function, &block) == GIF_ERROR) return false;
      // DGifSlurp asks for the next block even after an extension without any, and so
      // reads the byte after its end as a block's length: so must this.
      for (int code = function;; code = CONTINUE_EXT_FUNC_CODE) {
        if (block && GifAddExtensionBlock(&gif->ExtensionBlockCount, &gif->ExtensionBlocks, code, block[0],
                                          &block[1]) == GIF_ERROR) {
          return false;
        }
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
        if (!block) break;
      }
    }
  } while (type != TERMINATE_RECORD_TYPE);
  if (gif->ImageCount == 0) {
    gif->Error = D_GIF_ERR_NO_IMAG_DSCR;
    return false;
  }
  return true;
}

// Reads the rest of the stream, unless what giflib would then hold, added to held (what
// earlier readings hold), breaks the pixel limit.
bool SlurpWithinLimit(GifState& s, uint64_t& held) {
  held += GifStreamHeldBytes(*s.source, s.position);
  if (held > PixelMemoryLimit()) return false;
  return s.rasters ? DGifSlurp(s.reader) == GIF_OK : ReadWithoutRasters(s.reader);
}

bool GifSniff(std::span<const uint8_t> head) {
  return head.size() >= 3 && head[0] == 'G' && head[1] == 'I' && head[2] == 'F';
}

// The descriptor of the stream's first image (after the record's first byte), found by
// walking past the extensions before it; nothing where anything else comes first.
std::optional<std::array<uint8_t, kGifDescriptorBytes>> FirstImageDescriptor(ImageSource& source, uint64_t at) {
  for (;;) {
    const auto record = source.Fetch(at, 1);
    if (record.empty()) return std::nullopt;
    if (record[0] == kGifImageRecord) {
      const auto descriptor = FixedAt<kGifDescriptorBytes>(source.Fetch(at + 1, kGifDescriptorBytes), 0);
      if (!descriptor) return std::nullopt;
      std::array<uint8_t, kGifDescriptorBytes> copy{};
      std::copy(descriptor->begin(), descriptor->end(), copy.begin());
      return copy;
    }
    if (record[0] != kGifExtensionRecord) return std::nullopt;
    at += 2;  // the record's byte and the function code
    uint64_t held = 0;
    if (!SkipGifSubBlocks(source, at, held, false)) return std::nullopt;
  }
}

// The screen's size, unless giflib's header is cut short, the screen is empty, or the
// first image has no colour map or does not lie inside the screen (frame 0 could never
// be made). Where the first image cannot be found the data is damaged: the screen's size.
std::optional<ImageSize> GifHeaderSize(ImageSource& source) {
  constexpr uint64_t kHeaderBytes = 13;  // signature, version, screen descriptor
  const auto header = FixedAt<kHeaderBytes>(source.Fetch(0, kHeaderBytes), 0);
  if (!header) return std::nullopt;
  const ImageSize screen{Le16<6>(*header), Le16<8>(*header)};
  const uint8_t flags = (*header)[10];
  if (screen.width == 0 || screen.height == 0) return std::nullopt;
  const bool global_map = (flags & 0x80) != 0;
  const auto first = FirstImageDescriptor(source, kHeaderBytes + (global_map ? 3u << ((flags & 7) + 1) : 0));
  if (!first) return screen;
  const std::span<const uint8_t, kGifDescriptorBytes> image(*first);
  const int64_t left = Le16<0>(image);
  const int64_t top = Le16<2>(image);
  const int64_t width = Le16<4>(image);
  const int64_t height = Le16<6>(image);
  const bool local_map = (image[8] & 0x80) != 0;
  if ((!global_map && !local_map) || width == 0 || height == 0 || left + width > screen.width ||
      top + height > screen.height) {
    return std::nullopt;
  }
  return screen;
}

bool GifCheck(DecodeContext& context) {
  if (context.source->Size() < 2) return false;
  auto state = std::make_unique<GifState>();
  state->source = context.source;
  state->rasters = context.goal == DecodeGoal::Pictures;
  int error = 0;
  state->reader = DGifOpen(state.get(), ReadFromSource, &error);
  if (!state->reader) return false;
  GifFileType* gif = state->reader;
  if (gif->SWidth <= 0 || gif->SHeight <= 0) return false;
  uint64_t held = 0;
  if (!SlurpWithinLimit(*state, held)) {
    // A second reading goes on where the first stopped (past a stray byte between
    // blocks, say). It starts a fresh list of pending extensions: free the old one.
    GifFreeExtensions(&gif->ExtensionBlockCount, &gif->ExtensionBlocks);
    if (held > PixelMemoryLimit() || !SlurpWithinLimit(*state, held)) return false;
  }
  context.width = gif->SWidth;
  context.height = gif->SHeight;
  context.source_depth = 8;
  context.depth = 32;
  context.frame_count = gif->ImageCount;
  context.pixel_bytes_in_use = held;
  context.state = std::move(state);
  return true;
}

// The map's colour for index with the given alpha, or nothing beyond the map.
std::optional<Bgra> Colour(const ColorMapObject& map, int index, uint8_t alpha) {
  if (index < 0 || index >= map.ColorCount) return std::nullopt;
  const GifColorType& c = map.Colors[index];
  return Bgra{c.Blue, c.Green, c.Red, alpha};
}

Bgra Background(const GifFileType& gif, const ColorMapObject& map, int transparent) {
  if (transparent != NO_TRANSPARENT_COLOR) return Colour(map, transparent, 0).value_or(Bgra{});
  if (gif.SBackGroundColor == 255) return Bgra{};
  return Colour(map, gif.SBackGroundColor, 255).value_or(Bgra{0, 0, 0, 255});
}

// Counts a canvas of the screen's size into the load's pixel bytes; nothing when it
// would break the pixel limit.
std::optional<uint64_t> ReserveCanvas(DecodeContext& context) {
  const auto bytes = PixelBufferBytes(4 * int64_t{context.width}, context.height, context.pixel_bytes_in_use);
  if (bytes) context.pixel_bytes_in_use += *bytes;
  return bytes;
}

// A canvas of the screen's size filled with colour; false when it breaks the pixel
// limit or memory cannot be had.
bool MakeCanvas(DecodeContext& context, Canvas& canvas, Bgra colour) {
  const auto bytes = ReserveCanvas(context);
  if (!bytes) return false;
  try {
    canvas.assign(static_cast<size_t>(*bytes / 4), colour);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void FillRect(Canvas& canvas, int32_t stride, const GifImageDesc& r, Bgra colour) {
  for (int y = 0; y < r.Height; ++y) {
    const auto start = canvas.begin() + (ptrdiff_t{r.Top} + y) * stride + r.Left;
    std::fill(start, start + r.Width, colour);
  }
}

// The next frame and what drawing it needs, once the checks that can fail it pass.
struct FramePlan {
  const SavedImage* image = nullptr;
  const ColorMapObject* map = nullptr;
  GraphicsControlBlock control{};
};

std::optional<FramePlan> PlanFrame(GifState& s, DecodeContext& context) {
  const GifFileType& gif = *s.reader;
  if (s.next_frame >= gif.ImageCount) return std::nullopt;
  const int index = s.next_frame++;
  FramePlan plan;
  plan.image = &gif.SavedImages[index];
  const GifImageDesc& rect = plan.image->ImageDesc;
  plan.map = rect.ColorMap ? rect.ColorMap : gif.SColorMap;
  if (!plan.map || (s.rasters && !plan.image->RasterBits)) return std::nullopt;
  if (DGifSavedExtensionToGCB(s.reader, index, &plan.control) != GIF_OK) {
    plan.control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  }
  context.frame_delay = plan.control.DelayTime * 10;
  if (rect.Left < 0 || rect.Top < 0 || rect.Width <= 0 || rect.Height <= 0 ||
      int64_t{rect.Left} + rect.Width > context.width || int64_t{rect.Top} + rect.Height > context.height) {
    return std::nullopt;
  }
  return plan;
}

bool GifDecode(DecodeContext& context, uint8_t* pixels, ptrdiff_t pitch, uint32_t flags) {
  auto& s = static_cast<GifState&>(*context.state);
  const GifFileType& gif = *s.reader;
  const auto plan = PlanFrame(s, context);
  if (!plan) return false;
  const SavedImage& image = *plan->image;
  const GifImageDesc& rect = image.ImageDesc;
  const ColorMapObject* map = plan->map;
  const int previous_disposal = s.last_disposal;
  const int disposal = plan->control.DisposalMode;
  s.last_disposal = disposal;

  const int32_t width = context.width;
  const int32_t height = context.height;
  const int transparent = plan->control.TransparentColor;
  const Bgra background = Background(gif, *map, transparent);
  if (s.canvas.empty()) {
    if (!MakeCanvas(context, s.canvas, background)) return false;
    s.first_disposal = disposal;
  }

  // Draw the frame. A transparent pixel shows what lies below, except that it clears the
  // canvas pixel when neither the previous frame's disposal (1 or 3) nor this frame's
  // (0) asks to keep it.
  const bool keep_below = previous_disposal == kDisposeKeep || previous_disposal == kDisposePrevious || disposal == 0;
  const GifByteType* raster = image.RasterBits;
  for (int y = 0; y < rect.Height; ++y) {
    Bgra* row = s.canvas.data() + (ptrdiff_t{rect.Top} + y) * width + rect.Left;
    for (int x = 0; x < rect.Width; ++x) {
      const int i = *raster++;
      if (transparent != NO_TRANSPARENT_COLOR && i == transparent) {
        if (!keep_below) row[x] = Colour(*map, i, 0).value_or(Bgra{});
      } else if (const auto colour = Colour(*map, i, 255)) {
        row[x] = *colour;
      }
    }
  }

  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(PictureRow(pixels, pitch, height, y, flags), s.canvas.data() + ptrdiff_t{y} * width,
                static_cast<size_t>(width) * 4);
  }

  if (disposal != kDisposePrevious) {
    if (s.saved.empty() && !MakeCanvas(context, s.saved, Bgra{})) return false;
    s.saved = s.canvas;
  }
  if (disposal == kDisposeBackground || (disposal == kDisposePrevious && s.first_disposal != kDisposeKeep)) {
    FillRect(s.canvas, width, rect, background);
  } else if (disposal == kDisposePrevious && !s.saved.empty()) {
    s.canvas = s.saved;
  }
  return true;
}

// Only frame 0 can fail the load: its bitmap, its checks, the canvas and, unless its
// disposal restores the previous canvas, the saved copy must all fit.
bool GifMeasure(DecodeContext& context) {
  auto& s = static_cast<GifState&>(*context.state);
  const auto plan = PlanFrame(s, context);
  if (!plan || !ReserveCanvas(context)) return false;
  return plan->control.DisposalMode == kDisposePrevious || ReserveCanvas(context);
}

constexpr DecoderDescriptor kGifDecoder{.name = "gif",
                                        .format_id = kFormatGif,
                                        .sniff = GifSniff,
                                        .header_size = GifHeaderSize,
                                        .check = GifCheck,
                                        .measure = GifMeasure,
                                        .decode = GifDecode,
                                        .finish = FinishDecoder};

}  // namespace

void RegisterGifDecoder() { RegisterDecoder(kGifDecoder); }
