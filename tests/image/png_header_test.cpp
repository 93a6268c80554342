// The PNG signature and header chunk, read alike for PNG files and PNG-compressed icons.
#include "image/png_header.h"

#include <gtest/gtest.h>

#include "support/test_images.h"

namespace {

TEST(PngHeader, ReadsEveryFieldAndTellsADamagedChunkFromNoChunk) {
  PngPicture picture = MakePngPicture(6, 16, 3, {Bytes(3 * 8), Bytes(3 * 8)});  // RGBA, 16 bits
  picture.interlaced = true;
  Bytes png = EncodePng(picture);
  EXPECT_TRUE(PngSignatureAt(png));
  const auto header = ReadPngHeader(png);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 3u);
  EXPECT_EQ(header->height, 2u);
  EXPECT_EQ(header->bit_depth, 16);
  EXPECT_EQ(header->colour_type, 6);
  EXPECT_EQ(header->compression, 0);
  EXPECT_EQ(header->filter, 0);
  EXPECT_EQ(header->interlace, 1);
  EXPECT_TRUE(header->crc_matches);

  // A wrong CRC is told, and the fields stand: each reader decides what it takes.
  Bytes damaged = png;
  damaged[kPngHeaderBytes - 1] ^= 1;
  ASSERT_TRUE(ReadPngHeader(damaged));
  EXPECT_FALSE(ReadPngHeader(damaged)->crc_matches);
  EXPECT_EQ(ReadPngHeader(damaged)->width, 3u);

  // The signature, the chunk's length or its type wrong, or the chunk cut short: none.
  for (const size_t at : {0u, 7u, 11u, 12u, 15u}) {
    Bytes wrong = png;
    wrong[at] ^= 0x20;
    EXPECT_FALSE(ReadPngHeader(wrong)) << at;
  }
  EXPECT_FALSE(ReadPngHeader(std::span(png).first(kPngHeaderBytes - 1)));
  EXPECT_FALSE(PngSignatureAt(std::span(png).first(7)));
}

}  // namespace
