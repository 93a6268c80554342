#include "image/decoder_versions.h"

#include <gif_lib.h>
#include <libdeflate.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>

#include <jpeglib.h>

std::string DecoderLibraryVersions() {
  const unsigned png = png_access_version_number();
  // libjpeg-turbo, giflib and libdeflate have no call that tells their version: the one
  // built against is the one linked.
  char text[160];
  std::snprintf(text, sizeof text,
                "libpng %u.%u.%u, libjpeg-turbo %d (jpeg %d), giflib %d.%d.%d, zlib %s, libdeflate %s", png / 10000,
                png / 100 % 100, png % 100, LIBJPEG_TURBO_VERSION_NUMBER, JPEG_LIB_VERSION, GIFLIB_MAJOR, GIFLIB_MINOR,
                GIFLIB_RELEASE, zlibVersion(), LIBDEFLATE_VERSION_STRING);
  return text;
}
