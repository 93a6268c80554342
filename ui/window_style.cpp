#include "ui/window_style.h"

#include "ui/top_level_windows.h"

namespace {

constexpr uint32_t kLayerBits = kWindowCentreOnScreen | kWindowCentreOnOwner | kWindowTool | kWindowNotContainer;
constexpr uint32_t kPlainBits = kLayerBits & ~kWindowTool;  // bits that leave a plain window

}  // namespace

WindowStyle WindowStyleOf(uint32_t flags) {
  WindowStyle w;
  uint32_t style = flags;
  if ((flags & ~(kWindowHidden | kPlainBits)) == 0) style |= kWindowCaption;
  w.hidden = (style & kWindowHidden) != 0;
  w.tool = (style & kWindowTool) != 0;
  if (w.tool) {
    style &= ~(kWindowStartMinimised | kWindowStartMaximised | kWindowMinimizeBox | kWindowMaximizeBox);
    style |= kWindowCaption;
  }
  w.activate = (style & kWindowNoActivate) == 0;
  w.centre_on_screen = (flags & kWindowCentreOnScreen) != 0;
  w.centre_on_owner = (flags & kWindowCentreOnOwner) != 0;
  w.container = (flags & kWindowNotContainer) == 0;
  w.style = style & ~(kLayerBits | kWindowHidden | kWindowNoActivate);
  return w;
}

WindowPlacement WindowPlacementOf(const WindowStyle& style, int64_t x, int64_t y, bool has_owner) {
  const bool centred = style.centre_on_screen || style.centre_on_owner;
  WindowPlacement placement;
  placement.system_position = x == kDefaultPosition || (y == kDefaultPosition && !centred);
  if (style.centre_on_screen)
    placement.place = WindowPlace::kCentreOnScreen;
  else if (style.centre_on_owner && has_owner)
    placement.place = WindowPlace::kCentreOnOwner;
  else if (!placement.system_position)
    placement.place = WindowPlace::kAsked;
  return placement;
}
