#include "image/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <new>
#include <vector>

#include "image/decoder.h"
#include "image/decoder_registry.h"
#include "image/png_header.h"
#include "image/png_image_data.h"

namespace {

struct PngState : DecoderState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ImageSource* source = nullptr;
  uint64_t position = 0;
  int passes = 1;
  size_t row_bytes = 0;  // of a row as libpng hands it out

  ~PngState() override {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

// What setjmp returns when libpng raised an error.
constexpr int kPngError = 1;

// Errors end in the jump without a word; warnings are dropped.
[[noreturn]] void JumpOnError(png_structp png, png_const_charp) { png_longjmp(png, kPngError); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Hands libpng the next bytes of the data. A request beyond the end is an error, so data
// cut short ends in a refused Check or a failed Decode, never in bytes nobody wrote.
void ReadFromSource(png_structp png, png_bytep out, size_t count) {
  auto* state = static_cast<PngState*>(png_get_io_ptr(png));
  if (!state->source->Copy(state->position, out, count)) png_error(png, "cut short");
  state->position += count;
}

// The ancillary chunks libpng knows, besides transparency. A picture needs none of them,
// and libpng would allocate for some (text, profiles, palettes) whatever length they
// claim: they are read past in pieces and not kept, as unknown chunks are.
constexpr png_byte kSkippedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0"
    "pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;

// Reads the header, asks for 8-bit blue-green-red(-alpha) rows and fills the context.
// May be left by libpng's long jump: creates nothing that needs destroying.
bool SetUpPng(PngState& s, DecodeContext& context) {
  png_set_read_fn(s.png, &s, ReadFromSource);
  png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
  s.info = png_create_info_struct(s.png);
  if (!s.info) return false;
  png_read_info(s.png, s.info);
  s.passes = png_set_interlace_handling(s.png);

  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bits = 0;
  int colour_type = 0;
  png_get_IHDR(s.png, s.info, &width, &height, &bits, &colour_type, nullptr, nullptr, nullptr);
  const bool transparency = png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
  bool expand = false;
  bool grey_to_rgb = false;
  bool alpha = transparency;
  switch (colour_type) {
    case PNG_COLOR_TYPE_RGB:
      expand = transparency;
      context.source_depth = transparency ? 32 : 24;
      break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      alpha = true;
      context.source_depth = 32;
      break;
    case PNG_COLOR_TYPE_PALETTE:
      expand = true;
      context.source_depth = transparency ? 32 : bits;
      break;
    case PNG_COLOR_TYPE_GRAY:
      expand = transparency || bits < 8;
      grey_to_rgb = true;
      context.source_depth = transparency && bits < 8 ? 8 : bits;
      break;
    default:  // grey and alpha
      alpha = true;
      grey_to_rgb = true;
      context.source_depth = bits;
      break;
  }
  // These transforms give 8-bit blue-green-red(-alpha) rows whatever the file holds, and
  // none of them can fail: measuring, which keeps no pixels, leaves them out.
  if (context.goal == DecodeGoal::Pictures) {
    if (expand) png_set_expand(s.png);
    if (grey_to_rgb) png_set_gray_to_rgb(s.png);
    if (bits == 16) png_set_strip_16(s.png);
    png_set_bgr(s.png);
  }
  png_read_update_info(s.png, s.info);
  s.row_bytes = png_get_rowbytes(s.png, s.info);

  const size_t channels = alpha ? 4 : 3;
  if (context.goal == DecodeGoal::Pictures) {
    png_get_IHDR(s.png, s.info, &width, &height, &bits, &colour_type, nullptr, nullptr, nullptr);
    // Rows are written straight into the bitmap: they must be exactly as long as its rows.
    if ((colour_type != PNG_COLOR_TYPE_RGB && colour_type != PNG_COLOR_TYPE_RGB_ALPHA) || bits != 8 ||
        s.row_bytes != width * channels) {
      return false;
    }
  }
  if (width > INT32_MAX || height > INT32_MAX) return false;
  context.width = static_cast<int32_t>(width);
  context.height = static_cast<int32_t>(height);
  context.depth = channels == 3 ? 24 : 32;
  return true;
}

// With pitch 0 every row lands in the same buffer: measuring reuses one row.
void ReadRows(PngState& s, uint8_t* pixels, ptrdiff_t pitch, int32_t height, uint32_t flags) {
  // An interlaced image updates the same rows once per pass.
  for (int pass = 0; pass < s.passes; ++pass) {
    for (int32_t y = 0; y < height; ++y) {
      png_read_row(s.png, PictureRow(pixels, pitch, height, y, flags), nullptr);
    }
  }
}

// The jump points: functions that hold nothing with a destructor.
bool JumpGuardedSetUp(PngState* s, DecodeContext* context) {
  if (setjmp(png_jmpbuf(s->png)) == kPngError) return false;
  return SetUpPng(*s, *context);
}

bool JumpGuardedRead(PngState* s, uint8_t* pixels, ptrdiff_t pitch, int32_t height, uint32_t flags) {
  if (setjmp(png_jmpbuf(s->png)) == kPngError) return false;
  ReadRows(*s, pixels, pitch, height, flags);
  return true;
}

// Whether libpng 1.6 takes the header's fields (png_check_IHDR with the default limits).
bool AcceptedByLibpng(const PngHeader& h) {
  const bool depth = h.bit_depth == 1 || h.bit_depth == 2 || h.bit_depth == 4 || h.bit_depth == 8 || h.bit_depth == 16;
  const bool type =
      h.colour_type == 0 || h.colour_type == 2 || h.colour_type == 3 || h.colour_type == 4 || h.colour_type == 6;
  const bool pair = h.colour_type == 0 || (h.colour_type == 3 ? h.bit_depth <= 8 : h.bit_depth >= 8);
  return h.width > 0 && h.width <= PNG_USER_WIDTH_MAX && h.height > 0 && h.height <= PNG_USER_HEIGHT_MAX && depth &&
         type && pair && h.interlace <= 1 && h.compression == 0 && h.filter == 0;
}

// The signature and the header chunk, when libpng would take them: its CRC (a critical
// chunk's CRC error is an error) and its fields.
std::optional<PngHeader> AcceptedPngHeader(ImageSource& source) {
  const std::optional<PngHeader> header = ReadPngHeader(source.Fetch(0, kPngHeaderBytes));
  if (!header || !header->crc_matches || !AcceptedByLibpng(*header)) return std::nullopt;
  return header;
}

bool PngSniff(std::span<const uint8_t> head) { return PngSignatureAt(head); }

std::optional<ImageSize> PngHeaderSize(ImageSource& source) {
  const auto header = AcceptedPngHeader(source);
  if (!header) return std::nullopt;
  return ImageSize{static_cast<int32_t>(header->width), static_cast<int32_t>(header->height)};
}

bool PngCheck(DecodeContext& context) {
  ImageSource& source = *context.source;
  const auto signature = source.Fetch(0, 8);
  if (signature.size() < 8 || png_sig_cmp(signature.data(), 0, 8) != 0) return false;
  auto state = std::make_unique<PngState>();
  state->source = &source;
  state->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
  if (!state->png || !JumpGuardedSetUp(state.get(), &context)) return false;
  context.state = std::move(state);
  return true;
}

bool PngDecode(DecodeContext& context, uint8_t* pixels, ptrdiff_t pitch, uint32_t flags) {
  auto* state = static_cast<PngState*>(context.state.get());
  return JumpGuardedRead(state, pixels, pitch, context.height, flags);
}

// The image data checked without libpng's rows where that can tell; else every row inflated
// and checked by libpng, into one reused row as the file holds it.
bool PngMeasure(DecodeContext& context) {
  auto* state = static_cast<PngState*>(context.state.get());
  // libpng has read the first IDAT chunk's length and type, and nothing after them.
  const PngRowLayout layout{png_get_image_width(state->png, state->info), png_get_image_height(state->png, state->info),
                            png_get_bit_depth(state->png, state->info) * png_get_channels(state->png, state->info),
                            png_get_interlace_type(state->png, state->info) != PNG_INTERLACE_NONE};
  if (CheckPngImageData(*state->source, state->position - 8, layout) == PngDataVerdict::Sound) return true;
  std::vector<uint8_t> row(state->row_bytes);
  return PngDecode(context, row.data(), 0, 0);
}

constexpr DecoderDescriptor kPngDecoder{.name = "png",
                                        .format_id = kFormatPng,
                                        .sniff = PngSniff,
                                        .header_size = PngHeaderSize,
                                        .check = PngCheck,
                                        .measure = PngMeasure,
                                        .decode = PngDecode,
                                        .finish = FinishDecoder};

}  // namespace

void RegisterPngDecoder() { RegisterDecoder(kPngDecoder); }
