#include "tests/support/gif_data_reference.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>

#include "image/gif_image_data.h"
#include "image/image_source.h"

namespace {

struct MemoryStream {
  std::span<const uint8_t> bytes;
  uint64_t position = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* out, int count) {
  auto& stream = *static_cast<MemoryStream*>(gif->UserData);
  const uint64_t left = stream.bytes.size() - stream.position;
  const size_t taken = static_cast<size_t>(std::min<uint64_t>(left, static_cast<uint64_t>(std::max(count, 0))));
  std::copy_n(stream.bytes.begin() + static_cast<ptrdiff_t>(stream.position), taken, out);
  stream.position += taken;
  return static_cast<int>(taken);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

GifDataOutcome ReadLines(GifFileType* gif, const MemoryStream& stream) {
  const int width = gif->Image.Width;
  std::vector<GifPixelType> line(static_cast<size_t>(width));
  for (int y = 0; y < gif->Image.Height; ++y) {
    if (DGifGetLine(gif, line.data(), width) == GIF_ERROR) return {gif->Error, stream.position};
  }
  return {0, stream.position};
}

bool SkipExtension(GifFileType* gif) {
  int function = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &function, &block) == GIF_ERROR) return false;
  while (block) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

}  // namespace

std::vector<GifDataComparison> CompareGifImageData(std::span<const uint8_t> bytes) {
  std::vector<GifDataComparison> comparisons;
  MemoryStream stream{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&stream, ReadMemory, &error));
  if (!gif) return comparisons;
  GifRecordType type = UNDEFINED_RECORD_TYPE;
  while (DGifGetRecordType(gif.get(), &type) != GIF_ERROR && type != TERMINATE_RECORD_TYPE) {
    if (type == EXTENSION_RECORD_TYPE && !SkipExtension(gif.get())) break;
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
    const int width = gif->Image.Width;
    const int height = gif->Image.Height;
    if (width <= 0 || height <= 0) break;
    ImageSource source(bytes);
    uint64_t end = stream.position;
    const int ours = SkipGifImageData(source, end, bytes[stream.position - 1], uint64_t(width) * uint64_t(height));
    comparisons.push_back({ReadLines(gif.get(), stream), {ours, end}});
    if (comparisons.back().giflib.error != 0) break;
  }
  return comparisons;
}
