#pragma once
// Input held back while a command runs, given back afterwards in the order it came,
// the same on every window system.
#include <utility>
#include <vector>

// Each piece of input is its target (the window or object it was meant for) and the
// window system's own record of it. Of a run of pointer moves to one target only the
// last is kept: the pointer is where that one says, and a long command must not gather
// thousands of them.
template <typename Target, typename Input>
class HeldInput {
 public:
  void Keep(Target target, Input input, bool pointer_move) {
    if (pointer_move && !held_.empty() && held_.back().pointer_move && held_.back().target == target) {
      held_.back().input = std::move(input);
      return;
    }
    held_.push_back({std::move(target), std::move(input), pointer_move});
  }

  // Calls give(target, input) for each piece, oldest first, and holds nothing more.
  template <typename Give>
  void GiveBack(Give give) {
    std::vector<Held> held = std::exchange(held_, {});
    for (Held& item : held) give(item.target, item.input);
  }

 private:
  struct Held {
    Target target;
    Input input;
    bool pointer_move;
  };
  std::vector<Held> held_;
};
