// Input held while the program is busy, given back afterwards: no display, no window
// system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/held_input.h"

namespace {

struct Given {
  int target;
  std::string input;
  bool operator==(const Given&) const = default;
};

std::vector<Given> GivenBack(HeldInput<int, std::string>& held) {
  std::vector<Given> given;
  held.GiveBack([&](int target, const std::string& input) { given.push_back({target, input}); });
  return given;
}

TEST(HeldInput, GivenBackInOrderWithOnlyTheLastOfARunOfMovesToOneTarget) {
  HeldInput<int, std::string> held;
  held.Keep(1, "move a", true);
  held.Keep(1, "move b", true);
  held.Keep(2, "move c", true);  // another target: a run of its own
  held.Keep(2, "press", false);
  held.Keep(2, "move d", true);  // after a press: a new run
  held.Keep(2, "move e", true);
  held.Keep(1, "key", false);
  held.Keep(1, "key", false);  // only moves are merged
  EXPECT_EQ(GivenBack(held),
            (std::vector<Given>{{1, "move b"}, {2, "move c"}, {2, "press"}, {2, "move e"}, {1, "key"}, {1, "key"}}));
  EXPECT_TRUE(GivenBack(held).empty());  // given once
  held.Keep(3, "move f", true);
  EXPECT_EQ(GivenBack(held), (std::vector<Given>{{3, "move f"}}));  // no run reaches back past a giving
}

}  // namespace
