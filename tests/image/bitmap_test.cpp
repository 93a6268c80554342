#include "image/bitmap.h"

#include <gtest/gtest.h>

#include "image/pixel_limit.h"

namespace {

TEST(Bitmap, RowsArePaddedToFourBytesAtTwentyFourBits) {
  for (const auto& [width, pitch] : {std::pair{1, 4}, {4, 12}, {5, 16}, {7, 24}}) {
    const auto bitmap = Bitmap::Create(width, 3, 24, 0);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Pitch(), pitch) << width << " pixels";
    EXPECT_EQ(bitmap->SizeBytes(), 3u * static_cast<size_t>(pitch));
  }
  EXPECT_EQ(Bitmap::Create(5, 3, 32, 0)->Pitch(), 20);
}

TEST(PixelLimit, BuffersUpToTheLimitAndNoFurther) {
  SetMemoryBytesForTesting(2000);  // a limit of 1000 bytes
  EXPECT_EQ(PixelBufferBytes(10, 100, 0), 1000u);
  EXPECT_EQ(PixelBufferBytes(10, 101, 0), std::nullopt);
  EXPECT_EQ(PixelBufferBytes(10, 50, 500), 500u);
  EXPECT_EQ(PixelBufferBytes(10, 50, 501), std::nullopt);
  EXPECT_EQ(PixelBufferBytes(1, 1, 1001), std::nullopt);
  EXPECT_EQ(Bitmap::Bytes(250, 1, 32, 0), 1000u);
  EXPECT_EQ(Bitmap::Bytes(251, 1, 32, 0), std::nullopt);
  SetMemoryBytesForTesting(0);
}

}  // namespace
