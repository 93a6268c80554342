#include "image/jpeg_coefficient_sinks.h"

#include <iterator>

#include <jerror.h>  // after jpeglib.h, which it needs

#include "image/jpeg_state.h"

// For a stream of several scans libjpeg keeps every coefficient of the picture in
// whole-picture "virtual arrays" (about 3 bytes a pixel, zeroed page by page) while it
// takes in the scans, then turns them into rows. Measuring only needs what the scans
// decide, and no decision depends on the coefficients' values (libjpeg-turbo 2.1.5):
// - Taking in a scan (jdphuff.c, jdhuff.c, jdarith.c): the one error the data can raise
//   is the first DC scan's overflow test, made on the running DC value the entropy
//   decoder keeps for itself (last_dc_val), never on a stored coefficient. Coefficients
//   read back (an AC refinement asks whether each is already nonzero) only choose how
//   the following bits are read, which gives warnings and pixels; the bits of a scan
//   never reach past a marker, so the markers read next, and every restart resynced,
//   are the same whatever was decoded.
// - Putting out rows (jdcoefct.c, jdapistd.c): the inverse DCT and block smoothing read
//   the coefficients (smoothing_ok looks at coef_bits, the scans' progression, not at
//   values); any value a JCOEF can hold can come from a sound stream too, and changes
//   only pixels.
// So each array becomes a sink: a libjpeg virtual array of max_access + 1 rows that
// every access of the real one is pointed at, after the checks libjpeg's own
// access_virt_barray makes of the real one (jmemmgr.c). What libjpeg decides from the
// arrays' sizes is kept: realize_virt_arrays fails (there is no backing store) exactly
// when the arrays need more than max_memory_to_use leaves after what is allocated, and
// one row more than max_access makes a sink fail that way too; while the sinks are
// realized the limit is lowered by the rows they leave out, so they fail exactly when
// the whole arrays would.
static_assert(LIBJPEG_TURBO_VERSION_NUMBER == 2001005,
              "the sinks are proven against libjpeg-turbo 2.1.5: prove them again against this version, or "
              "leave SinkCoefficients uncalled, so that libjpeg keeps and decodes the whole coefficient arrays");

namespace {

JpegCoefficientSinks& SinksOf(j_common_ptr info) { return static_cast<JpegState*>(info->client_data)->sinks; }

jvirt_barray_ptr RequestSink(j_common_ptr info, int pool, boolean pre_zero, JDIMENSION blocks_per_row, JDIMENSION rows,
                             JDIMENSION max_access) {
  JpegCoefficientSinks& s = SinksOf(info);
  const uint64_t row_bytes = uint64_t{blocks_per_row} * sizeof(JBLOCK);
  // An array no taller than a sink, or one whose accesses libjpeg itself cannot serve,
  // stays as it is.
  if (max_access == 0 || rows <= uint64_t{max_access} + 1 || s.count == std::ssize(s.sinks)) {
    s.held_bytes += rows * row_bytes;
    return s.request(info, pool, pre_zero, blocks_per_row, rows, max_access);
  }
  JpegCoefficientSinks::Sink& sink = s.sinks[static_cast<size_t>(s.count++)];
  // Always zeroed by libjpeg: whether reading unwritten rows is an error is decided below.
  sink.array = s.request(info, pool, TRUE, blocks_per_row, max_access + 1, max_access);
  sink.rows = rows;
  sink.max_access = max_access;
  sink.blocks_per_row = blocks_per_row;
  sink.pre_zero = pre_zero != FALSE;
  s.held_bytes += (max_access + 1) * row_bytes;
  s.absent_bytes += (rows - max_access - 1) * row_bytes;
  return sink.array;
}

void RealizeSinks(j_common_ptr info) {
  JpegCoefficientSinks& s = SinksOf(info);
  s.ticket.Enter(s.held_bytes);
  // libjpeg allows the arrays max_memory_to_use less what is already allocated (0: no
  // limit); 1 leaves no room at all.
  const long limit = info->mem->max_memory_to_use;
  if (limit > 0 && s.absent_bytes > 0) {
    const auto room = static_cast<uint64_t>(limit);
    info->mem->max_memory_to_use = room > s.absent_bytes ? static_cast<long>(room - s.absent_bytes) : 1;
  }
  s.realize(info);
  info->mem->max_memory_to_use = limit;
}

JBLOCKARRAY AccessSink(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION start_row, JDIMENSION num_rows,
                       boolean writable) {
  JpegCoefficientSinks& s = SinksOf(info);
  for (int i = 0; i < s.count; ++i) {
    JpegCoefficientSinks::Sink& sink = s.sinks[static_cast<size_t>(i)];
    if (sink.array != array) continue;
    // access_virt_barray's checks, on the whole array's rows.
    const JDIMENSION end_row = start_row + num_rows;
    if (end_row > sink.rows || num_rows > sink.max_access) {
      ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    }
    if (sink.first_undefined_row < end_row) {
      // A writer that skips rows, or a reader of rows never written nor zeroed.
      if ((sink.first_undefined_row < start_row && writable) || (!sink.pre_zero && !writable)) {
        ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
      }
      if (writable) sink.first_undefined_row = end_row;
    }
    return s.access(info, array, 0, num_rows, writable);
  }
  return s.access(info, array, start_row, num_rows, writable);
}

}  // namespace

void SinkCoefficients(jpeg_decompress_struct& d) {
  JpegCoefficientSinks& s = static_cast<JpegState*>(d.client_data)->sinks;
  s.request = d.mem->request_virt_barray;
  s.realize = d.mem->realize_virt_arrays;
  s.access = d.mem->access_virt_barray;
  d.mem->request_virt_barray = RequestSink;
  d.mem->realize_virt_arrays = RealizeSinks;
  d.mem->access_virt_barray = AccessSink;
}
