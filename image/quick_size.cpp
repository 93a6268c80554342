#include "image/quick_size.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "fs/platform_file.h"
#include "image/byte_reader.h"

namespace {

// Where a header's bytes come from: memory or a file read piece by piece.
class HeaderBytes {
 public:
  virtual ~HeaderBytes() = default;
  // The count bytes at offset (count at most kMaxPiece), or nothing where the data ends
  // before them. Valid until the next call.
  virtual std::optional<std::span<const uint8_t>> At(uint64_t offset, size_t count) = 0;
  static constexpr size_t kMaxPiece = 4096;
};

class MemoryBytes : public HeaderBytes {
 public:
  explicit MemoryBytes(std::span<const uint8_t> data) : data_(data) {}
  std::optional<std::span<const uint8_t>> At(uint64_t offset, size_t count) override {
    return BytesAt(data_, offset, count);
  }

 private:
  std::span<const uint8_t> data_;
};

class FilePieces : public HeaderBytes {
 public:
  explicit FilePieces(PlatformFile& file) : file_(file) {}
  std::optional<std::span<const uint8_t>> At(uint64_t offset, size_t count) override {
    if (count > kMaxPiece) return std::nullopt;
    if (offset < start_ || offset - start_ > length_ || count > length_ - (offset - start_)) {
      if (offset > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) ||
          file_.Seek(static_cast<int64_t>(offset), PlatformOrigin::Start) < 0) {
        return std::nullopt;
      }
      start_ = offset;
      length_ = static_cast<size_t>(std::max<int64_t>(file_.Read(buffer_.data(), kMaxPiece), 0));
      if (count > length_) return std::nullopt;
    }
    return std::span<const uint8_t>(buffer_).subspan(static_cast<size_t>(offset - start_), count);
  }

 private:
  PlatformFile& file_;
  std::array<uint8_t, kMaxPiece> buffer_{};
  uint64_t start_ = 0;
  size_t length_ = 0;
};

uint32_t BigEndian16(std::span<const uint8_t> b) { return static_cast<uint32_t>(b[0]) << 8 | b[1]; }
uint32_t BigEndian32(std::span<const uint8_t> b) {
  return static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
         static_cast<uint32_t>(b[2]) << 8 | static_cast<uint32_t>(b[3]);
}

