#include "image/decoder_registry.h"

#include <algorithm>
#include <array>

namespace {

std::array<const DecoderDescriptor*, kMaxDecoders> g_decoders{};
int g_count = 0;

}  // namespace

void InitDecoderRegistry() {
  g_decoders.fill(nullptr);
  g_count = 0;
}

bool RegisterDecoder(const DecoderDescriptor& descriptor) {
  const auto registered = std::span(g_decoders).first(static_cast<size_t>(g_count));
  if (g_count >= kMaxDecoders ||
      std::find(registered.begin(), registered.end(), &descriptor) != registered.end()) {
    return false;
  }
  g_decoders[static_cast<size_t>(g_count++)] = &descriptor;
  return true;
}

const DecoderDescriptor* RunDecoderTrial(DecodeContext& context, ImageSource& source,
                                         DecodeGoal goal) {
  context = DecodeContext{};
  context.source = &source;
  context.goal = goal;
  for (int i = 0; i < g_count; ++i) {
    const DecoderDescriptor* decoder = g_decoders[static_cast<size_t>(i)];
    context.state.reset();
    if (decoder->check(context)) {
      context.decoder = decoder;
      return decoder;
    }
  }
  return nullptr;
}
