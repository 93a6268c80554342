// Where anchored controls stand as their window grows and shrinks.
#include <gtest/gtest.h>

#include "ui/anchored_place.h"

namespace {

ControlRecord Anchored(const ControlAnchor& anchor) {
  ControlRecord record;
  record.design[0] = 10;   // left
  record.design[1] = 20;   // top
  record.design[2] = 110;  // right
  record.design[3] = 220;  // bottom
  record.anchored = true;
  record.anchor = anchor;
  return record;
}

void ExpectPlace(const ControlPlace& place, int x, int y, int width, int height) {
  EXPECT_EQ(place.x, x);
  EXPECT_EQ(place.y, y);
  EXPECT_EQ(place.width, width);
  EXPECT_EQ(place.height, height);
}

TEST(AnchoredPlace, EdgesMoveByTheirSharesOfTheGrowth) {
  const ControlRecord fixed = Anchored({});
  ExpectPlace(AnchoredPlace(fixed, 300, 200), 10, 20, 100, 200);
  const ControlRecord stretched = Anchored({0, 0, 1, 0.5});
  ExpectPlace(AnchoredPlace(stretched, 0, 0), 10, 20, 100, 200);
  ExpectPlace(AnchoredPlace(stretched, 100, 50), 10, 20, 200, 225);
  ExpectPlace(AnchoredPlace(stretched, 0, 3), 10, 20, 100, 202);  // half of 3 rounds to 2
  const ControlRecord moved = Anchored({1, 1, 1, 1});
  ExpectPlace(AnchoredPlace(moved, -5, 40), 5, 60, 100, 200);
}

TEST(AnchoredPlace, AControlSqueezedPastNothingKeepsSizeZero) {
  const ControlRecord stretched = Anchored({0, 0, 1, 1});
  ExpectPlace(AnchoredPlace(stretched, -150, -500), 10, 20, 0, 0);
}

}  // namespace
