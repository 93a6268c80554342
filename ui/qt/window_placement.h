#pragma once
// Keeps a top-level window on the screen.
class QWidget;

// A window whose frame lies wholly inside a screen's available area stays where it
// is. Any other moves onto the available area of the screen that holds the pointer
// (the primary screen when none does), and shrinks only when it is larger than that
// area. A sizable window then cannot be made smaller than its client size at this
// moment, or than the area holds when that is less.
void WindowKeepOnScreen(QWidget& window, bool sizable);
