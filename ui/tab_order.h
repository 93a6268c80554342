#pragma once
// Tab and Shift+Tab through a window's controls, the same on every window system, over
// its own handles and its own test of one control lying inside another.
#include <cstddef>
#include <vector>

// Adds a control that takes the focus by Tab to the candidates, found in the window's
// order (the order they were created in), unless it is an inner part of a candidate.
template <typename Control, typename Inside>
void TabCandidateAdd(std::vector<Control>& candidates, Control control, Inside inside) {
  for (const Control& candidate : candidates)
    if (inside(candidate, control)) return;
  candidates.push_back(control);
}

// The candidate that takes the focus: forward, the one after the candidate holding the
// focus (itself or inside it), wrapping from the last to the first, and the first when
// none holds it; backward the other way. A default Control (null) for no candidates.
template <typename Control, typename Inside>
Control TabTarget(const std::vector<Control>& candidates, Control focused, bool forward, Inside inside) {
  if (candidates.empty()) return Control{};
  const auto count = static_cast<ptrdiff_t>(candidates.size());
  ptrdiff_t at = -1;
  for (ptrdiff_t i = 0; i < count; ++i) {
    const Control& candidate = candidates[static_cast<size_t>(i)];
    if (focused && (candidate == focused || inside(candidate, focused))) at = i;
  }
  ptrdiff_t target;
  if (forward)
    target = at < 0 || at + 1 == count ? 0 : at + 1;
  else
    target = at <= 0 ? count - 1 : at - 1;
  return candidates[static_cast<size_t>(target)];
}
