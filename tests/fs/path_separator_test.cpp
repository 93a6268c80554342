// The final separator a folder's path is given.
#include "fs/path_separator.h"

#include <gtest/gtest.h>

namespace {

TEST(PathAsFolder, KeepsTheSeparatorThePathUsesAndMakesNoRootOfNothing) {
  EXPECT_EQ(PathAsFolder(u"/pics/trip"), u"/pics/trip/");
  EXPECT_EQ(PathAsFolder(u"/pics/trip/"), u"/pics/trip/");
  EXPECT_EQ(PathAsFolder(u"trip"), std::u16string(u"trip") + kFolderSeparator);
  EXPECT_EQ(PathAsFolder(u""), u"");
}

}  // namespace
