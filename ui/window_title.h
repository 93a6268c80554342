#pragma once
// The title bar's text of a numbered window.
#include <cstdint>
#include <string>

// The window's title; empty for a number without a window.
std::u16string WindowTitle(int64_t number);
// Sets the window's title; does nothing for a number without a window.
void WindowSetTitle(int64_t number, const std::u16string& title);
