#pragma once
// When measuring, the whole-picture coefficient arrays libjpeg keeps for a stream of
// several scans are replaced by sinks of a few block rows each: measuring needs what
// the scans decide, never the coefficients (see jpeg_coefficient_sinks.cpp for why).
#include <array>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

#include "image/working_memory_gate.h"

struct JpegCoefficientSinks {
  struct Sink {
    jvirt_barray_ptr array = nullptr;  // libjpeg's, of max_access + 1 rows
    // What the coefficient controller asked for, and what it has written so far.
    JDIMENSION rows = 0;
    JDIMENSION max_access = 0;
    JDIMENSION blocks_per_row = 0;
    JDIMENSION first_undefined_row = 0;
    bool pre_zero = false;
  };
  std::array<Sink, MAX_COMPONENTS> sinks{};
  int count = 0;
  uint64_t held_bytes = 0;     // every array's rows as libjpeg holds them
  uint64_t absent_bytes = 0;   // the rows the whole arrays would hold beyond the sinks'
  WorkingMemoryTicket ticket;  // for held_bytes, from when they are allocated
  // libjpeg's own methods, which the sinks wrap.
  jvirt_barray_ptr (*request)(j_common_ptr, int, boolean, JDIMENSION, JDIMENSION, JDIMENSION) = nullptr;
  void (*realize)(j_common_ptr) = nullptr;
  JBLOCKARRAY (*access)(j_common_ptr, jvirt_barray_ptr, JDIMENSION, JDIMENSION, boolean) = nullptr;
};

// Puts the sinks in place on the decompressor's memory manager, before
// jpeg_start_decompress. The decompressor's client_data is the JpegState that owns them.
void SinkCoefficients(jpeg_decompress_struct& d);
