// Which names the scan measures and which it passes over with a hint.
#include "app/scene/scanned_names.h"

#include <gtest/gtest.h>

namespace {

TEST(ScannedNames, OnlyTheFourExtensionsInLowerCaseAreScanned) {
  for (const char16_t* name : {u"a.png", u"b.jpg", u"c.gif", u"d.hdr", u"png", u"ends-in.xpng"})
    EXPECT_TRUE(IsImageName(name)) << std::u16string(name).size();
  for (const char16_t* name : {u"a.PNG", u"b.jpeg", u"c.Gif", u"d.bmp", u"pn", u""})
    EXPECT_FALSE(IsImageName(name)) << std::u16string(name).size();
}

TEST(ScannedNames, ImageNamesInAnotherCaseOrInJpegLookLikeImages) {
  for (const char16_t* name : {u"a.PNG", u"b.JPEG", u"c.jpeg", u"d.Hdr", u"e.png"})
    EXPECT_TRUE(LooksLikeImageName(name));
  for (const char16_t* name : {u"png", u"a.txt", u"a.png.txt", u"a.jpe"}) EXPECT_FALSE(LooksLikeImageName(name));
  EXPECT_EQ(ScannedExtensionsText(), u"png, jpg, gif or hdr");
}

}  // namespace
