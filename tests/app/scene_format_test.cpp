#include "app/scene/scene_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

// 64-bit FNV-1a: any change of the bytes, however small, changes it.
uint64_t Fingerprint(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
  return hash;
}

TEST(SceneFormat, BlocksAreTheExactBytes) {
  EXPECT_EQ(kSceneHeader.size(), 2576u);
  EXPECT_EQ(std::count(kSceneHeader.begin(), kSceneHeader.end(), '\n'), 74);
  EXPECT_EQ(Fingerprint(kSceneHeader), 0xa2663eec29f4b7d5u);
  EXPECT_TRUE(kSceneHeader.ends_with("#end\r\n\r\n"));

  EXPECT_EQ(kSceneFooter.size(), 2464u);
  EXPECT_EQ(std::count(kSceneFooter.begin(), kSceneFooter.end(), '\n'), 88);
  EXPECT_EQ(Fingerprint(kSceneFooter), 0x4327a64ea9b4cf19u);
  EXPECT_TRUE(kSceneFooter.starts_with("\r\n//  union"));
  EXPECT_TRUE(kSceneFooter.ends_with("camera{cam} "));

  // Every line end is CR LF and the blocks are 7-bit ASCII without tabs.
  for (std::string_view block : {kSceneHeader, kSceneFooter, kSceneHeader37, kSceneFooter37}) {
    for (size_t i = 0; i < block.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(block[i]);
      ASSERT_LT(c, 128u);
      ASSERT_NE(c, '\t');
      if (c == '\n') {
        ASSERT_TRUE(i > 0 && block[i - 1] == '\r');
      }
      if (c == '\r') {
        ASSERT_TRUE(i + 1 < block.size() && block[i + 1] == '\n');
      }
    }
  }
}

TEST(SceneFormat, TheSceneFor37HasTheStandardBlocksShape) {
  // The add_image lines sit between the blocks as in the standard scene: two empty lines
  // after the header's last macro, one before the footer, no line end after the last line.
  EXPECT_TRUE(kSceneHeader37.ends_with("#end\r\n\r\n"));
  EXPECT_TRUE(kSceneFooter37.starts_with("\r\n"));
  EXPECT_FALSE(kSceneFooter37.starts_with("\r\n\r\n"));
  EXPECT_TRUE(kSceneFooter37.ends_with("angle .2\r\n}"));
  // Same macro call as the standard scene; no mixed array, which POV-Ray 3.7.0 refuses.
  EXPECT_NE(kSceneHeader37.find("#macro add_image ( _name, _x, _y )"), std::string_view::npos);
  EXPECT_EQ(kSceneHeader37.find("mixed"), std::string_view::npos);

  EXPECT_EQ(SceneBlocksFor(PovVersion::Pov38).header, kSceneHeader);
  EXPECT_EQ(SceneBlocksFor(PovVersion::Pov38).footer, kSceneFooter);
  EXPECT_EQ(SceneBlocksFor(PovVersion::Pov37).header, kSceneHeader37);
  EXPECT_EQ(SceneBlocksFor(PovVersion::Pov37).footer, kSceneFooter37);
}

TEST(SceneFormat, AddImageLineHasTheFixedShape) {
  EXPECT_EQ(AddImageLine(u"holiday/beach.png", 640, 480), u"add_image ( \"holiday/beach.png\", 640, 480 ) ");
  // Quotes, backslashes and line ends are escaped so the string parses; nothing else is.
  EXPECT_EQ(AddImageLine(u"a\\b.gif", 1, 1), u"add_image ( \"a\\\\b.gif\", 1, 1 ) ");
  EXPECT_EQ(AddImageLine(u"q\"\r\n\"/\\\\\t'\u00e9.png", 1, 1),
            u"add_image ( \"q\\\"\\r\\n\\\"/\\\\\\\\\t'\u00e9.png\", 1, 1 ) ");
  EXPECT_EQ(AddImageLine(u"x.png", -3, 0), u"add_image ( \"x.png\", -3, 0 ) ");
}

}  // namespace
