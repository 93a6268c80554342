// Tab and Shift+Tab through a window's controls, over numbers for controls.
#include <gtest/gtest.h>

#include <vector>

#include "ui/tab_order.h"

namespace {

// Controls numbered so that 12 lies inside 1 (a list's inner part, say).
bool Inside(int outer, int inner) { return inner / 10 == outer; }

TEST(TabOrder, InnerPartsAreNoCandidatesAndTheFocusGoesRound) {
  std::vector<int> candidates;
  for (const int control : {1, 12, 2, 3, 31}) TabCandidateAdd(candidates, control, Inside);
  EXPECT_EQ(candidates, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(TabTarget(candidates, 1, true, Inside), 2);
  EXPECT_EQ(TabTarget(candidates, 3, true, Inside), 1);  // round from the last
  EXPECT_EQ(TabTarget(candidates, 1, false, Inside), 3);
  EXPECT_EQ(TabTarget(candidates, 3, false, Inside), 2);
  // The focus inside a candidate is that candidate's.
  EXPECT_EQ(TabTarget(candidates, 12, true, Inside), 2);
  EXPECT_EQ(TabTarget(candidates, 31, false, Inside), 2);
  // Held by none (0 is no control): the first forward, the last backward.
  for (const int focused : {0, 7}) {
    EXPECT_EQ(TabTarget(candidates, focused, true, Inside), 1) << focused;
    EXPECT_EQ(TabTarget(candidates, focused, false, Inside), 3) << focused;
  }
  EXPECT_EQ(TabTarget(std::vector<int>{}, 1, true, Inside), 0);
  EXPECT_EQ(TabTarget(std::vector<int>{4}, 4, true, Inside), 4);
  EXPECT_EQ(TabTarget(std::vector<int>{4}, 4, false, Inside), 4);
}

}  // namespace
