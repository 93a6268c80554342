#include "support/inflate_comparison.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "image/raw_inflater.h"

namespace {

void Start(size_t limit, InflateOutcome& outcome) {
  outcome.ended = outcome.failed = false;
  outcome.consumed = outcome.written = 0;
  outcome.message.clear();
  if (outcome.output.size() != limit) outcome.output.resize(limit);
}

std::string Describe(const InflateOutcome& o) {
  std::string text = o.ended    ? "ends at " + std::to_string(o.consumed)
                     : o.failed ? "fails (" + o.message + ")"
                                : "waits";
  return text + ", " + std::to_string(o.written) + " bytes out";
}

}  // namespace

void InflateWithZlib(std::span<const uint8_t> data, size_t piece, size_t limit, InflateOutcome& outcome) {
  Start(limit, outcome);
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return;
  z.next_out = outcome.output.data();
  z.avail_out = static_cast<uInt>(limit);
  for (size_t at = 0; at < data.size() && z.avail_out > 0;) {
    const size_t n = std::min(piece, data.size() - at);
    z.next_in = const_cast<Bytef*>(data.data() + at);
    z.avail_in = static_cast<uInt>(n);
    const int result = inflate(&z, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      outcome.ended = true;
      outcome.consumed = at + n - z.avail_in;
      break;
    }
    if (result != Z_OK) {
      outcome.failed = result == Z_DATA_ERROR;
      if (z.msg) outcome.message = z.msg;
      break;
    }
    if (z.avail_in != 0) break;  // no room left
    at += n;
  }
  outcome.written = limit - z.avail_out;
  inflateEnd(&z);
}

void InflateWithRawInflater(std::span<const uint8_t> data, size_t piece, size_t limit, InflateOutcome& outcome) {
  Start(limit, outcome);
  RawInflater inflater;
  // Like zlib, it goes on while it has room; unlike zlib it may write past `limit` within a
  // call, and what it writes there is not kept.
  size_t made = 0;
  for (size_t at = 0; at < data.size() && made < limit;) {
    const size_t n = std::min(piece, data.size() - at);
    std::span<const uint8_t> input = data.subspan(at, n);
    InflateStep step;
    do {
      step = inflater.Inflate(input);
      const size_t keep = std::min(step.output.size(), limit - std::min(made, limit));
      if (keep > 0) std::copy_n(step.output.begin(), keep, outcome.output.begin() + static_cast<ptrdiff_t>(made));
      made += step.output.size();
      input = input.subspan(step.consumed);
    } while (step.progress == InflateProgress::OutputFull && made < limit);
    if (step.progress == InflateProgress::Ended) {
      outcome.ended = true;
      outcome.consumed = at + n - input.size();
    } else if (step.progress == InflateProgress::Failed) {
      outcome.failed = true;
      outcome.message = inflater.Failure();
    }
    if (step.progress != InflateProgress::NeedInput) break;
    at += n;
  }
  outcome.written = std::min(made, limit);
}

std::string InflateDifference(const InflateOutcome& zlib, const InflateOutcome& ours) {
  const bool zlib_out_of_room = !zlib.ended && !zlib.failed && zlib.written == zlib.output.size();
  const bool same =
      zlib_out_of_room
          ? ours.written >= zlib.written && std::memcmp(zlib.output.data(), ours.output.data(), zlib.written) == 0
          : zlib.ended == ours.ended && zlib.failed == ours.failed && zlib.written == ours.written &&
                (!zlib.ended || zlib.consumed == ours.consumed) && zlib.message == ours.message &&
                std::memcmp(zlib.output.data(), ours.output.data(), zlib.written) == 0;
  return same ? std::string() : "zlib " + Describe(zlib) + "; ours " + Describe(ours);
}
