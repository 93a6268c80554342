#include "app/scene/scene_format.h"

#include <QCryptographicHash>
#include <QByteArray>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Sha256(std::string_view bytes) {
  return QCryptographicHash::hash(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                  QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

TEST(SceneFormat, BlocksAreTheExactBytes) {
  EXPECT_EQ(kSceneHeader.size(), 2576u);
  EXPECT_EQ(std::count(kSceneHeader.begin(), kSceneHeader.end(), '\n'), 74);
  EXPECT_EQ(Sha256(kSceneHeader), "e7d3e15e95531595ac5d87bcda752d26360fbddf5c2a64a7e71f862835a92c24");
  EXPECT_TRUE(kSceneHeader.ends_with("#end\r\n\r\n"));

  EXPECT_EQ(kSceneFooter.size(), 2464u);
  EXPECT_EQ(std::count(kSceneFooter.begin(), kSceneFooter.end(), '\n'), 88);
  EXPECT_EQ(Sha256(kSceneFooter), "b4949134d97a25c1d148443e5e5c88ded5495bd14d096cb7c1095ce6f1bea657");
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
