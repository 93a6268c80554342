#pragma once
// Controls that follow their window's size.
#include <cstdint>

// Each value is the share of the window's growth beyond its designed client size (the
// size WindowCreate was asked for) by which that edge of the control moves: 0 keeps the
// edge where it is, 1 moves it with the window's right or bottom edge. At the designed
// size the control stands where it was made; a smaller window moves the edges back by
// the same shares.
struct ControlAnchor {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// Anchors the control as it stands now, and places it for its window's present size.
void ControlAnchorSet(int64_t number, const ControlAnchor& anchor);
