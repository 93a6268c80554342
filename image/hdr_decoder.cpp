#include "image/hdr_decoder.h"

#include <string>
#include <string_view>

#include "image/decoder.h"
#include "image/decoder_registry.h"

namespace {

std::optional<ImageSize> Usable(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
  return ImageSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

// "-Y 512 +X 1024" and its seven other orientations: width is the X count, height the Y.
std::optional<ImageSize> RadianceResolution(std::string_view line) {
  int64_t counts[2] = {0, 0};  // X, Y
  bool seen[2] = {false, false};
  size_t at = 0;
  for (int field = 0; field < 2; ++field) {
    while (at < line.size() && line[at] == ' ') ++at;
    if (line.size() - at < 2 || (line[at] != '+' && line[at] != '-')) return std::nullopt;
    const int axis = line[at + 1] == 'X' ? 0 : line[at + 1] == 'Y' ? 1 : -1;
    if (axis < 0 || seen[axis]) return std::nullopt;
    seen[axis] = true;
    at += 2;
    if (at >= line.size() || line[at] != ' ') return std::nullopt;
    while (at < line.size() && line[at] == ' ') ++at;
    const size_t digits = at;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9' && counts[axis] <= INT32_MAX) {
      counts[axis] = counts[axis] * 10 + (line[at++] - '0');
    }
    if (at == digits) return std::nullopt;
  }
  while (at < line.size() && line[at] == ' ') ++at;
  if (at != line.size()) return std::nullopt;
  return Usable(counts[0], counts[1]);
}

// The header's lines end at an empty one; the resolution line follows it.
std::optional<ImageSize> HdrHeaderSize(ImageSource& source) {
  constexpr uint64_t kHeaderLimit = 64 * 1024;
  std::string line;
  bool header_done = false;
  for (uint64_t offset = 0; offset < kHeaderLimit; ++offset) {
    const auto byte = source.Fetch(offset, 1);
    if (byte.empty()) return std::nullopt;
    const char c = static_cast<char>(byte[0]);
    if (c != '\n') {
      line += c;
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header_done) return RadianceResolution(line);
    header_done = line.empty();
    line.clear();
  }
  return std::nullopt;
}

bool HdrSniff(std::span<const uint8_t> head) { return head.size() >= 2 && head[0] == '#' && head[1] == '?'; }

// No decoder reads Radiance pixels: the loader refuses every such file.
bool HdrCheck(DecodeContext&) { return false; }
bool HdrMeasure(DecodeContext&) { return false; }
bool HdrDecode(DecodeContext&, uint8_t*, ptrdiff_t, uint32_t) { return false; }

constexpr DecoderDescriptor kHdrDecoder{.name = "hdr",
                                        .format_id = kFormatHdr,
                                        .sniff = HdrSniff,
                                        .header_size = HdrHeaderSize,
                                        .check = HdrCheck,
                                        .measure = HdrMeasure,
                                        .decode = HdrDecode,
                                        .finish = FinishDecoder,
                                        .decodes = false};

}  // namespace

void RegisterHdrDecoder() { RegisterDecoder(kHdrDecoder); }
