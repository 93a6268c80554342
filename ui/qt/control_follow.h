#pragma once
// Anchored controls placed for their window's size.
class QSize;
class QWidget;

// Places the window's anchored controls for its size; `design` is its designed size.
void ControlsFollowWindow(const QWidget* window, const QSize& design);
