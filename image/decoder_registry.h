#pragma once
// The registered decoders, tried in registration order.
#include "image/decoder.h"

inline constexpr int kMaxDecoders = 30;

// Empties the registry.
void InitDecoderRegistry();
// Appends a decoder. A decoder already registered, or one beyond kMaxDecoders, is not
// added (false), so each start-up hook registers its decoder at most once.
bool RegisterDecoder(const DecoderDescriptor& descriptor);
// Offers the data to each decoder in turn; the first whose Check accepts is stored in the
// context and returned. Null when none does.
const DecoderDescriptor* RunDecoderTrial(DecodeContext& context, ImageSource& source,
                                         DecodeGoal goal = DecodeGoal::Pictures);
