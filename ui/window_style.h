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
