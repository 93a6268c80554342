// Text from bytes in every format and way of counting. The first input byte picks them;
// the rest, followed by a terminating zero, is the text. Ansi must give back every byte
// up to the first zero.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fs/text_encoding.h"
#include "fs/text_from_bytes.h"

namespace {

constexpr int kFormats[] = {TextFormat::Utf8, TextFormat::Ansi, TextFormat::Utf16, 7};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t way = data[0];
  // A terminating zero of either width at either alignment, so no length reads beyond
  // the copy.
  std::vector<uint8_t> text(data + 1, data + size);
  text.resize(text.size() + 3, 0);
  const auto bytes = static_cast<int64_t>(size - 1);

  int format = kFormats[way & 3];
  if (way & 4) format |= TextFlag::CountBytes;
  // To the zero, or a length in the format's units that the copy holds.
  const int64_t length = (way & 8) ? -1 : (format & TextFormat::kCodeMask) == TextFormat::Utf16 ? bytes / 2 : bytes;
  const std::u16string result = TextFromBytes(text.data(), length, format);

  const int code = format & TextFormat::kCodeMask;
  if (code != TextFormat::Utf8 && code != TextFormat::Utf16) {  // Ansi, as every other code
    const size_t until_zero = strnlen(reinterpret_cast<const char*>(text.data()), static_cast<size_t>(bytes));
    if (EscapedBytesFromText(result) != std::string(reinterpret_cast<const char*>(text.data()), until_zero))
      std::abort();
  }
  return 0;
}
