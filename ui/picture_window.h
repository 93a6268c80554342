#pragma once
// Picture windows: a numbered top-level window that shows one decoded picture, drawn
// whole in its client area at its own size where that fits, else shrunk keeping its
// aspect (again whenever the window's size changes, never past the picture's own size),
// centred on a neutral grey. Without a picture it shows a line of text in its middle
// instead (a file that could not be loaded, say).
//
// It is a numbered window like any other: its close box queues CloseEvent with its number
// and it stays until WindowClose; WindowTitle and WindowSetTitle work on it; an owner
// keeps it above itself and closes it with itself. It holds no controls, and the window
// new controls go into stays the one it was.
#include <cstdint>
#include <optional>
#include <string>

#include "image/bitmap.h"

// Opens window `number` (closing what the number held) with the title, showing the
// picture, or `text` where there is none. Its client area is sized for the picture:
// shrunk where need be to `screen_share` (above 0, at most 1) of the width and of the
// height of the screen's work area (the owner's screen, else the primary one), and no
// smaller than a modest size a text gets (a small picture has grey around it). It stands
// beside its owner where the screen has room for it there, else in the screen's middle.
// The flags are WindowCreate's (kWindowCaption, kWindowSystemMenu, kWindowSizingBorder,
// kWindowHidden ...); with kWindowNoActivate the window never takes the keyboard, not
// even when clicked, so that keys stay with the window the user works in. Returns what
// WindowCreate returns (0 on failure).
int64_t PictureWindowOpen(int64_t number, const std::u16string& title, std::optional<Bitmap> picture,
                          const std::u16string& text, double screen_share, uint32_t flags,
                          std::optional<int64_t> owner = std::nullopt);

// Shows another picture (or text) under another title in the open picture window,
// sized anew for it as PictureWindowOpen sizes it, its centre kept where it was. False
// for a number that holds no picture window.
bool PictureWindowShow(int64_t number, const std::u16string& title, std::optional<Bitmap> picture,
                       const std::u16string& text);

// The text the picture window shows instead of a picture; empty while it shows one, and
// for a number that holds no picture window.
std::u16string PictureWindowText(int64_t number);
