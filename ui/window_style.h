#pragma once
// What WindowCreate's flag bits ask of a window, worked out without a window system:
// the style bits left for the window system and the layer's own choices.
#include <cstdint>

struct WindowStyle {
  // Window-style bits for the window system (kWindowCaption, kWindowStartMaximised ...),
  // without the layer's bits, kWindowHidden and kWindowNoActivate.
  uint32_t style = 0;
  bool hidden = false;
  bool tool = false;
  bool activate = true;
  bool centre_on_screen = false;
  bool centre_on_owner = false;
  bool container = true;  // new controls go into the window
};

// A window with no style bits of its own gets a caption; a tool window always has one
// and can be neither minimised nor maximised.
WindowStyle WindowStyleOf(uint32_t flags);

// Where WindowCreate puts a window once it is made.
enum class WindowPlace {
  kCentreOnScreen,  // on the screen it was made on
  kCentreOnOwner,   // its top-left corner kept off the screen's top and left edges
  kAsked,           // at x, y, kept on the screen
  kMade,            // where the window system made it
};
struct WindowPlacement {
  // The window system picks where the window is made (else it is made at x, y).
  bool system_position = false;
  WindowPlace place = WindowPlace::kMade;
};

// x of kDefaultPosition, or y of it without a centring bit, leaves the window where the
// window system makes it; a centred window needs no y of its own. A window to centre on
// an owner it has not stands where asked.
WindowPlacement WindowPlacementOf(const WindowStyle& style, int64_t x, int64_t y, bool has_owner);
