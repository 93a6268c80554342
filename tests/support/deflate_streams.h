#pragma once
// Raw deflate streams written bit by bit: one zlib inflates, and one for each way zlib's
// inflate refuses data, with the message zlib gives for it.
#include <vector>

#include "support/test_images.h"

// Inflates to the bytes 0 and 65: a 1 x 1 grey PNG's data (a filter byte and a sample).
// A dynamic block whose codes are all complete.
Bytes SoundDeflateStream();

// `data` deflated by zlib, raw (no zlib header or trailer), with a window of 2^window_bits.
Bytes ZlibRawDeflate(const Bytes& data, int level, int window_bits, int strategy);

struct RefusedDeflateStream {
  const char* zlib_message;
  Bytes stream;
};
std::vector<RefusedDeflateStream> RefusedDeflateStreams();