std::optional<ImageSize> Usable(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
  return ImageSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

bool StartsWith(HeaderBytes& bytes, std::string_view signature) {
  const auto head = bytes.At(0, signature.size());
  return head && std::memcmp(head->data(), signature.data(), signature.size()) == 0;
}

// The PNG header's size, the data starting at offset.
std::optional<ImageSize> PngSize(HeaderBytes& bytes, uint64_t offset) {
  const auto header = bytes.At(offset, 24);
  if (!header || std::memcmp(header->data() + 12, "IHDR", 4) != 0) return std::nullopt;
  return Usable(BigEndian32(header->subspan(16, 4)), BigEndian32(header->subspan(20, 4)));
}

// The bitmap info header's size at offset; an icon's counts its mask rows too.
std::optional<ImageSize> InfoHeaderSize(HeaderBytes& bytes, uint64_t offset, bool icon) {
  const auto header = bytes.At(offset, 12);
  if (!header) return std::nullopt;
  if (*U32At(*header, 0) == 12) {  // the old core header: 16-bit fields
    return Usable(*U16At(*header, 4), *U16At(*header, 6) / (icon ? 2 : 1));
  }
  const int64_t height = *I32At(*header, 8);
  return Usable(*I32At(*header, 4), (height < 0 ? -height : height) / (icon ? 2 : 1));
}

// The image the loader would choose: of the first entry's size, the deepest.
std::optional<ImageSize> IconSize(HeaderBytes& bytes) {
  const auto count = bytes.At(4, 2);
  if (!count) return std::nullopt;
  const unsigned entries = *U16At(*count, 0);
  if (entries == 0) return std::nullopt;
  std::array<uint8_t, 16> first{}, best{};
  for (unsigned i = 0; i < entries; ++i) {
    const auto entry = bytes.At(6 + 16 * uint64_t{i}, 16);
    if (!entry) return std::nullopt;
    if (i == 0) {
      std::copy(entry->begin(), entry->end(), first.begin());
      best = first;
    } else if ((*entry)[0] == first[0] && (*entry)[1] == first[1] && *U16At(*entry, 6) > *U16At(best, 6)) {
      std::copy(entry->begin(), entry->end(), best.begin());
    }
  }
  const uint32_t offset = *U32At(best, 12);
  if (const auto signature = bytes.At(offset, 8); signature && std::memcmp(signature->data(), "\x89PNG\r\n\x1a\n", 8) == 0) {
    if (const auto size = PngSize(bytes, offset)) return size;
  } else if (const auto size = InfoHeaderSize(bytes, offset, true)) {
    return size;
  }
  // The image itself is unreadable: the directory's own size, where 0 stands for 256.
  return Usable(best[0] == 0 ? 256 : best[0], best[1] == 0 ? 256 : best[1]);
}

bool IsFrameMarker(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Hops from segment to segment to the first frame header.
std::optional<ImageSize> JpegSize(HeaderBytes& bytes) {
  uint64_t offset = 2;
  while (true) {
    const auto prefix = bytes.At(offset, 1);
    if (!prefix || (*prefix)[0] != 0xFF) return std::nullopt;
    // Any number of fill bytes may precede a marker.
    uint8_t marker = 0xFF;
    while (marker == 0xFF) {
      const auto next = bytes.At(++offset, 1);
      if (!next) return std::nullopt;
      marker = (*next)[0];
    }
    ++offset;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
    if (marker == 0xD9 || marker == 0xDA || marker == 0x00) return std::nullopt;  // no frame before
    const auto length_bytes = bytes.At(offset, 2);
    if (!length_bytes) return std::nullopt;
    const uint32_t length = BigEndian16(*length_bytes);
    if (length < 2) return std::nullopt;
    if (IsFrameMarker(marker)) {
      const auto frame = bytes.At(offset, 7);
      if (!frame || length < 8) return std::nullopt;
      return Usable(BigEndian16(frame->subspan(5, 2)), BigEndian16(frame->subspan(3, 2)));
    }
    offset += length;
  }
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
std::optional<ImageSize> RadianceSize(HeaderBytes& bytes) {
  constexpr uint64_t kHeaderLimit = 64 * 1024;
  std::string line;
  bool header_done = false;
  for (uint64_t offset = 0; offset < kHeaderLimit; ++offset) {
    const auto byte = bytes.At(offset, 1);
    if (!byte) return std::nullopt;
    const char c = static_cast<char>((*byte)[0]);
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

std::optional<ImageSize> HeaderSize(HeaderBytes& bytes) {
  // In the loader's order: icons, then BMP, PNG, JPEG, GIF.
  if (StartsWith(bytes, std::string_view("\0\0\1\0", 4))) return IconSize(bytes);
  if (StartsWith(bytes, "BM")) return InfoHeaderSize(bytes, 14, false);
  if (StartsWith(bytes, "\x89PNG\r\n\x1a\n")) return PngSize(bytes, 0);
  if (StartsWith(bytes, "\xFF\xD8")) return JpegSize(bytes);
  if (StartsWith(bytes, "GIF")) {
    const auto screen = bytes.At(6, 4);
    if (!screen) return std::nullopt;
    return Usable(*U16At(*screen, 0), *U16At(*screen, 2));
  }
  if (StartsWith(bytes, "#?")) return RadianceSize(bytes);
  return std::nullopt;
}

}  // namespace

std::optional<ImageSize> QuickImageSize(std::span<const uint8_t> data) {
  MemoryBytes bytes(data);
  return HeaderSize(bytes);
}

std::optional<ImageSize> QuickImageFileSize(const std::u16string& path) {
  // Readers need no lock: another program's lock must not change the size.
  PlatformFile file = PlatformFile::Open(path, PlatformAccess::Read, PlatformDisposition::OpenExisting,
                                         PlatformShare::Unlocked);
  if (!file.IsOpen()) return std::nullopt;
  FilePieces bytes(file);
  return HeaderSize(bytes);
}
