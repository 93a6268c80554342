#pragma once
// The registered decoders, tried in registration order after the built-in icon reader.
#include <span>

#include "image/decoder.h"

// Decoders that may be registered besides the icon reader.
inline constexpr int kMaxDecoders = 30;

// Empties the registry but for the icon reader, which is always tried first.
void InitDecoderRegistry();
// Appends a decoder. A decoder already registered, one that lacks a routine, or one
// beyond kMaxDecoders is not added (false), so each start-up hook registers its decoder
// at most once.
bool RegisterDecoder(const DecoderDescriptor& descriptor);
// Every descriptor in the order data is offered to them: the icon reader, then the
// registered decoders. Empty before InitDecoderRegistry.
std::span<const DecoderDescriptor* const> RegisteredDecoders();
// The first descriptor whose sniff takes the data's first bytes, or null.
const DecoderDescriptor* SniffDecoder(ImageSource& source);
// Offers the data to each descriptor in turn; the first whose Check accepts is stored in
// the context and returned. Null when none does.
const DecoderDescriptor* RunDecoderTrial(DecodeContext& context, ImageSource& source,
                                         DecodeGoal goal = DecodeGoal::Pictures);
