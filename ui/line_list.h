#pragma once
// Line lists: one text per line, in the order added.
#include <cstdint>
#include <string>

// Flag bits of LineListCreate (list box styles).
inline constexpr uint32_t kLineListMultipleSelection = 0x8;    // each click toggles a line
inline constexpr uint32_t kLineListExtendedSelection = 0x800;  // Shift and Ctrl extend

// A list at x, y of the current window's client area (1/96 inch). Returns a non-zero
// handle for a number, the id for kAutoNumber, 0 without a window to put it in.
//
// Through the generic operations: ControlAddItem adds a line (-1: at the end);
// ControlGetState is the selected line or -1; ControlGetText its text. Events
// (details): selection change or click 0, right click 1, double-click 2, drag start
// 14002.
int64_t LineListCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, uint32_t flags);
