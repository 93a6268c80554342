// ISA-L's inflate against zlib's, on the same raw deflate data fed in the same pieces: the
// decision (the stream ends, and where; or it does not) and every byte written must agree.
// The first input byte sets the piece size, so streams split across calls are covered too.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <isa-l/igzip_lib.h>

namespace {

constexpr size_t kOutputLimit = size_t{1} << 20;

// Kept between runs: clearing a megabyte twice a run would be most of the run's time.
struct Result {
  bool ended = false;
  size_t consumed = 0;  // input bytes up to the stream's end
  std::vector<uint8_t> output = std::vector<uint8_t>(kOutputLimit);
  size_t written = 0;
  const char* message = "";  // zlib's reason for stopping
  bool SameAs(const Result& other) const {
    return ended == other.ended && (!ended || (consumed == other.consumed && written == other.written &&
                                               std::memcmp(output.data(), other.output.data(), written) == 0));
  }
};

void WithZlib(const uint8_t* data, size_t size, size_t piece, Result& r) {
  r.ended = false;
  r.consumed = 0;
  r.message = "";
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) std::abort();
  z.next_out = r.output.data();
  z.avail_out = static_cast<uInt>(r.output.size());
  for (size_t at = 0; at < size && !r.ended;) {
    const size_t n = std::min(piece, size - at);
    z.next_in = const_cast<Bytef*>(data + at);
    z.avail_in = static_cast<uInt>(n);
    const int result = inflate(&z, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      r.ended = true;
      r.consumed = at + n - z.avail_in;
    } else if (result != Z_OK || z.avail_out == 0 || z.avail_in != 0) {
      break;
    }
    at += n;
  }
  r.written = r.output.size() - z.avail_out;
  if (z.msg) r.message = z.msg;
  inflateEnd(&z);
}

void WithIsal(const uint8_t* data, size_t size, size_t piece, Result& r) {
  r.ended = false;
  r.consumed = 0;
  static const auto state = std::make_unique<inflate_state>();
  isal_inflate_init(state.get());
  state->crc_flag = ISAL_DEFLATE;
  state->next_out = r.output.data();
  state->avail_out = static_cast<uint32_t>(r.output.size());
  for (size_t at = 0; at < size && !r.ended;) {
    const size_t n = std::min(piece, size - at);
    state->next_in = const_cast<uint8_t*>(data + at);
    state->avail_in = static_cast<uint32_t>(n);
    const int result = isal_inflate(state.get());
    if (state->block_state == ISAL_BLOCK_FINISH) {
      r.ended = true;
      r.consumed = at + n - state->avail_in - static_cast<size_t>(state->read_in_length / 8);
    } else if (result != ISAL_DECOMP_OK || state->avail_out == 0 || state->avail_in != 0) {
      break;
    }
    at += n;
  }
  r.written = r.output.size() - state->avail_out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t piece = data[0] == 0 ? size : data[0];
  static Result z, i;
  WithZlib(data + 1, size - 1, piece, z);
  WithIsal(data + 1, size - 1, piece, i);
  if (!z.SameAs(i)) {
    std::fprintf(stderr, "zlib: %s at %zu, %zu bytes out (%s); ISA-L: %s at %zu, %zu bytes out\n",
                 z.ended ? "ends" : "does not end", z.consumed, z.written, z.message, i.ended ? "ends" : "does not end",
                 i.consumed, i.written);
    std::abort();
  }
  return 0;
}
