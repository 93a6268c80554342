#include "image/decoder_registry.h"

#include <algorithm>
#include <array>

#include "image/icon_decoder.h"

namespace {

// Entry 0 is the icon reader once the registry is set up.
std::array<const DecoderDescriptor*, kMaxDecoders + 1> g_decoders{};
size_t g_count = 0;

bool Complete(const DecoderDescriptor& d) {
  return d.sniff && d.header_size && d.check && d.measure && d.decode && d.finish;
}

// The data's first bytes, copied: a check's first fetch may move a file's window.
struct Head {
  explicit Head(ImageSource& source) {
    const auto head = source.Fetch(0, kSniffBytes);
    std::copy(head.begin(), head.end(), bytes.begin());
    size = head.size();
  }
  std::span<const uint8_t> View() const { return std::span(bytes).first(size); }

  std::array<uint8_t, kSniffBytes> bytes{};
  size_t size = 0;
};

}  // namespace

void InitDecoderRegistry() {
  g_decoders.fill(nullptr);
  g_decoders[0] = &IconDescriptor();
  g_count = 1;
}

bool RegisterDecoder(const DecoderDescriptor& descriptor) {
  const auto registered = RegisteredDecoders();
  if (registered.empty() || g_count >= g_decoders.size() || !Complete(descriptor) ||
      std::find(registered.begin(), registered.end(), &descriptor) != registered.end()) {
    return false;
  }
  g_decoders[g_count++] = &descriptor;
  return true;
}

std::span<const DecoderDescriptor* const> RegisteredDecoders() { return std::span(g_decoders).first(g_count); }

const DecoderDescriptor* SniffDecoder(ImageSource& source) {
  const Head head(source);
  for (const DecoderDescriptor* decoder : RegisteredDecoders()) {
    if (decoder->sniff(head.View())) return decoder;
  }
  return nullptr;
}

const DecoderDescriptor* RunDecoderTrial(DecodeContext& context, ImageSource& source, DecodeGoal goal) {
  context = DecodeContext{};
  context.source = &source;
  context.goal = goal;
  const Head head(source);
  for (const DecoderDescriptor* decoder : RegisteredDecoders()) {
    context.state.reset();
    if (decoder->sniff(head.View()) && decoder->check(context)) {
      context.decoder = decoder;
      return decoder;
    }
  }
  return nullptr;
}
