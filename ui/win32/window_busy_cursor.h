#pragma once
// The busy cursor of WindowBusy.

// While a WindowBusy holds the input, sets the busy cursor and returns true: the window
// and control procedures then answer WM_SETCURSOR themselves.
bool WindowBusyCursorShown();
