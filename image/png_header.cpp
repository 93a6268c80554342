#include "image/png_header.h"

#include <libdeflate.h>

#include <cstring>

#include "image/byte_reader.h"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

bool PngSignatureAt(std::span<const uint8_t> head) {
  return head.size() >= sizeof kSignature && std::memcmp(head.data(), kSignature, sizeof kSignature) == 0;
}

std::optional<PngHeader> ReadPngHeader(std::span<const uint8_t> head) {
  const auto data = FixedAt<kPngHeaderBytes>(head, 0);
  if (!data || !PngSignatureAt(*data) || Be32<8>(*data) != 13 || std::memcmp(data->data() + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  return PngHeader{
      Be32<16>(*data), Be32<20>(*data), (*data)[24], (*data)[25],
      (*data)[26],     (*data)[27],     (*data)[28], Be32<29>(*data) == libdeflate_crc32(0, data->data() + 12, 17)};
}
