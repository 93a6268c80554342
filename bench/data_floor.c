/* Floors for exact measuring: the least work any tool must do to know that every image's
   data is there and whole.
     data_floor read FOLDER      reads every byte of every png, jpg, gif and hdr file
     data_floor inflate FOLDER   reads them too, and inflates every PNG's IDAT data with
                                 libdeflate into one buffer (the fastest inflater there is)
     data_floor zlib FOLDER      the same with zlib's inflate (what exact measuring uses)
     data_floor isal FOLDER      the same with ISA-L's inflate
     data_floor ours FOLDER      the same with our own inflater as exact measuring feeds it
                                 (bench/raw_inflate_floor.cpp), Adler-32 by libdeflate
   No checks beyond what it needs to stay inside its buffers; prints the inflated bytes. */
#define _XOPEN_SOURCE 700
#include <fcntl.h>
#include <ftw.h>
#include <isa-l/igzip_lib.h>
#include <libdeflate.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

enum { READ, LIBDEFLATE, ZLIB, ISAL, OURS };
unsigned long long raw_inflate_zlib_data(const unsigned char* data, size_t size);
static int inflating;
static struct libdeflate_decompressor* inflater;
static unsigned long long inflated;

static unsigned be32(const unsigned char* p) {
  return (unsigned)p[0] << 24 | (unsigned)p[1] << 16 | (unsigned)p[2] << 8 | p[3];
}

/* IDAT data gathered, then inflated into the rows' bytes (filter bytes included). */
static void inflate_png(const unsigned char* file, size_t size) {
  if (size < 33) return;
  const unsigned long long width = be32(file + 16), height = be32(file + 20);
  static const int channels[7] = {1, 0, 3, 1, 2, 0, 4};
  const unsigned bits = file[24] * channels[file[25] % 7];
  unsigned long long rows = 0;
  if (file[28] == 0) {
    rows = height * (1 + (width * bits + 7) / 8);
  } else {
    static const unsigned sx[7] = {0, 4, 0, 2, 0, 1, 0}, dx[7] = {8, 8, 4, 4, 2, 2, 1};
    static const unsigned sy[7] = {0, 0, 4, 0, 2, 0, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
    for (int p = 0; p < 7; ++p) {
      const unsigned long long w = (width + dx[p] - 1 - sx[p]) / dx[p], h = (height + dy[p] - 1 - sy[p]) / dy[p];
      if (w && h) rows += h * (1 + (w * bits + 7) / 8);
    }
  }
  unsigned char* data = malloc(size);
  unsigned char* out = malloc(rows ? rows : 1);
  size_t got = 0;
  for (size_t at = 8; at + 12 <= size;) {
    const size_t length = be32(file + at);
    if (length > size - at - 12) break;
    if (memcmp(file + at + 4, "IDAT", 4) == 0) {
      memcpy(data + got, file + at + 8, length);
      got += length;
    }
    at += 12 + length;
  }
  size_t made = 0;
  if (data && out && inflating == LIBDEFLATE &&
      libdeflate_zlib_decompress(inflater, data, got, out, rows, &made) == LIBDEFLATE_SUCCESS) {
    inflated += made;
  }
  if (data && out && inflating == ZLIB) {
    uLongf length = rows;
    if (uncompress(out, &length, data, got) == Z_OK) inflated += length;
  }
  if (data && out && inflating == ISAL) {
    static struct inflate_state state;
    isal_inflate_init(&state);
    state.crc_flag = ISAL_ZLIB;
    state.next_in = data;
    state.avail_in = (uint32_t)got;
    state.next_out = out;
    state.avail_out = (uint32_t)rows;
    if (isal_inflate(&state) == ISAL_DECOMP_OK && state.block_state == ISAL_BLOCK_FINISH) inflated += state.total_out;
  }
  if (data && inflating == OURS) inflated += raw_inflate_zlib_data(data, got);
  free(data);
  free(out);
}

static int visit(const char* path, const struct stat* st, int type, struct FTW* ftw) {
  (void)ftw;
  const size_t n = strlen(path);
  if (type != FTW_F || n < 3) return 0;
  const char* ext = path + n - 3;
  if (strcmp(ext, "png") && strcmp(ext, "jpg") && strcmp(ext, "gif") && strcmp(ext, "hdr")) return 0;
  const int fd = open(path, O_RDONLY);
  if (fd < 0) return 0;
  unsigned char* file = malloc(st->st_size ? (size_t)st->st_size : 1);
  size_t got = 0;
  for (ssize_t r; file && got < (size_t)st->st_size && (r = read(fd, file + got, (size_t)st->st_size - got)) > 0;) {
    got += (size_t)r;
  }
  close(fd);
  if (file && inflating && got > 8 && memcmp(file, "\x89PNG", 4) == 0) inflate_png(file, got);
  free(file);
  return 0;
}

int main(int argc, char** argv) {
  static const char* const modes[] = {"read", "inflate", "zlib", "isal", "ours"};
  inflating = -1;
  for (int i = 0; argc == 3 && i < 5; ++i) {
    if (strcmp(argv[1], modes[i]) == 0) inflating = i;
  }
  if (inflating < 0) {
    fprintf(stderr, "usage: data_floor read|inflate|zlib|isal|ours FOLDER\n");
    return 2;
  }
  inflater = libdeflate_alloc_decompressor();
  const int status = nftw(argv[2], visit, 64, FTW_PHYS) == 0 ? 0 : 1;
  printf("%llu bytes inflated\n", inflated);
  libdeflate_free_decompressor(inflater);
  return status;
}
